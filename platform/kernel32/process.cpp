#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host_text.h"
#include "winbase.h"

// Present only in a build with LeakSanitizer, whose own check runs at exit(), never
// at _exit(): the program's leaks are looked for here instead.
extern "C" void __lsan_do_leak_check() __attribute__((weak));

// Ends the process at once: no static destructors, which may belong to other threads.
extern "C" void WINAPI ExitProcess(UINT code) {
    std::fflush(nullptr);
    if (__lsan_do_leak_check) __lsan_do_leak_check();
    _exit(int(code));
}

extern "C" DWORD WINAPI GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    const char *value = name ? std::getenv(platform::GbkToUtf8(name).c_str()) : nullptr;
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    std::string text = platform::Utf8ToGbk(value);
    if (!buffer || text.size() + 1 > size) return DWORD(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}
