// The system's control classes and what they share: parent notifications, colours from
// the parent, fonts and input messages let through to the Qt widget.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWheelEvent>
#include <QWidget>

#include "control_support.h"
#include "gdi_object.h"
#include "keyboard.h"
#include "window_host.h"

namespace platform {

LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK UpDownProc(HWND, UINT, WPARAM, LPARAM);
QWidget *MakeEditWidget(HWND, QWidget *);
QWidget *MakeButtonWidget(HWND, QWidget *);
QWidget *MakeStaticWidget(HWND, QWidget *);
QWidget *MakeUpDownWidget(HWND, QWidget *);

void RegisterSystemClasses() {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    RegisterSystemClass("Edit", CS_DBLCLKS | CS_PARENTDC, EditProc, MakeEditWidget, LoadCursorA(nullptr, IDC_IBEAM));
    RegisterSystemClass("BUTTON", CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, ButtonProc, MakeButtonWidget, arrow);
    RegisterSystemClass("STATIC", CS_DBLCLKS | CS_PARENTDC, StaticProc, MakeStaticWidget, arrow);
    RegisterSystemClass("msctls_updown32", CS_HREDRAW | CS_VREDRAW, UpDownProc, MakeUpDownWidget, arrow);
}

void NotifyParent(HWND control, WORD code) {
    auto r = FindWindowRecord(control);
    if (!r || !(r->style & WS_CHILD) || !r->parent) return;
    SendMessageA(r->parent, WM_COMMAND, MAKEWPARAM(WORD(r->id), code), reinterpret_cast<LPARAM>(control));
}

Qt::KeyboardModifiers CurrentModifiers() {
    Qt::KeyboardModifiers mods;
    if (GetKeyState(VK_SHIFT) < 0) mods |= Qt::ShiftModifier;
    if (GetKeyState(VK_CONTROL) < 0) mods |= Qt::ControlModifier;
    if (GetKeyState(VK_MENU) < 0) mods |= Qt::AltModifier;
    return mods;
}

void ReplayKeyDown(QWidget *target, WPARAM vk) {
    int key = QtKeyOfVirtualKey(UINT(vk));
    if (!target || key == Qt::Key_unknown) return;
    QKeyEvent press(QEvent::KeyPress, key, CurrentModifiers());
    ReplayToWidget(target, &press);
}

bool ReplayMouse(HWND hwnd, QWidget *target, UINT msg, WPARAM wp, LPARAM lp) {
    auto record = FindWindowRecord(hwnd);
    QWidget *host = HostOf(hwnd);
    if (!record || !host || !target) return false;
    POINT o = ClientOriginInWidget(*record);
    QPoint inHost(GET_X_LPARAM(lp) + o.x, GET_Y_LPARAM(lp) + o.y);
    Qt::KeyboardModifiers mods;
    if (LOWORD(wp) & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (LOWORD(wp) & MK_CONTROL) mods |= Qt::ControlModifier;
    if (msg == WM_MOUSEWHEEL) {
        QPoint global(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        QPointF local = target->mapFromGlobal(global);
        QWheelEvent wheel(local, global, QPoint(), QPoint(0, GET_WHEEL_DELTA_WPARAM(wp)), Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        return ReplayToWidget(target, &wheel);
    }
    QPointF local = target == host ? QPointF(inHost) : QPointF(target->mapFrom(host, inHost));
    Qt::MouseButtons buttons;
    if (LOWORD(wp) & MK_LBUTTON) buttons |= Qt::LeftButton;
    if (LOWORD(wp) & MK_RBUTTON) buttons |= Qt::RightButton;
    if (LOWORD(wp) & MK_MBUTTON) buttons |= Qt::MiddleButton;
    QEvent::Type type;
    Qt::MouseButton button = Qt::NoButton;
    switch (msg) {
    case WM_MOUSEMOVE: type = QEvent::MouseMove; break;
    case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress, button = Qt::LeftButton, buttons |= Qt::LeftButton; break;
    case WM_LBUTTONUP: type = QEvent::MouseButtonRelease, button = Qt::LeftButton, buttons &= ~Qt::LeftButton; break;
    case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick, button = Qt::LeftButton, buttons |= Qt::LeftButton; break;
    default: return false;
    }
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, mods);
    return ReplayToWidget(target, &event);
}

bool ColoursFromParent(HWND control, UINT message, COLORREF &text, COLORREF &background) {
    HWND parent = GetParent(control);
    if (!parent || !(GetWindowLongPtrA(control, GWL_STYLE) & WS_CHILD)) return false;
    HDC dc = GetDC(control);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    LRESULT brush = SendMessageA(parent, message, WPARAM(dc), reinterpret_cast<LPARAM>(control));
    text = GetTextColor(dc);
    GdiObject *o = GdiObjectOf(reinterpret_cast<HGDIOBJ>(brush));
    bool picked = o && o->kind == GdiKind::Brush && !o->null;
    if (picked) background = ColorRefOf(o->color);
    ReleaseDC(control, dc);
    return picked;
}

void ApplyFont(HWND hwnd, HFONT font, bool redraw) {
    auto r = FindWindowRecord(hwnd);
    QWidget *w = HostOf(hwnd);
    if (!r) return;
    r->font = font;
    if (w) w->setFont(font ? FontOfHandle(font) : SystemFont());
    if (w && redraw) w->update();
}

bool CommonControlMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM, LRESULT &result) {
    switch (msg) {
    case WM_SETFONT: ApplyFont(hwnd, HFONT(wp), true); result = 0; return true;
    case WM_GETFONT: {
        auto r = FindWindowRecord(hwnd);
        result = r ? reinterpret_cast<LRESULT>(r->font) : 0;
        return true;
    }
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: {
        // The Qt widget paints itself; validate the update.
        PAINTSTRUCT ps;
        if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
        result = 0;
        return true;
    }
    default: return false;
    }
}

} // namespace platform

extern "C" BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *) {
    platform::FindWindowClass("msctls_updown32");
    return TRUE;
}

extern "C" void WINAPI InitCommonControls(void) { InitCommonControlsEx(nullptr); }
