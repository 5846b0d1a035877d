// gdi32 through painting: a label-like window draws its text in WM_PAINT and the grabbed
// image shows the text colour; fonts, text measures and memory bitmaps.
#include <gtest/gtest.h>

#include <QImage>

#include <cstring>

#include "window_test_support.h"

using namespace window_test;

namespace {

COLORREF labelColour = RGB(200, 0, 0);
std::string labelText;

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH back = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &r, back);
    DeleteObject(back);
    LOGFONTA lf{};
    lf.lfHeight = -24;
    lf.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, labelColour);
    DrawTextA(dc, labelText.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
    return 0;
}

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = LabelProc;
        wc.hbrBackground = HBRUSH(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = "PaintedLabel";
        RegisterClassA(&wc);
    }
};

int CountNear(const QImage &image, QColor c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) < 40 && std::abs(p.green() - c.green()) < 40 && std::abs(p.blue() - c.blue()) < 40) ++n;
        }
    return n;
}

TEST_F(PaintTest, PaintedLabelShowsItsTextColour) {
    labelText = Gbk("标签文字");
    HWND hwnd = CreateWindowExA(0, "PaintedLabel", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr, nullptr, nullptr);
    QImage image = Widget(hwnd)->grab().toImage();
    int red = CountNear(image, QColor(200, 0, 0));
    EXPECT_GT(red, 50);
    EXPECT_GT(CountNear(image, Qt::white), 200 * 60 / 2);
    // Centred: no text colour in the outer columns.
    QImage left = image.copy(0, 0, 20, 60);
    EXPECT_EQ(CountNear(left, QColor(200, 0, 0)), 0);
    labelColour = RGB(0, 0, 200);
    InvalidateRect(hwnd, nullptr, TRUE);
    image = Widget(hwnd)->grab().toImage();
    EXPECT_EQ(CountNear(image, QColor(200, 0, 0)), 0);
    EXPECT_GT(CountNear(image, QColor(0, 0, 200)), 50);
    labelColour = RGB(200, 0, 0);
    DestroyWindow(hwnd);
}

TEST_F(PaintTest, EraseBackgroundUsesTheClassBrush) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
    wc.lpszClassName = "GreenWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "GreenWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    QImage image = Widget(hwnd)->grab().toImage();
    EXPECT_EQ(image.pixelColor(20, 15), QColor(0, 128, 0));
    DestroyWindow(hwnd);
}

TEST(Gdi, FontsFromLogFont) {
    LOGFONTA lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    std::strcpy(lf.lfFaceName, Gbk("宋体").c_str());
    HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(font, nullptr);
    LOGFONTA back{};
    EXPECT_EQ(GetObjectA(font, sizeof back, &back), int(sizeof(LOGFONTA)));
    EXPECT_EQ(back.lfHeight, -16);
    EXPECT_STREQ(back.lfFaceName, Gbk("宋体").c_str());
    EXPECT_EQ(GetObjectType(font), DWORD(OBJ_FONT));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(sizeof(LOGFONTA), 60u);
}

TEST(Gdi, TextMeasuresGrowWithTheFontAndTheText) {
    HDC dc = GetDC(nullptr);
    SIZE small, large, longer;
    LOGFONTA lf{};
    lf.lfHeight = -12;
    HFONT f12 = CreateFontIndirectA(&lf);
    lf.lfHeight = -24;
    HFONT f24 = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f12);
    GetTextExtentPoint32A(dc, "abc", 3, &small);
    GetTextExtentPoint32A(dc, "abcabc", 6, &longer);
    SelectObject(dc, f24);
    GetTextExtentPoint32A(dc, "abc", 3, &large);
    EXPECT_GT(large.cy, small.cy);
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(longer.cx, small.cx);
    RECT r{0, 0, 40, 0};
    int h = DrawTextA(dc, "word word word word", -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(h, large.cy); // wrapped to more than one line
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(f12);
    DeleteObject(f24);
}

TEST(Gdi, StockObjectsAndMemoryBitmaps) {
    EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), nullptr);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), DWORD(OBJ_BRUSH));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))); // stock objects survive
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), DWORD(OBJ_BRUSH));
    HDC source = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 10, 10);
    HGDIOBJ old = SelectObject(source, bitmap);
    RECT all{0, 0, 10, 10};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(source, &all, blue);
    EXPECT_EQ(GetPixel(source, 5, 5), RGB(0, 0, 255));
    HDC target = CreateCompatibleDC(nullptr);
    HBITMAP big = CreateCompatibleBitmap(nullptr, 20, 20);
    SelectObject(target, big);
    EXPECT_TRUE(StretchBlt(target, 0, 0, 20, 20, source, 0, 0, 10, 10, SRCCOPY));
    EXPECT_EQ(GetPixel(target, 19, 19), RGB(0, 0, 255));
    SelectObject(source, old);
    DeleteDC(source);
    DeleteDC(target);
    DeleteObject(bitmap);
    DeleteObject(big);
    DeleteObject(blue);
}

// A window with an edit box and a button built from the Win32 functions alone; the
// grab is kept in /tmp for a look.
TEST_F(PaintTest, DemonstrationWindowWithEditBoxAndButton) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = HBRUSH(uintptr_t(COLOR_BTNFACE + 1));
    wc.lpszClassName = "DemoWindow";
    RegisterClassA(&wc);
    HWND top = CreateWindowExA(0, "DemoWindow", Gbk("网址采集").c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 320, 120,
                               nullptr, nullptr, nullptr, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", Gbk("关键字：").c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 40, 180, 20,
                                 top, HMENU(3), nullptr, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", Gbk("搜索引擎 网址").c_str(),
                                WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 70, 180, 26, top, HMENU(1), nullptr, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", Gbk("开始采集").c_str(), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 210, 68,
                                  90, 30, top, HMENU(2), nullptr, nullptr);
    HFONT gui = HFONT(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(edit, WM_SETFONT, WPARAM(gui), TRUE);
    SendMessageA(button, WM_SETFONT, WPARAM(gui), TRUE);
    SendMessageA(label, WM_SETFONT, WPARAM(gui), TRUE);
    Pump();
    QImage image = Widget(top)->grab().toImage();
    image.save("/tmp/sorvel-window-demo.png");
    QImage editPart = image.copy(20, 70, 180, 26);
    QImage buttonPart = image.copy(210, 68, 90, 30);
    // Dark glyph pixels inside both controls: the Chinese text was drawn.
    EXPECT_GT(CountNear(editPart, Qt::black), 20);
    EXPECT_GT(CountNear(buttonPart, Qt::black), 20);
    EXPECT_GT(CountNear(image.copy(20, 40, 180, 20), Qt::black), 20);
    DestroyWindow(top);
}

} // namespace
