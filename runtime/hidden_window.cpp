#include "hidden_window.h"

#include "runtime_error.h"

namespace rt {
namespace {

LRESULT CALLBACK HiddenWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMessageExitRequest) ExitProgram(int32_t(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char kClassName[] = "KZRuntimeHidden";

} // namespace

HWND CreateHiddenWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HiddenWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kClassName;
    WNDCLASSA existing;
    if (!GetClassInfoA(wc.hInstance, kClassName, &existing)) RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace rt
