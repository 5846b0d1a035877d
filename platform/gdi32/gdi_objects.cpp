// Brushes, pens, fonts and bitmaps behind HGDIOBJ handles, the stock objects among them.
#include <QFontDatabase>
#include <QFontMetrics>

#include <cstring>
#include <mutex>
#include <set>

#include "gdi_object.h"
#include "picture_decoder.h"
#include "host_text.h"
#include "qt_host.h"
#include "windows.h"

namespace platform {
namespace {

std::mutex objectsLock;
std::set<GdiObject *> &Objects() {
    static auto *objects = new std::set<GdiObject *>;
    return *objects;
}

const char kCjkFamily[] = "WenQuanYi Micro Hei";

bool IsCellSized(int stockFont) {
    return stockFont == SYSTEM_FONT || stockFont == SYSTEM_FIXED_FONT || stockFont == DEVICE_DEFAULT_FONT ||
           stockFont == OEM_FIXED_FONT;
}

GdiObject *Stock(int index) {
    static GdiObject *stock[DC_PEN + 1] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        auto brush = [](QColor c, bool null = false) {
            auto *o = new GdiObject{GdiKind::Brush};
            o->color = c, o->null = null;
            return o;
        };
        auto pen = [](QColor c, bool null = false) {
            auto *o = new GdiObject{GdiKind::Pen};
            o->color = c, o->null = null;
            return o;
        };
        stock[WHITE_BRUSH] = brush(Qt::white);
        stock[LTGRAY_BRUSH] = brush(QColor(192, 192, 192));
        stock[GRAY_BRUSH] = brush(QColor(128, 128, 128));
        stock[DKGRAY_BRUSH] = brush(QColor(64, 64, 64));
        stock[BLACK_BRUSH] = brush(Qt::black);
        stock[NULL_BRUSH] = brush(Qt::black, true);
        stock[WHITE_PEN] = pen(Qt::white);
        stock[BLACK_PEN] = pen(Qt::black);
        stock[NULL_PEN] = pen(Qt::black, true);
        stock[DC_BRUSH] = brush(Qt::white);
        stock[DC_PEN] = pen(Qt::black);
        LOGFONTA gui{};
        gui.lfHeight = -12;
        gui.lfWeight = FW_NORMAL;
        gui.lfCharSet = GB2312_CHARSET;
        std::strcpy(gui.lfFaceName, "\xcb\xce\xcc\xe5"); // the song-style face of Chinese systems
        for (int i : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT,
                      SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT}) {
            auto *o = new GdiObject{GdiKind::Font};
            o->logFont = gui;
            if (i == OEM_FIXED_FONT || i == ANSI_FIXED_FONT || i == SYSTEM_FIXED_FONT) o->logFont.lfPitchAndFamily = 1;
            // The system fonts have the 16-pixel cell of the system's own font; a cell size
            // needs font metrics, so they are made on first use (see ResolveStockFonts).
            if (IsCellSized(i)) o->logFont.lfHeight = 16;
            else o->font = FontFromLogFont(o->logFont);
            stock[i] = o;
        }
        auto *bitmap = new GdiObject{GdiKind::Bitmap};
        bitmap->image = QImage(1, 1, QImage::Format_RGB32);
        bitmap->image.fill(Qt::black);
        stock[DEFAULT_PALETTE] = bitmap;
        for (GdiObject *o : stock)
            if (o) o->stock = true, Objects().insert(o);
    });
    return index >= 0 && index <= DC_PEN ? stock[index] : nullptr;
}

int CellHeight(QFont font, int pixelSize) {
    font.setPixelSize(pixelSize);
    return QFontMetrics(font).height();
}

// The largest pixel size whose cell is no taller than `cellHeight`.
int CellToPixelSize(const QFont &font, int cellHeight) {
    int cell = CellHeight(font, 100);
    int size = cell > 0 ? std::max(1, cellHeight * 100 / cell) : cellHeight;
    while (size > 1 && CellHeight(font, size) > cellHeight) --size;
    while (CellHeight(font, size + 1) <= cellHeight) ++size;
    return size;
}

// Fonts sized by their cell need Qt's font database, which exists only once Qt runs.
void ResolveStockFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i <= DC_PEN; ++i)
            if (IsCellSized(i)) Stock(i)->font = FontFromLogFont(Stock(i)->logFont);
    });
}

} // namespace

GdiObject *GdiObjectOf(HGDIOBJ handle) {
    Stock(0);
    std::lock_guard lock(objectsLock);
    auto *o = static_cast<GdiObject *>(handle);
    return Objects().count(o) ? o : nullptr;
}

HGDIOBJ AddGdiObject(GdiObject *object) {
    Stock(0);
    std::lock_guard lock(objectsLock);
    Objects().insert(object);
    return object;
}

QColor ColorOf(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF ColorRefOf(const QColor &c) { return RGB(c.red(), c.green(), c.blue()); }

QFont FontFromLogFont(const LOGFONTA &lf) {
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, lf.lfFaceName, LF_FACESIZE);
    QString family = QString::fromStdU16String(GbkToUtf16(face));
    QFont font;
    QStringList families;
    if (!family.isEmpty()) families << family;
    if ((lf.lfPitchAndFamily & 3) == 1) families << "DejaVu Sans Mono";
    families << kCjkFamily;
    font.setFamilies(families);
    int height = lf.lfHeight == 0 ? -12 : int(lf.lfHeight);
    font.setPixelSize(height < 0 ? -height : CellToPixelSize(font, height));
    if (lf.lfWeight > 0) font.setWeight(QFont::Weight(std::clamp<int>(lf.lfWeight, 100, 900)));
    font.setItalic(lf.lfItalic);
    font.setUnderline(lf.lfUnderline);
    font.setStrikeOut(lf.lfStrikeOut);
    if (lf.lfWidth > 0) {
        int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0) font.setStretch(std::clamp<int>(int(lf.lfWidth) * 100 / natural, 1, 4000));
    }
    font.setStyleStrategy(lf.lfQuality == 3 /* NONANTIALIASED */ ? QFont::NoAntialias : QFont::PreferDefault);
    return font;
}

QFont FontOfHandle(HFONT handle) {
    GdiObject *o = GdiObjectOf(handle);
    if (!o || o->kind != GdiKind::Font) o = Stock(DEFAULT_GUI_FONT);
    if (o->stock) ResolveStockFonts();
    return o->font;
}

QFont SystemFont() { return FontOfHandle(HFONT(Stock(SYSTEM_FONT))); }

} // namespace platform

using namespace platform;

extern "C" HGDIOBJ WINAPI GetStockObject(int index) { return Stock(index); }

extern "C" HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto *o = new GdiObject{GdiKind::Brush};
    o->color = ColorOf(color);
    return static_cast<HBRUSH>(AddGdiObject(o));
}

extern "C" HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH *lb) {
    if (!lb) return nullptr;
    if (lb->lbStyle == BS_NULL) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return CreateSolidBrush(lb->lbColor);
}

extern "C" HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    auto *o = new GdiObject{GdiKind::Pen};
    o->color = ColorOf(color);
    o->penWidth = std::max(1, width);
    o->penStyle = style;
    o->null = style == PS_NULL;
    return static_cast<HPEN>(AddGdiObject(o));
}

extern "C" HFONT WINAPI CreateFontIndirectA(const LOGFONTA *lf) {
    if (!lf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    GuiApplication(); // font metrics need the application on the GUI thread
    auto *o = new GdiObject{GdiKind::Font};
    o->logFont = *lf;
    o->font = FontFromLogFont(*lf);
    return static_cast<HFONT>(AddGdiObject(o));
}

extern "C" HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                   DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                                   DWORD clipPrecision, DWORD quality, DWORD pitch, LPCSTR face) {
    LOGFONTA lf{height, width, escapement, orientation, weight, BYTE(italic), BYTE(underline), BYTE(strikeOut),
                BYTE(charSet), BYTE(outPrecision), BYTE(clipPrecision), BYTE(quality), BYTE(pitch), {}};
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

extern "C" BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    GdiObject *o = GdiObjectOf(handle);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    {
        std::lock_guard lock(objectsLock);
        Objects().erase(o);
    }
    delete o;
    return TRUE;
}

extern "C" DWORD WINAPI GetObjectType(HGDIOBJ handle) {
    if (DeviceContextOf(static_cast<HDC>(handle))) return DeviceContextOf(static_cast<HDC>(handle))->memory ? OBJ_MEMDC : OBJ_DC;
    GdiObject *o = GdiObjectOf(handle);
    if (!o) return 0;
    switch (o->kind) {
    case GdiKind::Brush: return OBJ_BRUSH;
    case GdiKind::Pen: return OBJ_PEN;
    case GdiKind::Font: return OBJ_FONT;
    case GdiKind::Bitmap: return OBJ_BITMAP;
    case GdiKind::Region: return OBJ_REGION;
    }
    return 0;
}

extern "C" int WINAPI GetObjectA(HGDIOBJ handle, int size, LPVOID out) {
    GdiObject *o = GdiObjectOf(handle);
    if (!o) return 0;
    switch (o->kind) {
    case GdiKind::Font:
        if (out && size >= int(sizeof(LOGFONTA))) std::memcpy(out, &o->logFont, sizeof(LOGFONTA));
        return int(sizeof(LOGFONTA));
    case GdiKind::Bitmap: {
        BITMAP bm{0, o->image.width(), o->image.height(), LONG(o->image.bytesPerLine()), 1,
                  WORD(o->image.depth()), nullptr};
        if (out && size >= int(sizeof(BITMAP))) std::memcpy(out, &bm, sizeof bm);
        return int(sizeof(BITMAP));
    }
    case GdiKind::Brush: {
        LOGBRUSH lb{o->null ? UINT(BS_NULL) : UINT(BS_SOLID), ColorRefOf(o->color), 0};
        if (out && size >= int(sizeof(LOGBRUSH))) std::memcpy(out, &lb, sizeof lb);
        return int(sizeof(LOGBRUSH));
    }
    default: return 0;
    }
}

extern "C" HBITMAP WINAPI CreateBitmap(int width, int height, UINT, UINT bitCount, const void *bits) {
    if (width <= 0 || height <= 0) return nullptr;
    auto *o = new GdiObject{GdiKind::Bitmap};
    o->image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    o->image.fill(Qt::black);
    if (bits && bitCount == 32)
        for (int y = 0; y < height; ++y)
            std::memcpy(o->image.scanLine(y), static_cast<const BYTE *>(bits) + size_t(y) * width * 4, size_t(width) * 4);
    return static_cast<HBITMAP>(AddGdiObject(o));
}

namespace {

// Rows of a DIB count from the bottom unless its height is negative.
int DibRow(const BITMAPINFOHEADER &h, int row, int height) { return h.biHeight > 0 ? height - 1 - row : row; }

void CopyDibRow(const QImage &image, int y, int bits, BYTE *out) {
    const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x, out += bits / 8) {
        QRgb c = line[x];
        out[0] = BYTE(qBlue(c)), out[1] = BYTE(qGreen(c)), out[2] = BYTE(qRed(c));
        if (bits == 32) out[3] = BYTE(qAlpha(c));
    }
}

} // namespace

// 24- and 32-bit uncompressed DIB rows; without a buffer, only the header is filled in.
extern "C" int WINAPI GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT) {
    GdiObject *o = GdiObjectOf(bitmap);
    if (!o || o->kind != GdiKind::Bitmap || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER &h = info->bmiHeader;
    int width = o->image.width(), height = o->image.height();
    if (!bits) {
        if (h.biBitCount == 0) h.biBitCount = 32;
        h.biWidth = width, h.biHeight = height, h.biPlanes = 1, h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(((width * h.biBitCount + 31) / 32) * 4 * height);
        return height;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB || h.biWidth != width) return 0;
    QImage image = o->image.convertToFormat(QImage::Format_ARGB32);
    size_t stride = size_t(((width * h.biBitCount + 31) / 32) * 4);
    UINT done = 0;
    for (UINT row = start; row < start + lines && int(row) < height; ++row, ++done)
        CopyDibRow(image, DibRow(h, int(row), height), h.biBitCount, static_cast<BYTE *>(bits) + stride * (row - start));
    return int(done);
}

extern "C" HBITMAP WINAPI CreateCompatibleBitmap(HDC, int width, int height) {
    return CreateBitmap(width, height, 1, 32, nullptr);
}

namespace platform {

HBITMAP BitmapFromData(const BYTE *data, size_t size) {
    QImage image = DecodePicture(data, size).image;
    return image.isNull() ? nullptr : BitmapFromImage(image);
}

HBITMAP BitmapFromImage(const QImage &image) {
    auto *o = new GdiObject{GdiKind::Bitmap};
    o->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return static_cast<HBITMAP>(AddGdiObject(o));
}

} // namespace platform
