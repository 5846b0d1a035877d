#include "unit_thread_call.h"

#include <atomic>
#include <map>
#include <mutex>

namespace units {
namespace {

constexpr UINT kMessageRunWork = WM_APP + 0x3C0;
constexpr char kHelperClass[] = "SorvelUnitThreadCall";

std::mutex helpersLock;
std::map<DWORD, HWND> helpers;
std::atomic<DWORD> loadingThread{0};

LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMessageRunWork) {
        (*reinterpret_cast<const std::function<void()> *>(lParam))();
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND HelperOf(DWORD thread) {
    std::lock_guard lock(helpersLock);
    auto it = helpers.find(thread);
    return it != helpers.end() && IsWindow(it->second) ? it->second : nullptr;
}

// At once on the owner's thread or when it has no helper, else there while the caller waits.
void RunOnThread(DWORD owner, const std::function<void()> &work) {
    HWND helper = owner && owner != GetCurrentThreadId() ? HelperOf(owner) : nullptr;
    if (!helper) {
        work();
        return;
    }
    SendMessageA(helper, kMessageRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

} // namespace

void PrepareWindowThread() {
    DWORD thread = GetCurrentThreadId();
    if (HelperOf(thread)) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHelperClass;
    RegisterClassA(&wc); // an existing registration is reused
    HWND helper = CreateWindowExA(0, kHelperClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    std::lock_guard lock(helpersLock);
    helpers[thread] = helper;
    DWORD none = 0;
    loadingThread.compare_exchange_strong(none, thread);
}

void RunOnWindowThread(HWND window, const std::function<void()> &work) {
    RunOnThread(GetWindowThreadProcessId(window, nullptr), work);
}

void RunOnLoadingThread(const std::function<void()> &work) { RunOnThread(loadingThread.load(), work); }

} // namespace units
