// The window's background: its colour and its picture in one of four layouts.
#include <algorithm>
#include <cstring>
#include <vector>

#include "window_unit.h"

namespace units {
namespace {

constexpr uint32_t kSystemColour = 0xff000000;

uint32_t Word32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Word16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

COLORREF Colour(int32_t stored) {
    return uint32_t(stored) == kSystemColour ? GetSysColor(COLOR_BTNFACE) : COLORREF(uint32_t(stored) & 0xffffff);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

struct BmpLayout {
    uint32_t offset;
    int32_t width, rows;
    uint16_t bits;
    bool topDown;
    size_t stride;
};

bool ReadBmpLayout(const uint8_t *p, size_t size, BmpLayout &bmp) {
    if (size < 54 || p[0] != 'B' || p[1] != 'M') return false;
    uint32_t header = Word32(p + 14), compression = Word32(p + 30);
    int32_t height = int32_t(Word32(p + 22));
    bmp.offset = Word32(p + 10);
    bmp.width = int32_t(Word32(p + 18));
    bmp.bits = Word16(p + 28);
    bmp.topDown = height < 0;
    int64_t rows = bmp.topDown ? -int64_t(height) : height;
    if (header < 40 || bmp.width <= 0 || rows <= 0 || bmp.width > 16384 || rows > 16384 ||
        (bmp.bits != 24 && bmp.bits != 32) || (compression != 0 && !(compression == 3 && bmp.bits == 32)))
        return false;
    bmp.rows = int32_t(rows);
    bmp.stride = (size_t(bmp.width) * bmp.bits / 8 + 3) & ~size_t(3);
    return bmp.offset <= size && bmp.stride * size_t(bmp.rows) <= size - bmp.offset;
}

// 32-bit opaque pixels, rows from the top.
std::vector<uint8_t> TopDownPixels(const uint8_t *p, const BmpLayout &bmp) {
    std::vector<uint8_t> pixels(size_t(bmp.width) * size_t(bmp.rows) * 4);
    for (int32_t y = 0; y < bmp.rows; ++y) {
        const uint8_t *src = p + bmp.offset + bmp.stride * size_t(bmp.topDown ? y : bmp.rows - 1 - y);
        uint8_t *dst = pixels.data() + size_t(y) * size_t(bmp.width) * 4;
        for (int32_t x = 0; x < bmp.width; ++x, src += bmp.bits / 8, dst += 4) {
            std::memcpy(dst, src, 3);
            dst[3] = 0xff;
        }
    }
    return pixels;
}

} // namespace

RECT PictureRect(int layout, SIZE picture, SIZE client) {
    if (layout == 3) return {0, 0, client.cx, client.cy};
    if (layout != 2) return {0, 0, picture.cx, picture.cy};
    SIZE shown = picture;
    if (picture.cx > client.cx || picture.cy > client.cy) {
        // Shrink proportionally to the tighter side; never enlarge.
        if (int64_t(picture.cx) * client.cy > int64_t(picture.cy) * client.cx)
            shown = {client.cx, LONG(int64_t(picture.cy) * client.cx / picture.cx)};
        else
            shown = {LONG(int64_t(picture.cx) * client.cy / picture.cy), client.cy};
    }
    LONG left = (client.cx - shown.cx) / 2, top = (client.cy - shown.cy) / 2;
    return {left, top, left + shown.cx, top + shown.cy};
}

// Uncompressed 24- and 32-bit BMP files; anything else does not decode.
HBITMAP BitmapFromPictureData(const std::string &data) {
    BmpLayout bmp;
    if (!ReadBmpLayout(reinterpret_cast<const uint8_t *>(data.data()), data.size(), bmp)) return nullptr;
    std::vector<uint8_t> pixels = TopDownPixels(reinterpret_cast<const uint8_t *>(data.data()), bmp);
    return CreateBitmap(bmp.width, bmp.rows, 1, 32, pixels.data());
}

void DrawPicture(HDC dc, HBITMAP picture, int layout, RECT area) {
    SIZE size = BitmapSize(picture);
    SIZE room = {area.right - area.left, area.bottom - area.top};
    if (size.cx <= 0 || size.cy <= 0 || room.cx <= 0 || room.cy <= 0) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    if (layout == 1) {
        for (int y = 0; y < room.cy; y += size.cy)
            for (int x = 0; x < room.cx; x += size.cx)
                BitBlt(dc, area.left + x, area.top + y, std::min<LONG>(size.cx, room.cx - x),
                       std::min<LONG>(size.cy, room.cy - y), source, 0, 0, SRCCOPY);
    } else {
        RECT r = PictureRect(layout, size, room);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, area.left + r.left, area.top + r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                   size.cx, size.cy, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

void PaintWindow(CWinFormUnit &unit) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(unit.Handle(), &ps);
    RECT client;
    GetClientRect(unit.Handle(), &client);
    HBRUSH brush = CreateSolidBrush(Colour(unit.props.number[kWinBackground]));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (!unit.pictureTried && !unit.props.data[kWinPicture].empty()) {
        unit.picture = BitmapFromPictureData(unit.props.data[kWinPicture]);
        unit.pictureTried = true;
    }
    if (unit.picture) DrawPicture(dc, unit.picture, unit.props.number[kWinLayout], client);
    EndPaint(unit.Handle(), &ps);
}

} // namespace units
