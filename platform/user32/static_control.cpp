// The "STATIC" control: text with the SS_* alignment in the colours the parent picks
// through WM_CTLCOLORSTATIC, or an icon or bitmap.
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include "control_support.h"
#include "gdi_object.h"
#include "host_text.h"
#include "icon_object.h"
#include "window_host.h"

namespace platform {
namespace {

class Static : public QWidget {
public:
    Static(HWND hwnd, QWidget *parent) : QWidget(parent), hwnd_(hwnd) {}
    HANDLE image = nullptr;

protected:
    void paintEvent(QPaintEvent *) override {
        auto r = FindWindowRecord(hwnd_);
        if (!r) return;
        QPainter painter(this);
        COLORREF text = GetSysColor(COLOR_WINDOWTEXT), back = GetSysColor(COLOR_BTNFACE);
        bool filled = ColoursFromParent(hwnd_, WM_CTLCOLORSTATIC, text, back);
        if (filled || !(r->style & WS_CHILD)) painter.fillRect(rect(), ColorOf(back));
        DWORD type = r->style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP) {
            QImage picture;
            if (IconObject *icon = IconObjectOf(HICON(image))) picture = icon->image;
            else if (GdiObject *bitmap = GdiObjectOf(image)) picture = bitmap->image;
            QRect place = (r->style & SS_CENTERIMAGE) ? QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, picture.size(), rect())
                                                      : QRect(QPoint(0, 0), picture.size());
            if (!picture.isNull()) painter.drawImage(place, picture);
            return;
        }
        int flags = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        flags |= Qt::AlignTop | Qt::TextWordWrap;
        if (!(r->style & SS_NOPREFIX)) flags |= Qt::TextShowMnemonic;
        painter.setPen(isEnabled() ? ColorOf(text) : ColorOf(GetSysColor(COLOR_GRAYTEXT)));
        painter.setFont(font());
        painter.drawText(rect(), flags, QString::fromStdU16String(GbkToUtf16(r->text)));
    }

private:
    HWND hwnd_;
};

LRESULT StaticMessage(Static *s, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    bool notify = GetWindowLongPtrA(hwnd, GWL_STYLE) & SS_NOTIFY;
    switch (msg) {
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        s->update();
        return r;
    }
    case WM_LBUTTONUP:
        if (notify) NotifyParent(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (notify) NotifyParent(hwnd, STN_DBLCLK);
        return 0;
    case WM_NCHITTEST: return notify ? HTCLIENT : HTTRANSPARENT;
    case STM_SETICON:
    case STM_SETIMAGE: {
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? LPARAM(wp) : lp);
        s->update();
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(s->image);
    case WM_STYLECHANGED: s->update(); return 0;
    default: {
        LRESULT result;
        if (CommonControlMessage(hwnd, msg, wp, lp, result)) return result;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
}

} // namespace

QWidget *MakeStaticWidget(HWND hwnd, QWidget *parent) {
    auto *s = new Static(hwnd, parent);
    s->setFont(SystemFont());
    return s;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto *s = dynamic_cast<Static *>(HostOf(hwnd));
    return s ? StaticMessage(s, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace platform
