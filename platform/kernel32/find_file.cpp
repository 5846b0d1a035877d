// File search with DOS wildcards. The directory is read at FindFirstFileA and the
// entries are handed out in name order, as NTFS does.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "dos_path.h"
#include "file_attributes.h"
#include "host_text.h"
#include "kernel_object.h"
#include "winbase.h"

namespace {

struct FileSearch : platform::KernelObject {
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
};

char Fold(char c) { return char(std::toupper(static_cast<unsigned char>(c))); }

// '*' matches any run, '?' one character; case is ignored; "*.*" is "*".
bool MatchesMask(const char *name, const char *mask) {
    if (*mask == '\0') return *name == '\0';
    if (*mask == '*') {
        for (const char *n = name;; ++n) {
            if (MatchesMask(n, mask + 1)) return true;
            if (*n == '\0') return false;
        }
    }
    if (*name == '\0') return false;
    if (*mask == '?' || Fold(*mask) == Fold(*name)) return MatchesMask(name + 1, mask + 1);
    return false;
}

FILETIME ToFileTime(const struct timespec &t) {
    uint64_t ticks = (uint64_t(t.tv_sec) + 11644473600ULL) * 10000000ULL + uint64_t(t.tv_nsec) / 100;
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

bool FillEntry(const std::string &dir, const std::string &hostName, WIN32_FIND_DATAA &entry) {
    std::string full = dir == "/" ? "/" + hostName : dir + "/" + hostName;
    struct stat info;
    if (stat(full.c_str(), &info) != 0 && lstat(full.c_str(), &info) != 0) return false;
    std::string name = platform::Utf8ToGbk(hostName);
    if (name.size() >= MAX_PATH) return false;
    entry = WIN32_FIND_DATAA{};
    entry.dwFileAttributes = platform::DosAttributesOf(full, info);
    entry.ftCreationTime = ToFileTime(info.st_ctim);
    entry.ftLastAccessTime = ToFileTime(info.st_atim);
    entry.ftLastWriteTime = ToFileTime(info.st_mtim);
    uint64_t size = S_ISDIR(info.st_mode) ? 0 : uint64_t(info.st_size);
    entry.nFileSizeHigh = DWORD(size >> 32);
    entry.nFileSizeLow = DWORD(size);
    std::memcpy(entry.cFileName, name.c_str(), name.size() + 1);
    return true;
}

std::vector<WIN32_FIND_DATAA> ListMatches(const std::string &dir, const std::string &gbkMask) {
    std::vector<WIN32_FIND_DATAA> found;
    DIR *d = opendir(dir.c_str());
    if (!d) return found;
    std::string mask = gbkMask == "*.*" ? "*" : gbkMask;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (dir == "/" && (name == "." || name == "..")) continue;
        if (!MatchesMask(platform::Utf8ToGbk(name).c_str(), mask.c_str())) continue;
        WIN32_FIND_DATAA entry;
        if (FillEntry(dir, name, entry)) found.push_back(entry);
    }
    closedir(d);
    std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAA &a, const WIN32_FIND_DATAA &b) {
        return std::strcmp(a.cFileName, b.cFileName) < 0;
    });
    return found;
}

} // namespace

extern "C" HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    auto host = platform::DosToHostPath(pattern);
    if (!host || host->empty() || !data) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    size_t slash = host->rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : host->substr(0, slash));
    std::string mask = platform::Utf8ToGbk(slash == std::string::npos ? *host : host->substr(slash + 1));
    struct stat info;
    if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto *search = new FileSearch;
    search->entries = ListMatches(dir, mask);
    if (search->entries.empty()) {
        delete search;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = search->entries[search->next++];
    return platform::RegisterKernelObject(search);
}

extern "C" BOOL WINAPI FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA data) {
    auto *search = platform::KernelObjectAs<FileSearch>(handle);
    if (!search || !data) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = search->entries[search->next++];
    return TRUE;
}

extern "C" BOOL WINAPI FindClose(HANDLE handle) {
    if (!platform::KernelObjectAs<FileSearch>(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    platform::CloseKernelObject(handle);
    return TRUE;
}
