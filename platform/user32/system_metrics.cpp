// System metrics, colours and rectangle helpers. Metrics are those of the classic
// 96-dpi desktop; the screen size comes from Qt's primary screen.
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "qt_host.h"
#include "windows.h"

namespace {

// Without a display the desktop is a 1024 by 768 screen, whatever Qt's offscreen
// platform makes up, so that layouts computed from it are the same on every machine.
QRect ScreenGeometry() {
    if (platform::IsHeadless()) return QRect(0, 0, 1024, 768);
    if (platform::GuiApplication())
        if (QScreen *screen = QGuiApplication::primaryScreen()) return screen->geometry();
    return QRect(0, 0, 1024, 768);
}

const COLORREF kSysColors[] = {
    RGB(200, 200, 200), RGB(58, 110, 165), RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(180, 180, 180), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
    RGB(236, 233, 216),
};

} // namespace

extern "C" int WINAPI GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXFULLSCREEN: return ScreenGeometry().width();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return ScreenGeometry().height();
    case SM_CYFULLSCREEN: return ScreenGeometry().height() - 19;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXMAXIMIZED: return ScreenGeometry().width() + 8;
    case SM_CYMAXIMIZED: return ScreenGeometry().height() + 8;
    case SM_MOUSEWHEELPRESENT: return 1;
    default: return 0;
    }
}

extern "C" DWORD WINAPI GetSysColor(int index) {
    return index >= 0 && size_t(index) < std::size(kSysColors) ? kSysColors[index] : 0;
}

extern "C" HBRUSH WINAPI GetSysColorBrush(int index) {
    static HBRUSH brushes[std::size(kSysColors)] = {};
    if (index < 0 || size_t(index) >= std::size(kSysColors)) return nullptr;
    if (!brushes[index]) brushes[index] = CreateSolidBrush(kSysColors[index]);
    return brushes[index];
}

extern "C" BOOL WINAPI SystemParametersInfoA(UINT action, UINT, PVOID param, UINT) {
    if (action != SPI_GETWORKAREA || !param) return FALSE;
    QRect g = ScreenGeometry();
    if (!platform::IsHeadless() && platform::GuiApplication())
        if (QScreen *screen = QGuiApplication::primaryScreen()) g = screen->availableGeometry();
    *static_cast<RECT *>(param) = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
}

extern "C" DWORD WINAPI GetDoubleClickTime(void) { return 500; }
extern "C" BOOL WINAPI MessageBeep(UINT) { return TRUE; }

extern "C" BOOL WINAPI SetRect(LPRECT r, int l, int t, int ri, int b) {
    if (!r) return FALSE;
    *r = RECT{l, t, ri, b};
    return TRUE;
}
extern "C" BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
extern "C" BOOL WINAPI CopyRect(LPRECT d, const RECT *s) {
    if (!d || !s) return FALSE;
    *d = *s;
    return TRUE;
}
extern "C" BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left -= dx, r->right += dx, r->top -= dy, r->bottom += dy;
    return TRUE;
}
extern "C" BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left += dx, r->right += dx, r->top += dy, r->bottom += dy;
    return TRUE;
}
extern "C" BOOL WINAPI IsRectEmpty(const RECT *r) { return !r || r->right <= r->left || r->bottom <= r->top; }
extern "C" BOOL WINAPI PtInRect(const RECT *r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
extern "C" BOOL WINAPI IntersectRect(LPRECT d, const RECT *a, const RECT *b) {
    if (!d || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(d);
        return FALSE;
    }
    *d = r;
    return TRUE;
}
