#include "application.h"

#include "window_object.h"

namespace fw {
namespace {
Application *current = nullptr;
}

Application::Application() { current = this; }
Application::~Application() {
    if (current == this) current = nullptr;
}
Application *Application::Current() { return current; }

int Application::ExitInstance() { return int(currentMessage_.wParam); }

BOOL Application::OnIdle(LONG) { return FALSE; }

BOOL Application::ProcessThreadMessage(MSG *) { return FALSE; }

BOOL Application::PreTranslateMessage(MSG *msg) {
    if (!msg->hwnd) return ProcessThreadMessage(msg);
    for (HWND h = msg->hwnd; h; h = GetParent(h))
        if (WindowObject *w = WindowObject::FromHandlePermanent(h); w && w->PreTranslateMessage(msg)) return TRUE;
    return FALSE;
}

// Mouse moves to the same point and the framework's private messages do not restart idling.
BOOL Application::IsIdleMessage(const MSG *msg) {
    if (msg->message == WM_MOUSEMOVE) {
        if (lastMouseMessage_ == WM_MOUSEMOVE && lastMousePoint_.x == msg->pt.x && lastMousePoint_.y == msg->pt.y)
            return FALSE;
        lastMouseMessage_ = WM_MOUSEMOVE;
        lastMousePoint_ = msg->pt;
        return TRUE;
    }
    lastMouseMessage_ = msg->message;
    return msg->message != WM_PAINT && msg->message != 0x0118; // WM_SYSTIMER
}

BOOL Application::PumpMessage() {
    if (!GetMessageA(&currentMessage_, nullptr, 0, 0)) return FALSE;
    if (!PreTranslateMessage(&currentMessage_)) {
        TranslateMessage(&currentMessage_);
        DispatchMessageA(&currentMessage_);
    }
    return TRUE;
}

int Application::Run() {
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        MSG peek;
        while (idle && !PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(idleCount++)) idle = false;
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&currentMessage_)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int FrameworkMain() {
    Application *app = Application::Current();
    if (!app) return -1;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

} // namespace fw
