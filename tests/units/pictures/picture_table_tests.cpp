// One table of small pictures, each decoded the way the units load them and drawn in
// every layout into a memory DC, then compared by pixels. Win32 calls only, so the
// table runs on the Windows build as well.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "picture_drawing.h"
#include "picture_files.h"

namespace {

using namespace picture_files;

constexpr int kArea = 40;
constexpr int kMargin = 4; // the area sits inside a larger bitmap: nothing may land outside it
constexpr COLORREF kBackground = RGB(128, 128, 128);

struct PictureRow {
    const char *name;
    std::string data;
    bool decodes;
    bool transparentCorner; // the bottom-right quarter lets the background through
    int tolerance;          // JPEG and 16-bit: lost low bits and conversion rounding
};

std::vector<PictureRow> Table() {
    return {
        {"24-bit BMP", Bmp24(), true, false, 0},
        {"24-bit BMP, rows top-down", Bmp24(true), true, false, 0},
        {"4-bit BMP", Bmp4(), true, false, 0},
        {"8-bit RLE BMP", Bmp8Rle(), true, false, 0},
        {"16-bit BMP with bit fields", Bmp16BitFields(), true, false, 7}, // 5 and 6 bits widened
        {"32-bit BMP with bit fields", Bmp32BitFields(), true, false, 0},
        {"JPEG", Jpeg(), true, false, 6},
        {"GIF, first of two frames", Gif(), true, false, 0},
        {"PNG", Png(), true, false, 0},
        {"icon", IconFile(1), true, true, 0},
        {"cursor", IconFile(2), true, true, 0},
        {"damaged BMP", DamagedBmp(), false, false, 0},
        {"oversized BMP", OversizedBmp(), false, false, 0},
        {"not a picture", "this is text, not a picture", false, false, 0},
    };
}

// Where each layout puts picture pixel (px, py) in the 40 by 40 area, checked at a
// few points: a point and the picture pixel it must show, or -1 for background.
struct Probe {
    int x, y, px, py;
};
const Probe kProbes[4][6] = {
    {{4, 4, 4, 4}, {12, 4, 12, 4}, {4, 12, 4, 12}, {12, 12, 12, 12}, {20, 4, -1, -1}, {30, 30, -1, -1}},   // natural
    {{20, 4, 4, 4}, {28, 4, 12, 4}, {4, 20, 4, 4}, {36, 36, 4, 4}, {28, 28, 12, 12}, {12, 36, 12, 4}},     // tiled
    {{16, 16, 4, 4}, {24, 16, 12, 4}, {16, 24, 4, 12}, {24, 24, 12, 12}, {4, 4, -1, -1}, {35, 35, -1, -1}}, // centred
    {{5, 5, 2, 2}, {35, 5, 14, 2}, {5, 35, 2, 14}, {35, 35, 14, 14}, {18, 18, 7, 7}, {22, 22, 8, 8}},     // stretched
};

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

COLORREF Expected(const PictureRow &row, int px, int py) {
    if (px < 0) return kBackground;
    int quarter = QuarterAt(px, py);
    if (row.transparentCorner && quarter == 3) return kBackground;
    return RGB(kQuarters[quarter].r, kQuarters[quarter].g, kQuarters[quarter].b);
}

// Draws the picture over the background in a memory DC and hands the DC to `check`.
template <typename Check> void DrawnIn(IPicture *picture, int layout, Check check) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const int side = kArea + 2 * kMargin;
    HBITMAP target = CreateCompatibleBitmap(screen, side, side);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, side, side};
    HBRUSH brush = CreateSolidBrush(kBackground);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    units::DrawPicture(dc, picture, layout, {kMargin, kMargin, kMargin + kArea, kMargin + kArea});
    check(dc);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(PictureTable, EachPictureDecodesAndDrawsInEveryLayout) {
    for (const PictureRow &row : Table()) {
        SCOPED_TRACE(row.name);
        IPicture *picture = units::PictureFromData(row.data);
        EXPECT_EQ(picture != nullptr, row.decodes);
        if (!picture) continue;
        SHORT type = 0;
        picture->get_Type(&type);
        EXPECT_EQ(type, row.transparentCorner ? PICTYPE_ICON : PICTYPE_BITMAP);
        for (int layout = 0; layout < 4; ++layout)
            DrawnIn(picture, layout, [&](HDC dc) {
                for (const Probe &p : kProbes[layout]) {
                    COLORREF want = Expected(row, p.px, p.py), got = GetPixel(dc, kMargin + p.x, kMargin + p.y);
                    EXPECT_TRUE(Near(got, want, row.tolerance))
                        << "layout " << layout << " at " << p.x << "," << p.y << ": got " << std::hex << got
                        << ", want " << want;
                }
                EXPECT_EQ(GetPixel(dc, kArea + kMargin + 1, kArea + kMargin + 1), kBackground) << "layout " << layout;
            });
        units::ReleasePicture(picture);
        EXPECT_EQ(picture, nullptr);
    }
}

} // namespace
