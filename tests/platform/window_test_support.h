// Shared helpers of the window layer's tests: a message pump, a recording window
// procedure, GBK texts and Qt input sent to a window's widget.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

#include "host_text.h"
#include "window_host.h"
#include "windows.h"

namespace window_test {

inline std::string Gbk(const char *utf8) { return platform::Utf8ToGbk(utf8); }

// Runs the queue the way an application's loop does, until nothing is left.
inline void Pump() {
    MSG msg;
    for (int idle = 0; idle < 3;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            idle = 0;
        } else {
            ++idle;
        }
    }
}

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    DWORD thread = GetCurrentThreadId();
};

// Messages seen by windows of the "Recorder" class, in order.
inline std::vector<Logged> &Log() {
    static std::vector<Logged> log;
    return log;
}

inline std::vector<UINT> MessagesOf(HWND hwnd, std::initializer_list<UINT> wanted) {
    std::vector<UINT> out;
    for (auto &l : Log())
        if (l.hwnd == hwnd)
            for (UINT w : wanted)
                if (l.msg == w) out.push_back(l.msg);
    return out;
}

inline LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Log().push_back({hwnd, msg, wp, lp});
    return DefWindowProcA(hwnd, msg, wp, lp);
}

inline void RegisterRecorder(const char *name = "Recorder", UINT style = CS_DBLCLKS) {
    WNDCLASSA wc{};
    wc.style = style;
    wc.lpfnWndProc = RecorderProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(uintptr_t(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

inline QWidget *Widget(HWND hwnd) { return platform::HostOf(hwnd); }

// Qt input as the window system would deliver it to the widget.
inline void QtKey(QWidget *w, int key, const QString &text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

inline void QtType(QWidget *w, const QString &text) {
    for (QChar c : text) {
        int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c == ' ' ? int(Qt::Key_Space) : c.unicode();
        QtKey(w, key, QString(c), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

inline void QtMouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace window_test
