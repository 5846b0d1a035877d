// A program whose worker thread raises a runtime error, as a failing collection job
// does: the report box must show on the window thread while the worker waits, and the
// program ends with -1 once it is answered.
#include <cstdio>

#include "runtime_error.h"
#include "runtime_fixture.h"
#include "windows.h"

namespace {

DWORD WINAPI Worker(LPVOID) {
    std::printf("worker raises\n");
    std::fflush(stdout);
    rt::ReportRuntimeErrorNumber(rt::kErrorNotNumeric);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int main() {
    testsupport::StartTestRuntime();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Procedure;
    wc.lpszClassName = "probe";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "probe", "worker box probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    CloseHandle(CreateThread(nullptr, 0, Worker, window, 0, nullptr));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return int(msg.wParam);
}
