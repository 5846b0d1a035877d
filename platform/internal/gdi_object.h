// gdi32's objects and device contexts. Handles point to live records; stock objects
// are never deleted.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include "wingdi.h"

class QPainter;
class QPaintDevice;
class QWidget;

namespace platform {

enum class GdiKind { Brush, Pen, Font, Bitmap, Region };

struct GdiObject {
    explicit GdiObject(GdiKind kind) : kind(kind) {}
    GdiKind kind;
    bool stock = false;
    // brush and pen
    bool null = false;
    QColor color;
    int penWidth = 1;
    int penStyle = PS_SOLID;
    // font
    LOGFONTA logFont{};
    QFont font;
    // bitmap
    QImage image;
    // region, in logical units
    QRegion region;
};

struct DeviceContext {
    QPainter *painter = nullptr;  // null: a DC that only measures
    QPaintDevice *device = nullptr;
    QWidget *widget = nullptr;
    HWND hwnd = nullptr;
    bool ownsPainter = false;
    bool memory = false;
    HGDIOBJ brush = nullptr, pen = nullptr, font = nullptr, bitmap = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int stretchMode = 1;
    QPoint current;
};

GdiObject *GdiObjectOf(HGDIOBJ handle);
HGDIOBJ AddGdiObject(GdiObject *object);
DeviceContext *DeviceContextOf(HDC hdc);
// The painter of a DC, made on first use for a memory DC's bitmap; null for a DC that
// only measures.
QPainter *PainterOf(DeviceContext *dc);
HDC AddDeviceContext(DeviceContext *dc);
void RemoveDeviceContext(HDC hdc);

QColor ColorOf(COLORREF color);
COLORREF ColorRefOf(const QColor &color);
// The Qt font a LOGFONTA asks for; CJK faces fall back to an installed CJK font.
QFont FontFromLogFont(const LOGFONTA &lf);
QFont FontOfHandle(HFONT font); // DEFAULT_GUI_FONT for null
// What a control draws with until it is given a font (WM_GETFONT then answers null).
QFont SystemFont();
// A bitmap decoded from picture data (BMP, PNG, JPEG, GIF, icons); null when it does not
// decode or is above the picture size limit.
HBITMAP BitmapFromData(const BYTE *data, size_t size);
HBITMAP BitmapFromImage(const QImage &image);
// A DC that paints with `painter` on a window during its WM_PAINT.
HDC OpenPaintDC(HWND hwnd, QWidget *widget, QPainter *painter);
void ClosePaintDC(HDC hdc);

} // namespace platform
