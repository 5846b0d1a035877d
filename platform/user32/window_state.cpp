// Enabled state, keyboard focus, activation and mouse capture. Each thread has its own
// focus and active window, as in Win32.
#include <QWidget>

#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {

thread_local HWND focusWindow = nullptr;
thread_local HWND activeWindow = nullptr;
thread_local HWND captureWindow = nullptr;
thread_local int qtFocusChange = 0;

HWND TopLevelOf(HWND hwnd) {
    for (auto r = FindWindowRecord(hwnd); r; r = FindWindowRecord(r->parent))
        if (!(r->style & WS_CHILD)) return r->handle;
    return nullptr;
}

// A window and its parents must be enabled and not minimised to take the focus.
bool CanTakeFocus(HWND hwnd) {
    for (auto r = FindWindowRecord(hwnd); r; r = (r->style & WS_CHILD) ? FindWindowRecord(r->parent) : nullptr)
        if (r->style & (WS_DISABLED | WS_MINIMIZE)) return false;
    return true;
}

HWND MoveFocus(HWND hwnd) {
    HWND old = focusWindow;
    if (old == hwnd) return old;
    focusWindow = hwnd;
    if (old && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
    if (hwnd && focusWindow == hwnd && IsWindow(hwnd)) {
        if (QWidget *w = HostOf(hwnd); w && !qtFocusChange) w->setFocus(Qt::OtherFocusReason);
        SendMessageA(hwnd, WM_SETFOCUS, WPARAM(old), 0);
    } else if (!hwnd) {
        if (QWidget *w = old ? HostOf(old) : nullptr; w && !qtFocusChange) w->clearFocus();
    }
    return old;
}

} // namespace

void NoteQtFocusIn(HWND hwnd) {
    if (hwnd == focusWindow || !CanTakeFocus(hwnd)) return;
    ++qtFocusChange;
    HWND top = TopLevelOf(hwnd);
    if (top && top != activeWindow) SetActiveWindow(top);
    MoveFocus(hwnd);
    --qtFocusChange;
}

HWND CurrentFocus() { return focusWindow; }

// Qt activated a window (the user clicked it): follow without asking Qt again.
void NoteQtActivation(HWND hwnd) {
    if (hwnd == activeWindow) return;
    ++qtFocusChange;
    SetActiveWindow(hwnd);
    --qtFocusChange;
}

void ForgetWindowState(HWND hwnd) {
    if (focusWindow == hwnd) focusWindow = nullptr;
    if (activeWindow == hwnd) activeWindow = nullptr;
    if (captureWindow == hwnd) captureWindow = nullptr;
}

// Before a window is destroyed: the focus goes to its parent, activation to its owner.
void ReleaseStateBeforeDestroy(HWND hwnd) {
    if (focusWindow && (focusWindow == hwnd || IsChild(hwnd, focusWindow))) {
        auto r = FindWindowRecord(hwnd);
        SetFocus(r && (r->style & WS_CHILD) ? r->parent : nullptr);
    }
    if (activeWindow == hwnd) {
        auto r = FindWindowRecord(hwnd);
        activeWindow = nullptr;
        if (r && r->owner && IsWindow(r->owner) && IsWindowVisible(r->owner)) SetActiveWindow(r->owner);
    }
    if (captureWindow == hwnd) captureWindow = nullptr;
}

} // namespace platform

using namespace platform;

extern "C" HWND WINAPI SetFocus(HWND hwnd) {
    // A window of another thread takes the focus on its own thread, the caller waiting.
    if (LRESULT r; hwnd && CallOnOwnerThread(hwnd, [&] { return reinterpret_cast<LRESULT>(SetFocus(hwnd)); }, r)) return HWND(r);
    if (!hwnd) return MoveFocus(nullptr);
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!CanTakeFocus(hwnd)) return nullptr;
    HWND top = TopLevelOf(hwnd);
    if (top && top != activeWindow) {
        HWND before = focusWindow;
        SetActiveWindow(top);
        if (!IsWindow(hwnd)) return nullptr;
        MoveFocus(hwnd);
        return before;
    }
    return MoveFocus(hwnd);
}

extern "C" HWND WINAPI GetFocus(void) { return focusWindow; }

extern "C" HWND WINAPI SetActiveWindow(HWND hwnd) {
    if (hwnd) {
        auto r = FindWindowRecord(hwnd);
        if (!r) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (r->style & WS_CHILD) hwnd = TopLevelOf(hwnd);
    }
    HWND old = activeWindow;
    if (old == hwnd) return old;
    activeWindow = hwnd;
    if (old && IsWindow(old)) {
        SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old)), LPARAM(hwnd));
    }
    if (!old && hwnd) SendMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    if (old && !hwnd && IsWindow(old)) {
        // The application lost the activation: the focus goes with it.
        SendMessageA(old, WM_ACTIVATEAPP, FALSE, 0);
        if (activeWindow == nullptr) MoveFocus(nullptr);
    }
    if (hwnd && activeWindow == hwnd) {
        if (QWidget *w = HostOf(hwnd); w && w->isVisible() && !qtFocusChange) w->activateWindow();
        SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
        SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd)), LPARAM(old));
    }
    return old;
}

extern "C" HWND WINAPI GetActiveWindow(void) { return activeWindow; }
extern "C" HWND WINAPI GetForegroundWindow(void) { return activeWindow; }
extern "C" BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    SetActiveWindow(hwnd);
    return TRUE;
}

extern "C" BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(EnableWindow(hwnd, enable)); }, r)) return BOOL(r);
    auto r = FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool wasDisabled = r->style & WS_DISABLED;
    if (enable && wasDisabled) {
        r->style &= ~DWORD(WS_DISABLED);
        SyncHostEnabled(*r);
        SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
        r->style |= WS_DISABLED;
        if (focusWindow == hwnd || IsChild(hwnd, focusWindow)) SetFocus(nullptr);
        SyncHostEnabled(*r);
        SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    auto r = FindWindowRecord(hwnd);
    return r && !(r->style & WS_DISABLED);
}

extern "C" HWND WINAPI SetCapture(HWND hwnd) {
    HWND old = captureWindow;
    captureWindow = hwnd;
    if (old && old != hwnd) SendMessageA(old, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
    return old;
}

extern "C" HWND WINAPI GetCapture(void) { return captureWindow; }

extern "C" BOOL WINAPI ReleaseCapture(void) {
    HWND old = captureWindow;
    captureWindow = nullptr;
    if (old) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
