// The "BUTTON" control (push buttons) over QPushButton. The bevel comes from Qt's
// style; the caption or image is drawn here with the BS_* alignment. A click (mouse
// down and up, space, or BM_CLICK) reaches the parent as BN_CLICKED.
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "control_support.h"
#include "gdi_object.h"
#include "host_text.h"
#include "icon_object.h"
#include "window_host.h"

namespace platform {
namespace {

class Button : public QPushButton {
public:
    Button(HWND hwnd, QWidget *parent) : QPushButton(parent), hwnd_(hwnd) {
        connect(this, &QPushButton::clicked, [this] { NotifyParent(hwnd_, BN_CLICKED); });
    }
    HANDLE image = nullptr;
    UINT imageType = IMAGE_BITMAP;
    int check = BST_UNCHECKED;

protected:
    void paintEvent(QPaintEvent *) override {
        auto r = FindWindowRecord(hwnd_);
        if (!r) return;
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        if ((r->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) option.features |= QStyleOptionButton::DefaultButton;
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
        if (isDown()) area.translate(1, 1);
        int flags = Alignment(r->style) | Qt::TextShowMnemonic;
        if (r->style & BS_MULTILINE) flags |= Qt::TextWordWrap;
        if (DrawImage(painter, area, r->style, flags)) return;
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(area, flags, QString::fromStdU16String(GbkToUtf16(r->text)));
    }

private:
    static int Alignment(DWORD style) {
        int h = (style & BS_CENTER) == BS_LEFT ? Qt::AlignLeft : (style & BS_CENTER) == BS_RIGHT ? Qt::AlignRight
                                                                                                : Qt::AlignHCenter;
        int v = (style & BS_VCENTER) == BS_TOP ? Qt::AlignTop : (style & BS_VCENTER) == BS_BOTTOM ? Qt::AlignBottom
                                                                                                  : Qt::AlignVCenter;
        return h | v;
    }

    bool DrawImage(QPainter &painter, const QRect &area, DWORD style, int flags) {
        QImage picture;
        if ((style & BS_ICON) && imageType != IMAGE_BITMAP) {
            if (IconObject *icon = IconObjectOf(HICON(image))) picture = icon->image;
        } else if ((style & BS_BITMAP) && imageType == IMAGE_BITMAP) {
            if (GdiObject *bitmap = GdiObjectOf(image); bitmap && bitmap->kind == GdiKind::Bitmap) picture = bitmap->image;
        }
        if (picture.isNull()) return false;
        QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(flags & 0xFF), picture.size(), area);
        painter.drawImage(place, picture);
        return true;
    }

    HWND hwnd_;
};

Button *ButtonOf(HWND hwnd) { return dynamic_cast<Button *>(HostOf(hwnd)); }

void ReplayKey(QWidget *target, QEvent::Type type) {
    QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    ReplayToWidget(target, &key);
}

LRESULT Click(HWND hwnd) {
    RECT c;
    GetClientRect(hwnd, &c);
    LPARAM centre = MAKELPARAM(c.right / 2, c.bottom / 2);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, centre);
    return 0;
}

LRESULT SetStyle(HWND hwnd, WPARAM style, LPARAM redraw) {
    auto r = FindWindowRecord(hwnd);
    r->style = (r->style & ~DWORD(BS_TYPEMASK)) | (DWORD(style) & BS_TYPEMASK);
    if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT ButtonMessage(Button *b, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        ReplayMouse(hwnd, b, WM_LBUTTONDOWN, wp, lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: ReplayMouse(hwnd, b, msg, wp, lp); return 0;
    case WM_KEYDOWN:
        if (wp == VK_SPACE) ReplayKey(b, QEvent::KeyPress);
        return 0;
    case WM_KEYUP:
        if (wp == VK_SPACE) ReplayKey(b, QEvent::KeyRelease);
        return 0;
    case WM_SETFOCUS:
        if (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (b->isDown()) b->setDown(false);
        if (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        b->update();
        return r;
    }
    case WM_GETDLGCODE: {
        DWORD type = DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
        return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    case BM_CLICK: return Click(hwnd);
    case BM_SETSTYLE: return SetStyle(hwnd, wp, lp);
    case BM_GETCHECK: return b->check;
    case BM_SETCHECK: b->check = int(wp); b->update(); return 0;
    case BM_GETSTATE: return (b->isDown() ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0) | b->check;
    case BM_SETSTATE: b->setDown(wp != 0); return 0;
    case BM_SETIMAGE: {
        if (wp != IMAGE_BITMAP && wp != IMAGE_ICON && wp != IMAGE_CURSOR) return 0;
        HANDLE old = b->imageType == wp || (wp != IMAGE_BITMAP && b->imageType != IMAGE_BITMAP) ? b->image : nullptr;
        b->image = reinterpret_cast<HANDLE>(lp);
        b->imageType = UINT(wp);
        b->update();
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return b->imageType == wp ? reinterpret_cast<LRESULT>(b->image) : 0;
    case WM_STYLECHANGED: b->update(); return 0;
    default: {
        LRESULT result;
        if (CommonControlMessage(hwnd, msg, wp, lp, result)) return result;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
}

} // namespace

QWidget *MakeButtonWidget(HWND hwnd, QWidget *parent) {
    auto *b = new Button(hwnd, parent);
    b->setAutoDefault(false);
    b->setFont(SystemFont());
    return b;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Button *b = ButtonOf(hwnd);
    return b ? ButtonMessage(b, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace platform
