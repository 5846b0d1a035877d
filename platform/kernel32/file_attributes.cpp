#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "dos_path.h"
#include "file_attributes.h"
#include "winbase.h"

namespace platform {
namespace {

const char kAttributeName[] = "user.dos.attributes";
constexpr DWORD kStoredBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// Files that never had their attributes set read as archive, as new files do on Windows.
DWORD StoredBits(const std::string &hostPath, bool isDirectory) {
    char text[16] = {};
    ssize_t n = getxattr(hostPath.c_str(), kAttributeName, text, sizeof text - 1);
    if (n <= 0) return isDirectory ? 0 : FILE_ATTRIBUTE_ARCHIVE;
    return DWORD(std::strtoul(text, nullptr, 16)) & kStoredBits;
}

} // namespace

DWORD ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    default: return ERROR_ACCESS_DENIED;
    }
}

DWORD DosAttributesOf(const std::string &hostPath, const struct stat &info) {
    bool isDirectory = S_ISDIR(info.st_mode);
    DWORD attributes = StoredBits(hostPath, isDirectory);
    if (isDirectory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(info.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

} // namespace platform

namespace {

// The host path of an existing file, with its status; sets the last error otherwise.
std::optional<std::string> StatDosPath(LPCSTR path, struct stat &info) {
    auto host = platform::DosToHostPath(path);
    if (!host || host->empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    if (stat(host->c_str(), &info) != 0) {
        SetLastError(platform::ErrorFromErrno(errno));
        return std::nullopt;
    }
    return host;
}

} // namespace

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    struct stat info;
    auto host = StatDosPath(path, info);
    return host ? platform::DosAttributesOf(*host, info) : INVALID_FILE_ATTRIBUTES;
}

namespace {

// Hidden, system and archive; a file system without extended attributes keeps none.
bool StoreBits(const std::string &host, DWORD attributes) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", unsigned(attributes & platform::kStoredBits));
    if (setxattr(host.c_str(), platform::kAttributeName, text, std::strlen(text), 0) == 0) return true;
    if (errno == ENOTSUP) return true;
    SetLastError(platform::ErrorFromErrno(errno));
    return false;
}

bool ApplyReadOnly(const std::string &host, mode_t mode, DWORD attributes) {
    mode &= 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
    if (chmod(host.c_str(), mode) == 0) return true;
    SetLastError(platform::ErrorFromErrno(errno));
    return false;
}

} // namespace

// A read-only file refuses its extended attributes to anyone but root, so the write
// permission comes back before they are stored and goes only after.
extern "C" BOOL WINAPI SetFileAttributesA(LPCSTR path, DWORD attributes) {
    struct stat info;
    auto host = StatDosPath(path, info);
    if (!host) return FALSE;
    if (!(attributes & FILE_ATTRIBUTE_READONLY))
        return ApplyReadOnly(*host, info.st_mode, attributes) && StoreBits(*host, attributes);
    return StoreBits(*host, attributes) && ApplyReadOnly(*host, info.st_mode, attributes);
}
