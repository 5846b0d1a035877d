// The runtime's main loop: idle callbacks and the idle step while nothing waits,
// the framework's pump while messages wait; and the message pre-translation.
#include <algorithm>

#include "runtime_app.h"
#include "runtime_error.h"
#include "gbk.h"
#include "window_object.h"

namespace rt {
namespace {

constexpr UINT kMessageQueryWindowObject = 0x8002;

// Newest first; entries whose window is gone are dropped.
void CallIdleCallbacks(RuntimeApp &app) {
    std::vector<IdleCallback> callbacks;
    {
        std::lock_guard lock(app.idleLock);
        auto &list = app.idleCallbacks;
        list.erase(std::remove_if(list.begin(), list.end(), [](const IdleCallback &c) { return !IsWindow(c.window); }),
                   list.end());
        callbacks.assign(list.rbegin(), list.rend());
    }
    for (const IdleCallback &c : callbacks) c.routine(c.parameter);
}

bool MessageWaiting() {
    MSG peek;
    return PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);
}

bool QuitWaiting() {
    MSG peek;
    return PeekMessageA(&peek, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) && peek.message == WM_QUIT;
}

// The normal mode of the loop: idle while nothing waits, pump until the quit message.
void RunLoopUntilQuit(RuntimeApp &app) {
    if (!app.windowSet || !app.windowSet->anyLiveWindow()) return;
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        while (idle && !MessageWaiting()) {
            CallIdleCallbacks(app);
            if (!app.OnIdle(idleCount++)) idle = false;
        }
        do {
            if (!app.PumpMessage()) return;
            if (app.IsIdleMessage(&app.CurrentMessage())) {
                idle = true;
                idleCount = 0;
            }
        } while (MessageWaiting());
    }
}

} // namespace

void NoteProgramEnding() { App().programEnding = true; }

void RunMainLoop() {
    RuntimeApp &app = App();
    app.mainLoopStarted = true;
    RunLoopUntilQuit(app);
    app.programEnding = true;
}

// Returns when the modal window's flag clears, or when a quit message waits (left in
// the queue for the outer loop).
void RunModalLoop(const std::atomic<bool> &stillModal) {
    RuntimeApp &app = App();
    LONG idleCount = 0;
    bool idle = true;
    while (stillModal) {
        while (idle && stillModal && !MessageWaiting()) {
            CallIdleCallbacks(app);
            if (!app.OnIdle(idleCount++)) idle = false;
        }
        while (stillModal) {
            if (QuitWaiting()) return;
            if (!app.PumpMessage()) {
                PostQuitMessage(int(app.CurrentMessage().wParam));
                return;
            }
            if (app.IsIdleMessage(&app.CurrentMessage())) {
                idle = true;
                idleCount = 0;
            }
            if (!MessageWaiting()) break;
        }
    }
}

void ProcessWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        if (!App().PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void LoadStartupWindow(uint32_t windowId) {
    RuntimeApp &app = App();
    if (!app.windowSet || !app.windowSet->loadStartupWindow(windowId))
        ReportRuntimeError(GbkLiteral("载入启动窗口失败"), 0);
}

BOOL RuntimeApp::OnIdle(LONG idleCount) {
    if (idleCount == 0) {
        idlePeriodStart = GetTickCount();
        declinedIdle.clear();
    }
    if (fw::Application::OnIdle(idleCount)) return TRUE;
    if (!windowSet) return FALSE;
    if (idleCount <= 1) return TRUE;
    return windowSet->idle(GetTickCount() - idlePeriodStart, declinedIdle);
}

BOOL RuntimeApp::PreTranslateMessage(MSG *msg) {
    if (!msg->hwnd) return ProcessThreadMessage(msg);
    for (HWND h = msg->hwnd; h; h = GetParent(h)) {
        fw::WindowObject *object = fw::WindowObject::FromHandlePermanent(h);
        if (!object) object = reinterpret_cast<fw::WindowObject *>(SendMessageA(h, kMessageQueryWindowObject, 0, 0));
        if (object && object->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

} // namespace rt
