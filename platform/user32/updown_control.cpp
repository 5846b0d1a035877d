// The up-down control ("msctls_updown32"): two arrow buttons. A click proposes a change
// through UDN_DELTAPOS, which the parent may refuse; then the position moves within
// the range and WM_VSCROLL (WM_HSCROLL for UDS_HORZ) reports it.
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <string>

#include "control_support.h"
#include "window_host.h"

namespace platform {
namespace {

class UpDown : public QWidget {
public:
    UpDown(HWND hwnd, QWidget *parent) : QWidget(parent), hwnd_(hwnd) {}
    int lower = 100, upper = 0, pos = 0;
    HWND buddy = nullptr;
    int pressed = 0; // 1 upper or right arrow, -1 the other

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        bool horizontal = GetWindowLongPtrA(hwnd_, GWL_STYLE) & UDS_HORZ;
        QRect first = horizontal ? QRect(0, 0, width() / 2, height()) : QRect(0, 0, width(), height() / 2);
        QRect second = horizontal ? QRect(width() / 2, 0, width() - width() / 2, height())
                                  : QRect(0, height() / 2, width(), height() - height() / 2);
        DrawArrow(painter, first, horizontal ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowUp,
                  pressed == (horizontal ? -1 : 1));
        DrawArrow(painter, second, horizontal ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowDown,
                  pressed == (horizontal ? 1 : -1));
    }

private:
    void DrawArrow(QPainter &painter, const QRect &r, QStyle::PrimitiveElement arrow, bool down) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = r;
        option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        option.rect = r.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(arrow, &option, &painter, this);
    }
    HWND hwnd_;
};

UpDown *UpDownOf(HWND hwnd) { return dynamic_cast<UpDown *>(HostOf(hwnd)); }

int Clamp(const UpDown *u, int value) {
    return std::clamp(value, std::min(u->lower, u->upper), std::max(u->lower, u->upper));
}

void UpdateBuddy(HWND hwnd, UpDown *u) {
    if (u->buddy && (GetWindowLongPtrA(hwnd, GWL_STYLE) & UDS_SETBUDDYINT))
        SetWindowTextA(u->buddy, std::to_string(u->pos).c_str());
}

// One step toward the upper bound (`up`) or away from it.
void Step(HWND hwnd, UpDown *u, bool up) {
    int delta = (up ? 1 : -1) * (u->upper < u->lower ? -1 : 1);
    auto r = FindWindowRecord(hwnd);
    HWND parent = GetParent(hwnd);
    if (!r || !parent) return;
    NMUPDOWN n{{hwnd, UINT_PTR(r->id), UINT(UDN_DELTAPOS)}, u->pos, delta};
    if (SendMessageA(parent, WM_NOTIFY, WPARAM(r->id), reinterpret_cast<LPARAM>(&n))) return;
    int next = u->pos + n.iDelta;
    int low = std::min(u->lower, u->upper), high = std::max(u->lower, u->upper);
    if (next < low || next > high)
        next = (r->style & UDS_WRAP) ? (next < low ? high : low) : Clamp(u, next);
    u->pos = next;
    UpdateBuddy(hwnd, u);
    UINT scroll = (r->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageA(parent, scroll, MAKEWPARAM(SB_THUMBPOSITION, WORD(u->pos)), reinterpret_cast<LPARAM>(hwnd));
}

// The arrow under a client point: 1 for the upper (or right) arrow, -1 for the other.
int ArrowAt(HWND hwnd, LPARAM lp) {
    RECT c;
    GetClientRect(hwnd, &c);
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & UDS_HORZ) return GET_X_LPARAM(lp) >= c.right / 2 ? 1 : -1;
    return GET_Y_LPARAM(lp) < c.bottom / 2 ? 1 : -1;
}

LRESULT UpDownMessage(UpDown *u, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowEnabled(hwnd)) return 0;
        u->pressed = ArrowAt(hwnd, lp);
        u->update();
        Step(hwnd, u, u->pressed == 1);
        return 0;
    case WM_LBUTTONUP:
        if (u->pressed) {
            u->pressed = 0;
            u->update();
            if (HWND parent = GetParent(hwnd)) {
                UINT scroll = (GetWindowLongPtrA(hwnd, GWL_STYLE) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
                SendMessageA(parent, scroll, MAKEWPARAM(SB_ENDSCROLL, WORD(u->pos)), reinterpret_cast<LPARAM>(hwnd));
            }
        }
        return 0;
    case UDM_SETRANGE:
        u->upper = short(LOWORD(lp)), u->lower = short(HIWORD(lp));
        u->pos = Clamp(u, u->pos);
        return 0;
    case UDM_GETRANGE: return MAKELONG(WORD(u->upper), WORD(u->lower));
    case UDM_SETRANGE32: u->lower = int(wp), u->upper = int(lp), u->pos = Clamp(u, u->pos); return 0;
    case UDM_GETRANGE32:
        if (wp) *reinterpret_cast<int *>(wp) = u->lower;
        if (lp) *reinterpret_cast<int *>(lp) = u->upper;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = u->pos;
        u->pos = Clamp(u, msg == UDM_SETPOS ? short(LOWORD(lp)) : int(lp));
        UpdateBuddy(hwnd, u);
        return old;
    }
    case UDM_GETPOS: return MAKELONG(WORD(u->pos), 0);
    case UDM_GETPOS32:
        if (lp) *reinterpret_cast<BOOL *>(lp) = FALSE;
        return u->pos;
    case UDM_SETBUDDY: {
        HWND old = u->buddy;
        u->buddy = HWND(wp);
        return reinterpret_cast<LRESULT>(old);
    }
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(u->buddy);
    case WM_ENABLE: u->update(); return 0;
    default: {
        LRESULT result;
        if (CommonControlMessage(hwnd, msg, wp, lp, result)) return result;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
}

} // namespace

QWidget *MakeUpDownWidget(HWND hwnd, QWidget *parent) { return new UpDown(hwnd, parent); }

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    UpDown *u = UpDownOf(hwnd);
    return u ? UpDownMessage(u, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace platform
