// Drawing through a DC: rectangles, lines, text, icons and bitmap copies over QPainter.
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <cstring>

#include "gdi_object.h"
#include "host_text.h"
#include "icon_object.h"
#include "windows.h"

namespace platform {

// The painter of a DC, created on demand for a memory DC's bitmap.
QPainter *PainterOf(DeviceContext *dc) {
    if (!dc) return nullptr;
    if (dc->painter) return dc->painter;
    if (!dc->memory) return nullptr;
    GdiObject *bitmap = GdiObjectOf(dc->bitmap);
    if (!bitmap || bitmap->stock) return nullptr;
    dc->painter = new QPainter(&bitmap->image);
    dc->ownsPainter = true;
    return dc->painter;
}

namespace {

QRect QtRect(const RECT &r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

QFont FontOf(DeviceContext *dc) { return FontOfHandle(HFONT(dc->font)); }

LONG EscapementOf(DeviceContext *dc) {
    GdiObject *o = GdiObjectOf(dc->font);
    return o && o->kind == GdiKind::Font ? o->logFont.lfEscapement : 0;
}

QString TextOf(LPCSTR text, int count) {
    if (!text) return {};
    std::string bytes = count < 0 ? std::string(text) : std::string(text, size_t(count));
    return QString::fromStdU16String(GbkToUtf16(bytes));
}

int QtTextFlags(UINT format) {
    int flags = (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    }
    if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    return flags;
}

void FillWith(QPainter *p, const QRect &r, GdiObject *brush) {
    if (p && brush && brush->kind == GdiKind::Brush && !brush->null) p->fillRect(r, brush->color);
}

QPen PenOf(DeviceContext *dc) {
    GdiObject *o = GdiObjectOf(dc->pen);
    if (!o || o->null) return QPen(Qt::NoPen);
    QPen pen(o->color, o->penWidth);
    if (o->penStyle == PS_DASH) pen.setStyle(Qt::DashLine);
    if (o->penStyle == PS_DOT) pen.setStyle(Qt::DotLine);
    return pen;
}

QBrush BrushOf(DeviceContext *dc) {
    GdiObject *o = GdiObjectOf(dc->brush);
    return o && !o->null ? QBrush(o->color) : QBrush(Qt::NoBrush);
}

// The picture a DC holds: a memory DC's bitmap, or nothing.
const QImage *ImageOf(DeviceContext *dc) {
    if (!dc || !dc->memory) return nullptr;
    GdiObject *bitmap = GdiObjectOf(dc->bitmap);
    if (!bitmap) return nullptr;
    if (dc->painter && dc->ownsPainter) dc->painter->end(), delete dc->painter, dc->painter = nullptr, dc->ownsPainter = false;
    return &bitmap->image;
}

} // namespace
} // namespace platform

using namespace platform;

extern "C" int WINAPI FillRect(HDC hdc, const RECT *rect, HBRUSH brush) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !rect) return 0;
    GdiObject *o = GdiObjectOf(brush);
    if (!o && uintptr_t(brush) > 0 && uintptr_t(brush) <= 31) o = GdiObjectOf(GetSysColorBrush(int(uintptr_t(brush)) - 1));
    if (!o || o->kind != GdiKind::Brush) return 0;
    FillWith(PainterOf(dc), QtRect(*rect), o);
    return 1;
}

extern "C" int WINAPI FrameRect(HDC hdc, const RECT *rect, HBRUSH brush) {
    DeviceContext *dc = DeviceContextOf(hdc);
    GdiObject *o = GdiObjectOf(brush);
    if (!dc || !rect || !o) return 0;
    if (QPainter *p = PainterOf(dc); p && !o->null) {
        QRect r = QtRect(*rect);
        p->fillRect(QRect(r.left(), r.top(), r.width(), 1), o->color);
        p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), o->color);
        p->fillRect(QRect(r.left(), r.top(), 1, r.height()), o->color);
        p->fillRect(QRect(r.right(), r.top(), 1, r.height()), o->color);
    }
    return 1;
}

extern "C" BOOL WINAPI DrawFocusRect(HDC hdc, const RECT *rect) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !rect) return FALSE;
    if (QPainter *p = PainterOf(dc)) {
        p->save();
        p->setPen(QPen(Qt::black, 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QtRect(*rect).adjusted(0, 0, -1, -1));
        p->restore();
    }
    return TRUE;
}

extern "C" int WINAPI DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !text || !rect) return 0;
    QString s = TextOf(text, count);
    if (!(format & DT_SINGLELINE)) s.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
    QFont font = FontOf(dc);
    int flags = QtTextFlags(format);
    QRect area = QtRect(*rect);
    QFontMetrics metrics(font);
    QRect bounds = metrics.boundingRect(area.width() > 0 ? area : QRect(area.topLeft(), QSize(1 << 20, 1 << 20)),
                                        flags, s);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + bounds.width();
        rect->bottom = rect->top + bounds.height();
        return bounds.height();
    }
    QPainter *p = PainterOf(dc);
    if (!p) return bounds.height();
    p->save();
    if (!(format & DT_NOCLIP)) p->setClipRect(area, Qt::IntersectClip);
    if (dc->bkMode == OPAQUE) p->fillRect(bounds, ColorOf(dc->bkColor));
    p->setFont(font);
    p->setPen(ColorOf(dc->textColor));
    if (LONG esc = EscapementOf(dc)) {
        p->translate(area.topLeft());
        p->rotate(-esc / 10.0);
        area.moveTo(0, 0);
    }
    p->drawText(area, flags, s);
    p->restore();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) return (area.height() + bounds.height()) / 2;
        if (format & DT_BOTTOM) return area.height();
    }
    return bounds.height();
}

extern "C" BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !text) return FALSE;
    QPainter *p = PainterOf(dc);
    if (!p) return TRUE;
    QString s = TextOf(text, count);
    QFont font = FontOf(dc);
    QFontMetrics metrics(font);
    p->save();
    p->setFont(font);
    QRect bounds(x, y, metrics.horizontalAdvance(s), metrics.height());
    if (dc->bkMode == OPAQUE) p->fillRect(bounds, ColorOf(dc->bkColor));
    p->setPen(ColorOf(dc->textColor));
    p->translate(x, y);
    if (LONG esc = EscapementOf(dc)) p->rotate(-esc / 10.0);
    p->drawText(0, metrics.ascent(), s);
    p->restore();
    return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !text || !size || count < 0) return FALSE;
    QFontMetrics metrics(FontOf(dc));
    size->cx = metrics.horizontalAdvance(TextOf(text, count));
    size->cy = metrics.height();
    return TRUE;
}

extern "C" BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || !tm) return FALSE;
    QFont font = FontOf(dc);
    QFontMetrics m(font);
    *tm = TEXTMETRICA{};
    tm->tmHeight = m.height();
    tm->tmAscent = m.ascent();
    tm->tmDescent = m.descent();
    tm->tmInternalLeading = std::max(0, m.height() - font.pixelSize());
    tm->tmExternalLeading = m.leading();
    tm->tmAveCharWidth = m.averageCharWidth();
    tm->tmMaxCharWidth = m.maxWidth();
    tm->tmWeight = font.weight();
    tm->tmItalic = font.italic();
    tm->tmUnderlined = font.underline();
    tm->tmStruckOut = font.strikeOut();
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmCharSet = GdiObjectOf(dc->font) ? GdiObjectOf(dc->font)->logFont.lfCharSet : GB2312_CHARSET;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    return TRUE;
}

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return FALSE;
    if (old) *old = POINT{dc->current.x(), dc->current.y()};
    dc->current = QPoint(x, y);
    return TRUE;
}

extern "C" BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return FALSE;
    if (QPainter *p = PainterOf(dc)) {
        p->save();
        p->setPen(PenOf(dc));
        p->drawLine(dc->current, QPoint(x, y));
        p->restore();
    }
    dc->current = QPoint(x, y);
    return TRUE;
}

extern "C" BOOL WINAPI Rectangle(HDC hdc, int l, int t, int r, int b) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return FALSE;
    if (QPainter *p = PainterOf(dc)) {
        p->save();
        p->setPen(PenOf(dc));
        p->setBrush(BrushOf(dc));
        p->drawRect(QRect(l, t, r - l - 1, b - t - 1));
        p->restore();
    }
    return TRUE;
}

extern "C" BOOL WINAPI Ellipse(HDC hdc, int l, int t, int r, int b) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return FALSE;
    if (QPainter *p = PainterOf(dc)) {
        p->save();
        p->setPen(PenOf(dc));
        p->setBrush(BrushOf(dc));
        p->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
        p->restore();
    }
    return TRUE;
}

extern "C" COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext *dc = DeviceContextOf(hdc);
    QPainter *p = PainterOf(dc);
    if (!p) return CLR_INVALID;
    p->fillRect(QRect(x, y, 1, 1), ColorOf(color));
    return color;
}

extern "C" COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    const QImage *image = ImageOf(DeviceContextOf(hdc));
    if (!image || !image->valid(x, y)) return CLR_INVALID;
    return ColorRefOf(image->pixelColor(x, y));
}

extern "C" BOOL WINAPI StretchBlt(HDC dest, int xd, int yd, int wd, int hd, HDC src, int xs, int ys, int ws, int hs,
                                  DWORD rop) {
    DeviceContext *d = DeviceContextOf(dest);
    if (!d) return FALSE;
    QPainter *p = PainterOf(d);
    if (rop == BLACKNESS || rop == WHITENESS) {
        if (p) p->fillRect(QRect(xd, yd, wd, hd), rop == BLACKNESS ? Qt::black : Qt::white);
        return TRUE;
    }
    const QImage *image = ImageOf(DeviceContextOf(src));
    if (!image) return FALSE;
    p = PainterOf(d);
    if (!p) return TRUE;
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, d->stretchMode == HALFTONE);
    if (rop == SRCINVERT) p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    else if (rop == SRCAND) p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    else if (rop == SRCPAINT) p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p->drawImage(QRect(xd, yd, wd, hd), *image, QRect(xs, ys, ws, hs));
    p->restore();
    return TRUE;
}

extern "C" int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    QPainter *p = PainterOf(DeviceContextOf(hdc));
    if (!p) return ERROR;
    QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    p->setClipRect(r, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    return r.isEmpty() ? NULLREGION : SIMPLEREGION;
}

extern "C" BOOL WINAPI BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
    return StretchBlt(dest, x, y, w, h, src, xs, ys, w, h, rop);
}

extern "C" BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON icon, int w, int h, UINT, HBRUSH, UINT) {
    DeviceContext *dc = DeviceContextOf(hdc);
    IconObject *o = IconObjectOf(icon);
    if (!dc || !o) return FALSE;
    QPainter *p = PainterOf(dc);
    if (!p || o->image.isNull()) return TRUE;
    QSize size = (w > 0 && h > 0) ? QSize(w, h) : o->image.size();
    p->drawImage(QRect(QPoint(x, y), size), o->image);
    return TRUE;
}

extern "C" BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
