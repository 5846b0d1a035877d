// Window wrapper objects attached to window handles. Subclassing routes a window's
// messages through the object's WindowProc.
#pragma once

#include "windows.h"

namespace fw {

class WindowObject {
public:
    WindowObject() = default;
    virtual ~WindowObject();
    WindowObject(const WindowObject &) = delete;
    WindowObject &operator=(const WindowObject &) = delete;

    HWND Handle() const { return hwnd_; }

    // The object attached to `hwnd`, or null.
    static WindowObject *FromHandlePermanent(HWND hwnd);
    // The handle `object` is attached to, or null; safe from any thread, even when the
    // object has been detached and deleted meanwhile (it is never read).
    static HWND HandleOfObject(const WindowObject *object);

    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Attaches and replaces the window procedure with the framework's.
    BOOL SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();

    virtual BOOL PreTranslateMessage(MSG *msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, when the handle is gone.
    virtual void PostNcDestroy() {}

protected:
    HWND hwnd_ = nullptr;
    WNDPROC superProc_ = nullptr;

private:
    static LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace fw
