// The program's own file name, in the Z:\ form.
#include <unistd.h>

#include <string>

#include "dos_path.h"
#include "module_exports.h"
#include "winbase.h"

namespace {

HMODULE const programModule = reinterpret_cast<HMODULE>(uintptr_t(0x00400000));

std::string ExecutableHostPath() {
    std::string path(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return {};
        if (size_t(n) < path.size()) {
            path.resize(size_t(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (!name) return programModule;
    if (HMODULE system = platform::SystemModuleHandle(name)) return system;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

// Win32: a name that does not fit is cut to nSize - 1 characters plus NUL, the
// result is nSize and the last error ERROR_INSUFFICIENT_BUFFER.
extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    if (module && module != programModule) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::string dos = platform::HostToDosPath(ExecutableHostPath());
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (dos.size() >= size) {
        dos.copy(buffer, size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    dos.copy(buffer, dos.size());
    buffer[dos.size()] = '\0';
    SetLastError(ERROR_SUCCESS);
    return DWORD(dos.size());
}
