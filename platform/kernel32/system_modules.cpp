// The built-in system modules and their export tables. Every platform function that a
// declared call may reach is listed with its ordinal and argument count.
#include <strings.h>

#include <cstring>
#include <iterator>

#include "module_exports.h"
#include "shlwapi.h"
#include "windows.h"
#include "wininet.h"

namespace platform {
namespace {

#define EXPORT(fn, ordinal, args) {#fn, ordinal, reinterpret_cast<void *>(&fn), args}

const ModuleExport kKernel32[] = {
    EXPORT(CloseHandle, 1, 1),
    EXPORT(CreateThread, 2, 6),
    EXPORT(DeleteCriticalSection, 3, 1),
    EXPORT(EnterCriticalSection, 4, 1),
    EXPORT(ExitProcess, 5, 1),
    EXPORT(ExitThread, 6, 1),
    EXPORT(FindClose, 7, 1),
    EXPORT(FindFirstFileA, 8, 2),
    EXPORT(FindNextFileA, 9, 2),
    EXPORT(FreeLibrary, 10, 1),
    EXPORT(GetCurrentDirectoryA, 11, 2),
    EXPORT(GetCurrentThreadId, 12, 0),
    EXPORT(GetFileAttributesA, 13, 1),
    EXPORT(GetLastError, 14, 0),
    EXPORT(GetLocalTime, 15, 1),
    EXPORT(GetModuleFileNameA, 16, 3),
    EXPORT(GetModuleHandleA, 17, 1),
    EXPORT(GetProcAddress, 18, 2),
    EXPORT(GetProcessHeap, 19, 0),
    EXPORT(GetTickCount, 20, 0),
    EXPORT(HeapAlloc, 21, 3),
    EXPORT(HeapFree, 22, 3),
    EXPORT(HeapReAlloc, 23, 4),
    EXPORT(HeapSize, 24, 3),
    EXPORT(InitializeCriticalSection, 25, 1),
    EXPORT(LeaveCriticalSection, 26, 1),
    EXPORT(LoadLibraryA, 27, 1),
    EXPORT(MultiByteToWideChar, 28, 6),
    EXPORT(SetCurrentDirectoryA, 29, 1),
    EXPORT(SetFileAttributesA, 30, 2),
    EXPORT(SetLastError, 31, 1),
    EXPORT(Sleep, 32, 1),
    EXPORT(WaitForSingleObject, 33, 2),
    EXPORT(WideCharToMultiByte, 34, 8),
    EXPORT(lstrlenA, 35, 1),
    EXPORT(GetEnvironmentVariableA, 36, 3),
    EXPORT(GetExitCodeThread, 37, 2),
    EXPORT(CreateFileA, 38, 7),
    EXPORT(WriteFile, 39, 5),
    EXPORT(ReadFile, 40, 5),
};

const ModuleExport kUser32[] = {
    EXPORT(CallWindowProcA, 1, 5),
    EXPORT(CreateWindowExA, 2, 12),
    EXPORT(DefWindowProcA, 3, 4),
    EXPORT(DestroyWindow, 4, 1),
    EXPORT(DispatchMessageA, 5, 1),
    EXPORT(GetMessageA, 6, 4),
    EXPORT(IsWindow, 7, 1),
    EXPORT(MessageBoxA, 8, 4),
    EXPORT(PeekMessageA, 9, 5),
    EXPORT(PostMessageA, 10, 4),
    EXPORT(PostQuitMessage, 11, 1),
    EXPORT(RegisterClassA, 12, 1),
    EXPORT(SendMessageA, 13, 4),
    EXPORT(TranslateMessage, 14, 1),
};

const ModuleExport kWininet[] = {
    EXPORT(HttpOpenRequestA, 1, 8),
    EXPORT(HttpQueryInfoA, 2, 5),
    EXPORT(HttpSendRequestA, 3, 5),
    EXPORT(InternetCloseHandle, 4, 1),
    EXPORT(InternetConnectA, 5, 8),
    EXPORT(InternetOpenA, 6, 5),
    EXPORT(InternetQueryOptionA, 7, 4),
    EXPORT(InternetReadFile, 8, 4),
    EXPORT(InternetSetOptionA, 9, 4),
};

const ModuleExport kShlwapi[] = {
    EXPORT(PathRemoveBlanksA, 1, 1),
};

#undef EXPORT

const SystemModule kModules[] = {
    {"kernel32.dll", kKernel32, std::size(kKernel32)},
    {"user32.dll", kUser32, std::size(kUser32)},
    {"gdi32.dll", nullptr, 0},
    {"advapi32.dll", nullptr, 0},
    {"mpr.dll", nullptr, 0},
    {"shell32.dll", nullptr, 0},
    {"ole32.dll", kOle32Exports, kOle32ExportCount},
    {"oleaut32.dll", kOleAut32Exports, kOleAut32ExportCount},
    {"wininet.dll", kWininet, std::size(kWininet)},
    {"shlwapi.dll", kShlwapi, std::size(kShlwapi)},
};

} // namespace

const SystemModule *FindSystemModule(const char *fileName) {
    for (const SystemModule &m : kModules)
        if (strcasecmp(m.name, fileName) == 0) return &m;
    return nullptr;
}

const ModuleExport *FindSystemExport(const void *address) {
    for (const SystemModule &m : kModules)
        for (size_t i = 0; i < m.exportCount; ++i)
            if (m.exports[i].address == address) return &m.exports[i];
    return nullptr;
}

} // namespace platform
