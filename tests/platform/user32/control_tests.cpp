// The "BUTTON", "STATIC" and up-down controls.
#include <gtest/gtest.h>

#include <QPushButton>

#include "window_test_support.h"

using namespace window_test;

namespace {

struct Notice {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    int pos = 0, delta = 0;
};
std::vector<Notice> notices;
bool refuseDelta = false;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND || msg == WM_VSCROLL || msg == WM_HSCROLL) notices.push_back({msg, wp, lp});
    if (msg == WM_NOTIFY) {
        auto *n = reinterpret_cast<NMUPDOWN *>(lp);
        notices.push_back({msg, wp, lp, n->iPos, n->iDelta});
        return refuseDelta;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "ControlParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "ControlParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        notices.clear();
        refuseDelta = false;
    }
    void TearDown() override {
        DestroyWindow(parent);
        Pump();
    }
    HWND Make(const char *cls, DWORD style, int id, const char *text = "") {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 20, 20, 80, 30, parent,
                               HMENU(intptr_t(id)), nullptr, nullptr);
    }
    int Clicks(int id) {
        return int(std::count_if(notices.begin(), notices.end(), [&](const Notice &n) {
            return n.msg == WM_COMMAND && n.wp == MAKEWPARAM(id, BN_CLICKED);
        }));
    }
    HWND parent = nullptr;
};

TEST_F(ControlTest, BmClickRaisesBnClickedWithTheButtonsHandle) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON, 11, "OK");
    SendMessageA(b, BM_CLICK, 0, 0);
    ASSERT_EQ(Clicks(11), 1);
    EXPECT_EQ(HWND(notices.back().lp), b);
    EXPECT_EQ(GetFocus(), b);
}

TEST_F(ControlTest, ADisabledButtonIsNotClicked) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON | WS_DISABLED, 12, "No");
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(Clicks(12), 0);
}

TEST_F(ControlTest, MouseAndSpaceBarClicksComeThroughTheQueue) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON, 13, "Go");
    QWidget *w = Widget(b);
    QtMouse(w, QEvent::MouseButtonPress, QPoint(10, 10));
    EXPECT_EQ(Clicks(13), 0); // nothing happens before the pump dispatches
    QtMouse(w, QEvent::MouseButtonRelease, QPoint(10, 10));
    Pump();
    EXPECT_EQ(Clicks(13), 1);
    SetFocus(b);
    QtKey(w, Qt::Key_Space, " ");
    Pump();
    EXPECT_EQ(Clicks(13), 2);
    // Releasing outside the button is no click.
    QtMouse(w, QEvent::MouseButtonPress, QPoint(10, 10));
    QtMouse(w, QEvent::MouseButtonRelease, QPoint(300, 10));
    Pump();
    EXPECT_EQ(Clicks(13), 2);
}

TEST_F(ControlTest, SetStyleChangesTheDefaultButtonBit) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON | BS_LEFT | BS_TOP, 14, "Def");
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON, DLGC_UNDEFPUSHBUTTON);
    SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    LONG_PTR style = GetWindowLongPtrA(b, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(style & (BS_LEFT | BS_TOP), BS_LEFT | BS_TOP); // the other bits stay
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
}

TEST_F(ControlTest, ButtonImageIsKeptByType) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON | BS_BITMAP, 15);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap)), 0);
    EXPECT_EQ(HBITMAP(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0)), bitmap);
    EXPECT_EQ(SendMessageA(b, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    DestroyWindow(b);
    DeleteObject(bitmap);
}

TEST_F(ControlTest, StaticWithNotifyReportsClicks) {
    HWND s = Make("STATIC", SS_NOTIFY | SS_CENTER, 16, "label");
    SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(s, WM_LBUTTONUP, 0, 0);
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.back().wp, MAKEWPARAM(16, STN_CLICKED));
    HWND quiet = Make("STATIC", SS_LEFT, 17, "quiet");
    notices.clear();
    SendMessageA(quiet, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(notices.empty());
    char text[16];
    GetWindowTextA(s, text, sizeof text);
    EXPECT_STREQ(text, "label");
}

TEST_F(ControlTest, UpDownRangeAndArrows) {
    HWND u = Make("msctls_updown32", 0, 18);
    EXPECT_EQ(SendMessageA(u, UDM_GETRANGE, 0, 0), MAKELONG(0, 100)); // default: upper 0, lower 100
    SendMessageA(u, UDM_SETRANGE, 0, MAKELPARAM(10, 0));
    EXPECT_EQ(SendMessageA(u, UDM_GETRANGE, 0, 0), MAKELONG(10, 0));
    SendMessageA(u, UDM_SETPOS, 0, MAKELPARAM(5, 0));
    RECT c;
    GetClientRect(u, &c);
    SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); // upper arrow
    SendMessageA(u, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_GE(notices.size(), 2u);
    EXPECT_EQ(notices[0].msg, UINT(WM_NOTIFY));
    EXPECT_EQ(notices[0].pos, 5);
    EXPECT_EQ(notices[0].delta, 1);
    EXPECT_EQ(notices[1].msg, UINT(WM_VSCROLL));
    EXPECT_EQ(notices[1].wp, MAKEWPARAM(SB_THUMBPOSITION, 6));
    EXPECT_EQ(HWND(notices[1].lp), u);
    EXPECT_EQ(LOWORD(SendMessageA(u, UDM_GETPOS, 0, 0)), 6);
    // The parent refuses the change.
    refuseDelta = true;
    SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, c.bottom - 2)); // lower arrow
    EXPECT_EQ(LOWORD(SendMessageA(u, UDM_GETPOS, 0, 0)), 6);
    EXPECT_EQ(notices.back().delta, -1);
}

TEST_F(ControlTest, ControlsTakeTheFontTheyAreGiven) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON, 19, "F");
    HFONT gui = HFONT(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(b, WM_SETFONT, WPARAM(gui), FALSE);
    EXPECT_EQ(HFONT(SendMessageA(b, WM_GETFONT, 0, 0)), gui);
}

} // namespace

namespace {

LRESULT CALLBACK ClosingParent(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) DestroyWindow(hwnd);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(ButtonClose, AClickThatDestroysTheWindowIsSafe) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ClosingParent;
    wc.lpszClassName = "ClosingParent";
    RegisterClassA(&wc);
    HWND top = CreateWindowExA(0, "ClosingParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, top, HMENU(1), nullptr, nullptr);
    QtMouse(Widget(b), QEvent::MouseButtonPress, QPoint(5, 5));
    QtMouse(Widget(b), QEvent::MouseButtonRelease, QPoint(5, 5));
    Pump();
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(b));
}

} // namespace
