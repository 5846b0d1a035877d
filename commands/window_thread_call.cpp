#include "window_thread_call.h"

#include <atomic>

namespace cmd {
namespace {

constexpr UINT kMessageCall = WM_APP + 0x3A1;
const char kClassName[] = "KZCommandCarrier";

struct Call {
    WindowThreadRoutine routine;
    HWND window;
    void *parameter;
};

std::atomic<HWND> carrier{nullptr};
std::atomic<DWORD> carrierThread{0};

LRESULT CALLBACK CarrierProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kMessageCall) return DefWindowProcA(hwnd, message, wParam, lParam);
    const Call *call = reinterpret_cast<const Call *>(lParam);
    return call->routine(call->window, call->parameter);
}

void RegisterCarrierClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kClassName, &existing)) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = CarrierProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
}

// Runs the routine on the carrier's thread; here when there is no carrier.
intptr_t Carry(HWND window, WindowThreadRoutine routine, void *parameter) {
    HWND hwnd = carrier;
    if (!hwnd) return routine(window, parameter);
    Call call{routine, window, parameter};
    return SendMessageA(hwnd, kMessageCall, 0, reinterpret_cast<LPARAM>(&call));
}

} // namespace

void StartWindowThreadCalls() {
    if (carrier) return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterCarrierClass(instance);
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    carrierThread = GetCurrentThreadId();
    carrier = hwnd;
}

void StopWindowThreadCalls() {
    HWND hwnd = carrier.exchange(nullptr);
    if (hwnd && carrierThread == GetCurrentThreadId()) DestroyWindow(hwnd);
}

intptr_t CallOnWindowThread(HWND window, WindowThreadRoutine routine, void *parameter) {
    DWORD owner = GetWindowThreadProcessId(window, nullptr);
    if (owner == 0) return 0;
    if (owner == GetCurrentThreadId() || owner != carrierThread) return routine(window, parameter);
    return Carry(window, routine, parameter);
}

intptr_t CallOnUnitsThread(WindowThreadRoutine routine, void *parameter) {
    if (carrierThread == GetCurrentThreadId()) return routine(nullptr, parameter);
    return Carry(nullptr, routine, parameter);
}

} // namespace cmd
