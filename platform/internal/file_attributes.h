// DOS attributes of host files: directory and read-only come from the file system;
// hidden, system and archive are kept in an extended attribute of the file.
#pragma once

#include <sys/stat.h>

#include <string>

#include "windef.h"

namespace platform {

DWORD DosAttributesOf(const std::string &hostPath, const struct stat &info);
DWORD ErrorFromErrno(int error);

} // namespace platform
