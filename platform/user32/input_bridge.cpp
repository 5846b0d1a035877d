// Qt input becomes window messages: the bridge swallows mouse, wheel, key and input
// method events of every window's widget and posts the matching WM_* messages, so the
// pump, pre-translation and window procedures see them first. A control's procedure
// lets an input message through by replaying it to its widget.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "keyboard.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {

// The events being let through to their widgets; a nested pump inside one of them
// still turns new input into messages.
std::vector<const QEvent *> replayed;

// The time of the last real input. Qt tells a double-click from the press times it
// keeps per device, and a replayed event updates them: it must carry the real time.
quint64 lastInputTime = 0;
// The window of the last button press: a double-click needs both presses in one window.
HWND lastPressWindow = nullptr;

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM keys = 0;
    if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (mods & Qt::ControlModifier) keys |= MK_CONTROL;
    return keys;
}

UINT ButtonMessage(Qt::MouseButton button, QEvent::Type type, bool doubleClicks) {
    int base = button == Qt::LeftButton ? WM_LBUTTONDOWN : button == Qt::RightButton ? WM_RBUTTONDOWN
             : button == Qt::MiddleButton ? WM_MBUTTONDOWN : 0;
    if (!base) return 0;
    if (type == QEvent::MouseButtonRelease) return base + 1;
    if (type == QEvent::MouseButtonDblClick && doubleClicks) return base + 2;
    return base;
}

bool ClassHasDoubleClicks(HWND hwnd) {
    auto record = FindWindowRecord(hwnd);
    return record && (record->windowClass->info.style & CS_DBLCLKS);
}

LPARAM ClientPoint(HWND hwnd, QWidget *source, QPointF pos) {
    QWidget *host = HostOf(hwnd);
    auto record = FindWindowRecord(hwnd);
    if (!host || !record) return 0;
    QPoint p = source == host ? pos.toPoint() : source->mapTo(host, pos.toPoint());
    POINT o = ClientOriginInWidget(*record);
    return MAKELPARAM(p.x() - o.x, p.y() - o.y);
}

void PostMouse(HWND hwnd, QObject *object, QMouseEvent *e) {
    auto *source = static_cast<QWidget *>(object);
    LPARAM where = ClientPoint(hwnd, source, e->position());
    WPARAM keys = MouseKeys(e->buttons(), e->modifiers());
    if (e->type() == QEvent::MouseMove) {
        SetCursorWidget(source); // the widget under the mouse shows the pointer
        SendMessageA(hwnd, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        PostMessageA(hwnd, WM_MOUSEMOVE, keys, where);
        return;
    }
    UINT vk = e->button() == Qt::LeftButton ? VK_LBUTTON : e->button() == Qt::RightButton ? VK_RBUTTON : VK_MBUTTON;
    NoteKeyState(vk, e->type() != QEvent::MouseButtonRelease);
    bool sameWindow = hwnd == lastPressWindow;
    if (e->type() != QEvent::MouseButtonRelease) lastPressWindow = hwnd;
    UINT message = ButtonMessage(e->button(), e->type(), sameWindow && ClassHasDoubleClicks(hwnd));
    if (message) PostMessageA(hwnd, message, keys, where);
}

void PostWheel(HWND hwnd, QWheelEvent *e) {
    HWND target = GetFocus() ? GetFocus() : hwnd;
    QPoint global = e->globalPosition().toPoint();
    WPARAM keys = MouseKeys(e->buttons(), e->modifiers());
    PostMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(keys, e->angleDelta().y()), MAKELPARAM(global.x(), global.y()));
}

void PostKey(HWND hwnd, QKeyEvent *e) {
    Qt::KeyboardModifiers mods = e->modifiers();
    NoteModifierState(mods & Qt::ShiftModifier, mods & Qt::ControlModifier, mods & Qt::AltModifier);
    UINT vk = VirtualKeyOfQtKey(e->key(), e->nativeVirtualKey());
    bool down = e->type() == QEvent::KeyPress;
    if (vk) NoteKeyState(vk, down);
    bool alt = (mods & Qt::AltModifier) || vk == VK_MENU;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    std::u16string text = e->text().toStdU16String();
    if (!vk) {
        // A key with no virtual key still types its text.
        if (down && !text.empty()) PostTypedText(hwnd, text, false);
        return;
    }
    BYTE slot = down && !text.empty() ? RememberKeyText(vk, text) : 0;
    LPARAM lp = 1 | (LPARAM(slot) << 16);
    if (e->isAutoRepeat()) lp |= LPARAM(1) << 30;
    if (!down) lp |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    if (alt) lp |= LPARAM(1) << 29;
    PostMessageA(hwnd, message, vk, lp);
}

// A mouse's context menu comes from WM_RBUTTONUP's default answer; the menu key's
// WM_CONTEXTMENU carries -1 as its position, as in Win32.
void PostContextMenuKey(HWND hwnd, QContextMenuEvent *e) {
    if (e->reason() == QContextMenuEvent::Keyboard) PostMessageA(hwnd, WM_CONTEXTMENU, WPARAM(hwnd), LPARAM(-1));
}

// The events the bridge turns into messages; every other event passes untouched.
bool Bridged(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::FocusIn: return true;
    default: return false;
    }
}

class InputBridge : public QObject {
public:
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->isInputEvent()) lastInputTime = static_cast<QInputEvent *>(event)->timestamp();
        if (!Bridged(event->type()) || !object->isWidgetType()) return false;
        if (std::find(replayed.begin(), replayed.end(), event) != replayed.end()) return false;
        if (IsNativeInputWidget(static_cast<QWidget *>(object))) return false;
        HWND hwnd = WindowOfWidget(static_cast<QWidget *>(object));
        if (!hwnd || !IsWindow(hwnd)) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: PostMouse(hwnd, object, static_cast<QMouseEvent *>(event)); return true;
        case QEvent::Wheel: PostWheel(hwnd, static_cast<QWheelEvent *>(event)); return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: PostKey(hwnd, static_cast<QKeyEvent *>(event)); return true;
        case QEvent::ShortcutOverride: event->accept(); return true;
        case QEvent::InputMethod: {
            // The committed text comes through the queue as characters; the widget
            // itself only shows the composition in progress.
            auto *im = static_cast<QInputMethodEvent *>(event);
            if (!im->commitString().isEmpty()) PostTypedText(hwnd, im->commitString().toStdU16String(), false);
            QInputMethodEvent composition(im->preeditString(), im->attributes());
            ReplayToWidget(static_cast<QWidget *>(object), &composition);
            return true;
        }
        case QEvent::ContextMenu: PostContextMenuKey(hwnd, static_cast<QContextMenuEvent *>(event)); return true;
        case QEvent::FocusIn: NoteQtFocusIn(hwnd); return false;
        default: return false;
        }
    }
};

InputBridge &Bridge() {
    static auto *bridge = new InputBridge;
    return *bridge;
}

} // namespace

void InstallInputBridge(QWidget *widget, HWND) {
    widget->installEventFilter(&Bridge());
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget)) area->viewport()->installEventFilter(&Bridge());
}

bool ReplayToWidget(QWidget *target, QEvent *event) {
    if (!target) return false;
    if (event->isInputEvent()) {
        auto *input = static_cast<QInputEvent *>(event);
        if (!input->timestamp()) input->setTimestamp(lastInputTime);
    }
    replayed.push_back(event);
    bool handled = QApplication::sendEvent(target, event);
    replayed.pop_back();
    return handled;
}

bool IsReplaying() { return !replayed.empty(); }

} // namespace platform
