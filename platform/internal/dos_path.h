// DOS paths at the host boundary: drive Z: is the host root, "\" and "/" both separate.
#pragma once

#include <optional>
#include <string>

namespace platform {

// GBK DOS path -> UTF-8 host path; nothing for a drive other than Z:.
std::optional<std::string> DosToHostPath(const char *dosPath);
// UTF-8 host path -> GBK DOS path ("/a/b" -> "Z:\a\b").
std::string HostToDosPath(const std::string &hostPath);

} // namespace platform
