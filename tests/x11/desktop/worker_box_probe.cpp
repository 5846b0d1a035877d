// A program whose worker thread reports an error with a message box, as a collection
// job does: the box must show on the window thread while the worker waits.
#include <cstdio>

#include "windows.h"

namespace {

DWORD WINAPI Worker(LPVOID window) {
    int answer = MessageBoxA(nullptr, "job failed", "\xB4\xED\xCE\xF3", MB_OK | MB_ICONERROR); // 错误
    std::printf("worker answered %d\n", answer);
    std::fflush(stdout);
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int main() {
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
