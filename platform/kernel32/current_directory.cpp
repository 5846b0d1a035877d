#include <unistd.h>

#include <cerrno>
#include <string>

#include "dos_path.h"
#include "winbase.h"

extern "C" DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    std::string host(256, '\0');
    while (!getcwd(host.data(), host.size())) {
        if (errno != ERANGE) return 0;
        host.resize(host.size() * 2);
    }
    host.resize(host.find('\0'));
    std::string dos = platform::HostToDosPath(host);
    if (host == "/") dos = "Z:\\";
    if (dos.size() + 1 > size || !buffer) return DWORD(dos.size() + 1);
    dos.copy(buffer, dos.size());
    buffer[dos.size()] = '\0';
    return DWORD(dos.size());
}

extern "C" BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
    auto host = platform::DosToHostPath(path);
    if (!host || host->empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (chdir(host->c_str()) != 0) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}
