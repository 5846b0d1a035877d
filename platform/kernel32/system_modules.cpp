// The built-in system modules and their export tables. Every platform function that a
// declared call may reach is listed with its ordinal and argument count.
#include <strings.h>

#include <cstring>
#include <iterator>

#include "module_exports.h"
#include "shellapi.h"
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
    EXPORT(FindResourceA, 41, 3),
    EXPORT(LoadResource, 42, 2),
    EXPORT(LockResource, 43, 1),
    EXPORT(SizeofResource, 44, 2),
    EXPORT(FreeResource, 45, 1),
    EXPORT(GlobalAlloc, 46, 2),
    EXPORT(GlobalReAlloc, 47, 3),
    EXPORT(GlobalLock, 48, 1),
    EXPORT(GlobalUnlock, 49, 1),
    EXPORT(GlobalFree, 50, 1),
    EXPORT(GlobalSize, 51, 1),
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
    EXPORT(RegisterClassExA, 15, 1),
    EXPORT(UnregisterClassA, 16, 2),
    EXPORT(GetClassInfoA, 17, 3),
    EXPORT(GetClassInfoExA, 18, 3),
    EXPORT(GetParent, 19, 1),
    EXPORT(SetParent, 20, 2),
    EXPORT(GetWindow, 21, 2),
    EXPORT(GetWindowLongA, 22, 2),
    EXPORT(SetWindowLongA, 23, 3),
    EXPORT(GetWindowLongPtrA, 24, 2),
    EXPORT(SetWindowLongPtrA, 25, 3),
    EXPORT(ShowWindow, 26, 2),
    EXPORT(UpdateWindow, 27, 1),
    EXPORT(IsWindowVisible, 28, 1),
    EXPORT(EnableWindow, 29, 2),
    EXPORT(IsWindowEnabled, 30, 1),
    EXPORT(IsIconic, 31, 1),
    EXPORT(IsZoomed, 32, 1),
    EXPORT(IsChild, 33, 2),
    EXPORT(SetWindowPos, 34, 7),
    EXPORT(MoveWindow, 35, 6),
    EXPORT(GetWindowRect, 36, 2),
    EXPORT(GetClientRect, 37, 2),
    EXPORT(AdjustWindowRectEx, 38, 4),
    EXPORT(AdjustWindowRect, 39, 3),
    EXPORT(MapWindowPoints, 40, 4),
    EXPORT(ScreenToClient, 41, 2),
    EXPORT(ClientToScreen, 42, 2),
    EXPORT(GetDlgItem, 43, 2),
    EXPORT(GetDlgCtrlID, 44, 1),
    EXPORT(GetDesktopWindow, 45, 0),
    EXPORT(GetAncestor, 46, 2),
    EXPORT(WindowFromPoint, 47, 2),
    EXPORT(FindWindowA, 48, 2),
    EXPORT(GetClassNameA, 49, 3),
    EXPORT(SetWindowTextA, 50, 2),
    EXPORT(GetWindowTextA, 51, 3),
    EXPORT(GetWindowTextLengthA, 52, 1),
    EXPORT(SetFocus, 53, 1),
    EXPORT(GetFocus, 54, 0),
    EXPORT(SetActiveWindow, 55, 1),
    EXPORT(GetActiveWindow, 56, 0),
    EXPORT(GetForegroundWindow, 57, 0),
    EXPORT(SetForegroundWindow, 58, 1),
    EXPORT(BringWindowToTop, 59, 1),
    EXPORT(SetCapture, 60, 1),
    EXPORT(GetCapture, 61, 0),
    EXPORT(ReleaseCapture, 62, 0),
    EXPORT(InvalidateRect, 63, 3),
    EXPORT(ValidateRect, 64, 2),
    EXPORT(RedrawWindow, 65, 4),
    EXPORT(BeginPaint, 66, 2),
    EXPORT(EndPaint, 67, 2),
    EXPORT(GetDC, 68, 1),
    EXPORT(GetWindowDC, 69, 1),
    EXPORT(ReleaseDC, 70, 2),
    EXPORT(FillRect, 71, 3),
    EXPORT(FrameRect, 72, 3),
    EXPORT(DrawTextA, 73, 5),
    EXPORT(DrawFocusRect, 74, 2),
    EXPORT(GetSysColorBrush, 75, 1),
    EXPORT(GetSysColor, 76, 1),
    EXPORT(GetSystemMetrics, 77, 1),
    EXPORT(SystemParametersInfoA, 78, 4),
    EXPORT(SetRect, 79, 5),
    EXPORT(SetRectEmpty, 80, 1),
    EXPORT(CopyRect, 81, 2),
    EXPORT(InflateRect, 82, 3),
    EXPORT(OffsetRect, 83, 3),
    EXPORT(IsRectEmpty, 84, 1),
    EXPORT(PtInRect, 85, 3),
    EXPORT(IntersectRect, 86, 3),
    EXPORT(GetKeyState, 87, 1),
    EXPORT(GetAsyncKeyState, 88, 1),
    EXPORT(GetCursorPos, 89, 1),
    EXPORT(SetCursorPos, 90, 2),
    EXPORT(SetCursor, 91, 1),
    EXPORT(GetCursor, 92, 0),
    EXPORT(ShowCursor, 93, 1),
    EXPORT(LoadCursorA, 94, 2),
    EXPORT(LoadCursorFromFileA, 95, 1),
    EXPORT(CreateIconFromResourceEx, 96, 7),
    EXPORT(LoadIconA, 97, 2),
    EXPORT(DestroyCursor, 98, 1),
    EXPORT(DestroyIcon, 99, 1),
    EXPORT(DrawIcon, 100, 4),
    EXPORT(DrawIconEx, 101, 9),
    EXPORT(GetDoubleClickTime, 102, 0),
    EXPORT(MessageBeep, 103, 1),
    EXPORT(SetTimer, 104, 4),
    EXPORT(KillTimer, 105, 2),
    EXPORT(CreateAcceleratorTableA, 106, 2),
    EXPORT(DestroyAcceleratorTable, 107, 1),
    EXPORT(TranslateAcceleratorA, 108, 3),
    EXPORT(CreateMenu, 109, 0),
    EXPORT(CreatePopupMenu, 110, 0),
    EXPORT(DestroyMenu, 111, 1),
    EXPORT(AppendMenuA, 112, 4),
    EXPORT(SetMenu, 113, 2),
    EXPORT(GetMenu, 114, 1),
    EXPORT(GetSystemMenu, 115, 2),
    EXPORT(DeleteMenu, 116, 3),
    EXPORT(RemoveMenu, 117, 3),
    EXPORT(EnableMenuItem, 118, 3),
    EXPORT(CheckMenuItem, 119, 3),
    EXPORT(GetMenuItemCount, 120, 1),
    EXPORT(DrawMenuBar, 121, 1),
    EXPORT(PostThreadMessageA, 122, 4),
    EXPORT(WaitMessage, 123, 0),
    EXPORT(InSendMessage, 124, 0),
    EXPORT(GetMessageTime, 125, 0),
    EXPORT(GetQueueStatus, 126, 1),
    EXPORT(GetWindowThreadProcessId, 127, 2),
    EXPORT(LoadImageA, 128, 6),
    EXPORT(GetClassLongPtrA, 129, 2),
    EXPORT(SetClassLongPtrA, 130, 3),
    EXPORT(EnumWindows, 131, 2),
    EXPORT(EnumChildWindows, 132, 3),
    EXPORT(RegisterWindowMessageA, 133, 1),
    EXPORT(WinHelpA, 134, 4),
    EXPORT(SetWindowRgn, 135, 3),
    EXPORT(GetWindowRgn, 136, 2),
};

const ModuleExport kGdi32[] = {
    EXPORT(GetStockObject, 1, 1),
    EXPORT(SelectObject, 2, 2),
    EXPORT(DeleteObject, 3, 1),
    EXPORT(GetObjectType, 4, 1),
    EXPORT(GetObjectA, 5, 3),
    EXPORT(GetCurrentObject, 6, 2),
    EXPORT(CreateSolidBrush, 7, 1),
    EXPORT(CreateBrushIndirect, 8, 1),
    EXPORT(CreatePen, 9, 3),
    EXPORT(CreateFontIndirectA, 10, 1),
    EXPORT(CreateFontA, 11, 14),
    EXPORT(SetTextColor, 12, 2),
    EXPORT(GetTextColor, 13, 1),
    EXPORT(SetBkColor, 14, 2),
    EXPORT(GetBkColor, 15, 1),
    EXPORT(SetBkMode, 16, 2),
    EXPORT(GetBkMode, 17, 1),
    EXPORT(GetDeviceCaps, 18, 2),
    EXPORT(GetTextExtentPoint32A, 19, 4),
    EXPORT(GetTextMetricsA, 20, 2),
    EXPORT(TextOutA, 21, 5),
    EXPORT(CreateCompatibleDC, 22, 1),
    EXPORT(DeleteDC, 23, 1),
    EXPORT(CreateCompatibleBitmap, 24, 3),
    EXPORT(CreateBitmap, 25, 5),
    EXPORT(BitBlt, 26, 9),
    EXPORT(StretchBlt, 27, 11),
    EXPORT(SetStretchBltMode, 28, 2),
    EXPORT(SetPixel, 29, 4),
    EXPORT(GetPixel, 30, 3),
    EXPORT(MoveToEx, 31, 4),
    EXPORT(LineTo, 32, 3),
    EXPORT(Rectangle, 33, 5),
    EXPORT(Ellipse, 34, 5),
    EXPORT(SaveDC, 35, 1),
    EXPORT(RestoreDC, 36, 2),
    EXPORT(CreateRectRgn, 37, 4),
    EXPORT(CreateEllipticRgn, 38, 4),
    EXPORT(CreateRoundRectRgn, 39, 6),
    EXPORT(CreatePolygonRgn, 40, 3),
    EXPORT(CombineRgn, 41, 4),
    EXPORT(OffsetRgn, 42, 3),
    EXPORT(PtInRegion, 43, 3),
    EXPORT(GetRgnBox, 44, 2),
    EXPORT(GetDIBits, 45, 7),
    EXPORT(IntersectClipRect, 46, 5),
};

const ModuleExport kComdlg32[] = {
    EXPORT(GetOpenFileNameA, 1, 1),
    EXPORT(GetSaveFileNameA, 2, 1),
    EXPORT(ChooseFontA, 3, 1),
    EXPORT(CommDlgExtendedError, 4, 0),
};

const ModuleExport kComctl32[] = {
    EXPORT(InitCommonControls, 1, 0),
    EXPORT(InitCommonControlsEx, 2, 1),
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

const ModuleExport kWinmm[] = {
    EXPORT(PlaySoundA, 1, 3),
    EXPORT(sndPlaySoundA, 2, 2),
};

const ModuleExport kShell32[] = {
    EXPORT(Shell_NotifyIconA, 1, 2),
};

const ModuleExport kShlwapi[] = {
    EXPORT(PathRemoveBlanksA, 1, 1),
};

#undef EXPORT

const SystemModule kModules[] = {
    {"kernel32.dll", kKernel32, std::size(kKernel32)},
    {"user32.dll", kUser32, std::size(kUser32)},
    {"gdi32.dll", kGdi32, std::size(kGdi32)},
    {"comdlg32.dll", kComdlg32, std::size(kComdlg32)},
    {"comctl32.dll", kComctl32, std::size(kComctl32)},
    {"advapi32.dll", nullptr, 0},
    {"mpr.dll", nullptr, 0},
    {"shell32.dll", kShell32, std::size(kShell32)},
    {"ole32.dll", kOle32Exports, kOle32ExportCount},
    {"oleaut32.dll", kOleAut32Exports, kOleAut32ExportCount},
    {"wininet.dll", kWininet, std::size(kWininet)},
    {"shlwapi.dll", kShlwapi, std::size(kShlwapi)},
    {"winmm.dll", kWinmm, std::size(kWinmm)},
};

} // namespace

const SystemModule *FindSystemModule(const char *fileName) {
    for (const SystemModule &m : kModules)
        if (strcasecmp(m.name, fileName) == 0) return &m;
    return nullptr;
}

const SystemModule *SystemModuleAt(const void *address) {
    for (const SystemModule &m : kModules)
        if (&m == address) return &m;
    return nullptr;
}

const ModuleExport *FindSystemExport(const void *address) {
    for (const SystemModule &m : kModules)
        for (size_t i = 0; i < m.exportCount; ++i)
            if (m.exports[i].address == address) return &m.exports[i];
    return nullptr;
}

} // namespace platform
