// The window unit on real windows: class registration, styles and start position,
// events of creation and closing, the end of the program, the keyboard conventions
// of the pre-filter and the background picture.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QSystemTrayIcon>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <string>
#include <unistd.h>

#include "gbk.h"
#include "help_hook.h"
#include "icon_object.h"
#include "notify_icon.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "unit_properties.h"
#include "window_host.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_shapes.h"
#include "window_unit.h"
#include "winunit_image.h"

using namespace winunit_test;

namespace {

bool Called(const std::string &unit) { return std::count(Calls().begin(), Calls().end(), unit) > 0; }

std::string ClassOf(HWND h) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    return name;
}

void Key(UINT key) {
    HWND target = GetFocus() ? GetFocus() : HandleOf(kMain);
    PostMessageA(target, WM_KEYDOWN, key, 0);
    PostMessageA(target, WM_KEYUP, key, 0);
    Pump();
}

uint32_t FocusedUnit(uint32_t windowId) {
    units::Window *w = units::FindWindow(windowId);
    int position = GetFocus() ? units::UnitOfHandle(*w, GetFocus(), true) : -1;
    return position > 0 ? w->units[size_t(position)].id : 0;
}

// An uncompressed 24-bit BMP of one colour (blue, green, red bytes).
std::string Bmp(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::string data(54 + stride * size_t(height), '\0');
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) data[at + size_t(i)] = char(v >> (8 * i));
    };
    data[0] = 'B', data[1] = 'M';
    put(2, uint32_t(data.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + stride * size_t(y) + size_t(x) * 3;
            data[at] = char(b), data[at + 1] = char(g), data[at + 2] = char(r);
        }
    return data;
}

WNDPROC previousProc = nullptr;
int captionPresses = 0;

LRESULT CALLBACK CountCaptionPresses(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
        ++captionPresses;
        return 0;
    }
    return CallWindowProcA(previousProc, h, message, wParam, lParam);
}

class WindowUnit : public testing::Test {
protected:
    void SetUp() override {
        StartRuntime();
        Calls().clear();
        closeAnswer = -1;
    }
    void TearDown() override {
        closeAnswer = -1;
        CloseAll();
        rt::App().mainLoopStarted = false;
        rt::App().programEnding = false;
    }
};

} // namespace

TEST_F(WindowUnit, TwoWindowsShareOneRegistrationOfTheDefaultClass) {
    ASSERT_EQ(Load(kMain), 0);
    ASSERT_EQ(Load(kSecond), 0);
    EXPECT_EQ(ClassOf(HandleOf(kMain)), "KZWindow");
    EXPECT_EQ(ClassOf(HandleOf(kSecond)), "KZWindow");
}

TEST_F(WindowUnit, StartPositionOneCentresOnTheScreen) {
    POINT p = units::CentredOn(1024, 768, 589, 455);
    EXPECT_EQ(p.x, 217);
    EXPECT_EQ(p.y, 156);
    ASSERT_EQ(Load(kMain), 0);
    RECT r;
    GetWindowRect(HandleOf(kMain), &r);
    EXPECT_EQ(r.right - r.left, 589);
    EXPECT_EQ(r.bottom - r.top, 455);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 589) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 455) / 2);
    // Start position 0 keeps the template's place.
    ASSERT_EQ(Load(kSecond), 0);
    GetWindowRect(HandleOf(kSecond), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(WindowUnit, FixedBorderWithControlAndMinimiseBoxes) {
    ASSERT_EQ(Load(kMain), 0);
    HWND h = HandleOf(kMain);
    DWORD style = DWORD(GetWindowLongA(h, GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(h));
    char title[64] = {};
    GetWindowTextA(h, title, sizeof title);
    EXPECT_STREQ(title, rt::GbkLiteral("Sorvel关键词查询网址工具"));
}

TEST_F(WindowUnit, BorderStylesGiveTheirFrames) {
    units::StoredProperties p;
    units::SetWindowDefaults(p);
    DWORD style, ex;
    p.number[units::kWinBorder] = 0;
    units::WindowStyles(p, style, ex);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0u);
    EXPECT_TRUE(style & WS_POPUP);
    p.number[units::kWinBorder] = 1;
    units::WindowStyles(p, style, ex);
    EXPECT_TRUE(style & WS_THICKFRAME);
    p.number[units::kWinBorder] = 4;
    units::WindowStyles(p, style, ex);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(style & WS_THICKFRAME);
    p.number[units::kWinBorder] = 5;
    units::WindowStyles(p, style, ex);
    EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
    // No title and no control box: no caption.
    p.number[units::kWinControlBox] = 0;
    units::WindowStyles(p, style, ex);
    EXPECT_NE(style & WS_CAPTION, DWORD(WS_CAPTION));
}

TEST_F(WindowUnit, CreationRaisesEventZeroAndOneFocusEvent) {
    ASSERT_EQ(Load(kMain), 0);
    Pump();
    EXPECT_TRUE(Called(Hex(kMainUnit)));
    // The first unit of the tab order has the focus and its event -7 ran once.
    EXPECT_EQ(FocusedUnit(kMain), kFetch);
    EXPECT_EQ(std::count(Calls().begin(), Calls().end(), Hex(kFetch)), 1);
}

TEST_F(WindowUnit, AltWithAMarkedLetterClicksTheButton) {
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, kSave, 10, -1, uint32_t(reinterpret_cast<uintptr_t>("&Keep")),
                         uint32_t(uint64_t(reinterpret_cast<uintptr_t>("&Keep")) >> 32));
    Pump();
    Calls().clear();
    PostMessageA(HandleOf(kMain, kFetch), WM_SYSKEYDOWN, 'K', 0);
    Pump();
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kSave)});
    Calls().clear();
    PostMessageA(HandleOf(kMain, kFetch), WM_SYSKEYDOWN, 'Q', 0);
    Pump();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(WindowUnit, CloseHandlerReturningFalseKeepsTheWindowOpen) {
    ASSERT_EQ(Load(kMain), 0);
    HWND h = HandleOf(kMain);
    closeAnswer = 0;
    SendMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(Called("close"));
    closeAnswer = 1;
    SendMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(h));
    ASSERT_EQ(Load(kMain), 0);
    closeAnswer = -1;
    SendMessageA(HandleOf(kMain), WM_CLOSE, 0, 0);
    EXPECT_EQ(HandleOf(kMain), nullptr);
}

TEST_F(WindowUnit, ClosingTheLastWindowEndsTheProgramButNotOneOfTwo) {
    ASSERT_EQ(Load(kMain), 0);
    ASSERT_EQ(Load(kSecond), 0);
    Pump();
    rt::App().mainLoopStarted = true;
    PostMessageA(HandleOf(kSecond), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(HandleOf(kSecond), nullptr);
    EXPECT_FALSE(rt::App().programEnding);
    PostMessageA(HandleOf(kMain), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Pump());
    // Known from the last window's destruction on, so that a worker's error ends quietly.
    EXPECT_TRUE(rt::App().programEnding);
}

TEST_F(WindowUnit, ReloadingTheOnlyWindowKeepsTheProgramRunning) {
    ASSERT_EQ(Load(kMain), 0);
    Pump();
    HWND before = HandleOf(kMain);
    rt::App().mainLoopStarted = true;
    ASSERT_TRUE(units::LoadWindow(kMain, true, false, nullptr));
    EXPECT_FALSE(Pump());
    EXPECT_FALSE(rt::App().programEnding);
    EXPECT_NE(HandleOf(kMain), nullptr);
    EXPECT_FALSE(IsWindow(before));
    PostMessageA(HandleOf(kMain), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Pump());
}

namespace {
HICON NewIcon() {
    QByteArray ico;
    QBuffer buffer(&ico);
    buffer.open(QIODevice::WriteOnly);
    QImage(16, 16, QImage::Format_ARGB32).save(&buffer, "ICO");
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(ico.data()), DWORD(ico.size()), TRUE, 0x30000, 0, 0, 0);
}

intptr_t WindowService(uint32_t window, int32_t code, intptr_t parameter) {
    auto service = reinterpret_cast<units::WindowServiceRoutine>(units::WindowUnitInterface(units::kRequestWindowService));
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, 0));
    return service(object, code, parameter);
}

QSystemTrayIcon *Tray() { return platform::TrayIconOf(HandleOf(kMain), 100); }
} // namespace

// One icon per window: clicks on it raise event 9, a new one replaces and destroys the
// old one, and it goes with its window.
TEST_F(WindowUnit, TheNotificationAreaIconRaisesEventNineAndGoesWithItsWindow) {
    ASSERT_EQ(Load(kMain), 0);
    Pump();
    HICON first = NewIcon(), second = NewIcon();
    ASSERT_EQ(WindowService(kMain, units::kWindowSetTrayIcon, reinterpret_cast<intptr_t>(first)), 1);
    ASSERT_NE(Tray(), nullptr);
    Calls().clear();
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context})
        emit Tray()->activated(reason);
    Pump();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"tray 1", "tray 2", "tray 1", "tray 3"}));
    ASSERT_EQ(WindowService(kMain, units::kWindowSetTrayIcon, reinterpret_cast<intptr_t>(second)), 1);
    EXPECT_EQ(platform::IconObjectOf(first), nullptr);
    EXPECT_NE(Tray(), nullptr);
    WindowService(kMain, units::kWindowSetTrayIcon, 0);
    EXPECT_EQ(Tray(), nullptr);
    EXPECT_EQ(platform::IconObjectOf(second), nullptr);
    HICON third = NewIcon();
    WindowService(kMain, units::kWindowSetTrayIcon, reinterpret_cast<intptr_t>(third));
    HWND window = HandleOf(kMain);
    DestroyWindow(window);
    EXPECT_EQ(platform::TrayIconOf(window, 100), nullptr);
    EXPECT_EQ(platform::IconObjectOf(third), nullptr);
}

// A marked window goes by the message it posts itself, or earlier by its next load,
// which loads it afresh.
TEST_F(WindowUnit, AWindowMarkedForDestructionIsDestroyedAndALoadMakesItAfresh) {
    ASSERT_EQ(Load(kMain), 0);
    Pump();
    HWND before = HandleOf(kMain);
    EXPECT_EQ(WindowService(kMain, units::kWindowIsMarkedForDestruction, 0), 0);
    WindowService(kMain, units::kWindowMarkForDestruction, 0);
    EXPECT_EQ(WindowService(kMain, units::kWindowIsMarkedForDestruction, 0), 1);
    ASSERT_TRUE(units::LoadWindow(kMain, false, false, nullptr));
    EXPECT_FALSE(IsWindow(before));
    HWND after = HandleOf(kMain);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(WindowService(kMain, units::kWindowIsMarkedForDestruction, 0), 0);
    Pump(); // the old window's message finds nothing marked
    EXPECT_TRUE(IsWindow(after));
    WindowService(kMain, units::kWindowMarkForDestruction, 0);
    Pump();
    EXPECT_FALSE(IsWindow(after));
}

TEST_F(WindowUnit, ClosingWithoutTheMainLoopDoesNotQuit) {
    ASSERT_EQ(Load(kSecond), 0);
    PostMessageA(HandleOf(kSecond), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Pump());
}

TEST_F(WindowUnit, BorderStyleWritesAreLimitedToSix) {
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, 0, 9, -1, 9, 0);
    EXPECT_EQ(units::ReadProperty(kMain, 0, 9, -1), 6u);
    EXPECT_TRUE(GetWindowLongA(HandleOf(kMain), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    units::WriteProperty(kMain, 0, 9, -1, 1, 0);
    DWORD ex = DWORD(GetWindowLongA(HandleOf(kMain), GWL_EXSTYLE));
    EXPECT_FALSE(ex & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(ex & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(GetWindowLongA(HandleOf(kMain), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(WindowUnit, TitleWriteSetsTheWindowText) {
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, 0, 8, -1, uint32_t(reinterpret_cast<uintptr_t>("abc")),
                         uint32_t(uint64_t(reinterpret_cast<uintptr_t>("abc")) >> 32));
    char title[16] = {};
    GetWindowTextA(HandleOf(kMain), title, sizeof title);
    EXPECT_STREQ(title, "abc");
}

TEST_F(WindowUnit, StartPositionReadsTheLiveState) {
    ASSERT_EQ(Load(kMain), 0);
    EXPECT_EQ(units::ReadProperty(kMain, 0, 18, -1), 0u);
    ShowWindow(HandleOf(kMain), SW_MINIMIZE);
    EXPECT_EQ(units::ReadProperty(kMain, 0, 18, -1), 2u);
}

TEST_F(WindowUnit, MissingDataGivesDefaultsAndATooNewVersionFails) {
    ASSERT_EQ(Load(kDefaults), 0);
    EXPECT_EQ(units::ReadProperty(kDefaults, 0, 9, -1), 2u);
    EXPECT_EQ(units::ReadProperty(kDefaults, 0, 22, -1), 1u);
    EXPECT_EQ(units::ReadProperty(kDefaults, 0, 16, -1), 0u);
    EXPECT_EQ(Load(kBadVersion), -1);
}

TEST_F(WindowUnit, TabOrderPutsTheLaterOfEqualTabOrdersFirstAndSkipsLabels) {
    ASSERT_EQ(Load(kMain), 0);
    units::Window *w = units::FindWindow(kMain);
    std::vector<uint32_t> order;
    for (int position : units::TabOrder(*w)) order.push_back(w->units[size_t(position)].id);
    EXPECT_EQ(order, (std::vector<uint32_t>{kFetch, kClear, kSave, kSelectAll}));
    SetFocus(HandleOf(kMain, kFetch));
    Key(VK_TAB);
    EXPECT_EQ(FocusedUnit(kMain), kClear);
    Key(VK_TAB);
    EXPECT_EQ(FocusedUnit(kMain), kSave);
    SetFocus(HandleOf(kMain, kSelectAll));
    Key(VK_TAB);
    EXPECT_EQ(FocusedUnit(kMain), kFetch);
}

TEST_F(WindowUnit, EnterClicksTheDefaultButton) {
    ASSERT_EQ(Load(kMain), 0);
    SetFocus(HandleOf(kMain, kFetch));
    Pump();
    Calls().clear();
    Key(VK_RETURN);
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kSelectAll)});
    // A disabled default button is not clicked.
    EnableWindow(HandleOf(kMain, kSelectAll), FALSE);
    Calls().clear();
    Key(VK_RETURN);
    EXPECT_TRUE(Calls().empty());
}

// F1 opens the window's help file at its topic when allowed; the window closes the
// help it opened when it is destroyed.
TEST_F(WindowUnit, F1OpensTheHelpFileAndDestructionClosesIt) {
    std::vector<platform::HelpRequest> calls;
    platform::SetHelpHook([&calls](const platform::HelpRequest &r) {
        calls.push_back(r);
        return TRUE;
    });
    char host[] = "/tmp/f1-help-XXXXXX";
    int fd = mkstemp(host);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string file = std::string("Z:") + host;
    ASSERT_EQ(Load(kMain), 0);
    Key(VK_F1); // property 23 is false
    EXPECT_TRUE(calls.empty());
    units::WriteProperty(kMain, 0, 23, -1, 1, 0);
    units::WriteProperty(kMain, 0, 24, -1, uint32_t(reinterpret_cast<uintptr_t>(file.c_str())),
                         uint32_t(uint64_t(reinterpret_cast<uintptr_t>(file.c_str())) >> 32));
    units::WriteProperty(kMain, 0, 25, -1, 12, 0);
    Key(VK_F1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, UINT(HELP_CONTEXT));
    EXPECT_EQ(calls[0].data, ULONG_PTR(12));
    EXPECT_EQ(calls[0].file, file);
    DestroyWindow(HandleOf(kMain));
    Pump();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].command, UINT(HELP_QUIT));
    unlink(host);
    // Without the file, F1 does nothing.
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, 0, 23, -1, 1, 0);
    units::WriteProperty(kMain, 0, 24, -1, uint32_t(reinterpret_cast<uintptr_t>(file.c_str())),
                         uint32_t(uint64_t(reinterpret_cast<uintptr_t>(file.c_str())) >> 32));
    Key(VK_F1);
    EXPECT_EQ(calls.size(), 2u);
    platform::SetHelpHook(nullptr);
}

TEST_F(WindowUnit, EnterMovesTheFocusWhenThePropertySaysSoAndEscIsOff) {
    ASSERT_EQ(Load(kEnterWindow), 0);
    SetFocus(HandleOf(kEnterWindow, kEnterFirst));
    Key(VK_RETURN);
    EXPECT_EQ(FocusedUnit(kEnterWindow), kEnterSecond);
    Key(VK_ESCAPE);
    EXPECT_NE(HandleOf(kEnterWindow), nullptr);
}

TEST_F(WindowUnit, EscClosesTheWindow) {
    ASSERT_EQ(Load(kMain), 0);
    SetFocus(HandleOf(kMain, kSave));
    Key(VK_ESCAPE);
    EXPECT_EQ(HandleOf(kMain), nullptr);
    EXPECT_TRUE(Called("close"));
}

TEST_F(WindowUnit, ButtonFocusRaisesItsFocusEvent) {
    ASSERT_EQ(Load(kMain), 0);
    SetFocus(HandleOf(kMain, kSave));
    Pump();
    Calls().clear();
    SetFocus(HandleOf(kMain, kFetch));
    Pump();
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kFetch)});
}

TEST_F(WindowUnit, PictureLayoutTwoShrinksToFitAndCentres) {
    RECT r = units::PictureRect(2, {800, 600}, {400, 400});
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    // Never enlarged.
    r = units::PictureRect(2, {100, 50}, {400, 400});
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 175);

    ASSERT_EQ(Load(kPictureWindow), 0);
    HWND h = HandleOf(kPictureWindow);
    RECT client;
    GetClientRect(h, &client);
    ASSERT_EQ(client.right, 400);
    ASSERT_EQ(client.bottom, 400);
    std::string picture = Bmp(800, 600, 0, 0, 255);
    auto write = units::Request<units::WritePropertyRoutine>(units::kTypeWindow, units::kRequestWriteProperty);
    units::PropertyValue value{reinterpret_cast<uintptr_t>(picture.data()), picture.size()};
    write(reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, kPictureWindow, 0)),
          units::kWinPicture - 8, &value, nullptr);
    Pump();
    QImage image = platform::HostOf(h)->grab().toImage();
    image.save("/tmp/winunits_picture.png");
    auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    EXPECT_EQ(at(200, 40), QColor(0, 0, 255));  // background above
    EXPECT_EQ(at(200, 60), QColor(255, 0, 0));  // picture
    EXPECT_EQ(at(5, 345), QColor(255, 0, 0));
    EXPECT_EQ(at(200, 360), QColor(0, 0, 255)); // background below
}

TEST_F(WindowUnit, WindowOutOfTheTaskBarIsOwnedByTheHiddenWindow) {
    ASSERT_EQ(Load(kEnterWindow), 0);
    ASSERT_EQ(Load(kSecond), 0);
    ASSERT_NE(rt::App().hiddenWindow, nullptr);
    EXPECT_EQ(GetWindow(HandleOf(kEnterWindow), GW_OWNER), rt::App().hiddenWindow);
    EXPECT_EQ(GetWindow(HandleOf(kSecond), GW_OWNER), nullptr);
}

TEST_F(WindowUnit, AModalWindowIsOwnedByTheHiddenWindowEvenInTheTaskBar) {
    ASSERT_TRUE(units::LoadWindow(kSecond, false, true, nullptr)); // no nested loop: only the load
    EXPECT_EQ(GetWindow(HandleOf(kSecond), GW_OWNER), rt::App().hiddenWindow);
    DestroyWindow(HandleOf(kSecond));
    Pump();
    ASSERT_EQ(Load(kSecond), 0); // loaded again without the modal flag
    EXPECT_EQ(GetWindow(HandleOf(kSecond), GW_OWNER), nullptr);
}

// Every shape lies within the window, leaves part of it out and is not empty.
TEST(WindowShapes, EachShapeIsAPartOfTheWindow) {
    StartRuntime(); // regions need the window layer's application
    HRGN full = CreateRectRgn(0, 0, 200, 120), rest = CreateRectRgn(0, 0, 0, 0);
    for (int shape = 1; shape <= units::kWindowShapeCount; ++shape) {
        HRGN region = units::MakeWindowShape(shape, 200, 120);
        ASSERT_NE(region, nullptr) << shape;
        RECT box;
        EXPECT_NE(GetRgnBox(region, &box), NULLREGION) << shape;
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 200 && box.bottom <= 120)
            << shape << ": " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
        EXPECT_NE(CombineRgn(rest, full, region, RGN_DIFF), NULLREGION) << shape;
        DeleteObject(region);
    }
    for (int shape : {0, -1, units::kWindowShapeCount + 1}) EXPECT_EQ(units::MakeWindowShape(shape, 200, 120), nullptr);
    EXPECT_EQ(units::MakeWindowShape(1, 0, 120), nullptr);
    DeleteObject(full);
    DeleteObject(rest);
}

TEST_F(WindowUnit, TheShapePropertyShapesTheWindowAndFollowsItsSize) {
    ASSERT_EQ(Load(kMain), 0);
    HWND h = HandleOf(kMain);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, region), ERROR);
    units::WriteProperty(kMain, 0, 28, -1, 1, 0); // an ellipse
    RECT r, box;
    GetWindowRect(h, &r);
    ASSERT_NE(GetWindowRgn(h, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, (r.right - r.left) / 2, (r.bottom - r.top) / 2));
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    SetWindowPos(h, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    ASSERT_NE(GetWindowRgn(h, region), ERROR);
    GetRgnBox(region, &box);
    EXPECT_GT(box.right, 300);
    EXPECT_GT(box.bottom, 200);
    units::WriteProperty(kMain, 0, 28, -1, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, region), ERROR);
    DeleteObject(region);
}

TEST_F(WindowUnit, MaximisingAFixedWindowCoversTheScreen) {
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, 0, 18, -1, 3, 0);
    RECT r;
    GetWindowRect(HandleOf(kMain), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    // Position 1 brings it back to the centre.
    units::WriteProperty(kMain, 0, 18, -1, 1, 0);
    GetWindowRect(HandleOf(kMain), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
}

TEST_F(WindowUnit, TopmostWritesMoveTheWindowInAndOutOfTheBand) {
    ASSERT_EQ(Load(kMain), 0);
    units::WriteProperty(kMain, 0, 29, -1, 1, 0);
    EXPECT_TRUE(GetWindowLongA(HandleOf(kMain), GWL_EXSTYLE) & WS_EX_TOPMOST);
    units::WriteProperty(kMain, 0, 29, -1, 0, 0);
    EXPECT_FALSE(GetWindowLongA(HandleOf(kMain), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(WindowUnit, ImmovableWindowLosesTheMoveEntry) {
    ASSERT_EQ(Load(kMain), 0);
    HMENU menu = GetSystemMenu(HandleOf(kMain), FALSE);
    ASSERT_NE(menu, nullptr);
    int before = GetMenuItemCount(menu);
    units::WriteProperty(kMain, 0, 19, -1, 0, 0);
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(HandleOf(kMain), FALSE)), before - 1);
    units::WriteProperty(kMain, 0, 19, -1, 1, 0);
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(HandleOf(kMain), FALSE)), before);
}

TEST_F(WindowUnit, ShowingHidingAndActivationRaiseTheirEvents) {
    ASSERT_EQ(Load(kSecond), 0);
    Pump();
    HWND h = HandleOf(kSecond);
    Calls().clear();
    ShowWindow(h, SW_HIDE);
    ShowWindow(h, SW_SHOW);
    Pump();
    EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "hidden"), 1);
    EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "shown"), 1);
    ASSERT_EQ(Load(kMain), 0);
    Pump();
    Calls().clear();
    SetActiveWindow(h);
    Pump();
    SetActiveWindow(HandleOf(kMain));
    Pump();
    SetActiveWindow(h);
    Pump();
    // The first activation event comes once at most over the window's life.
    EXPECT_LE(std::count(Calls().begin(), Calls().end(), "first activation"), 1);
    EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "activated"), 2);
    EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "deactivated"), 1);
}

TEST_F(WindowUnit, ArrowKeysMoveAmongOptionsAndClickTheOneReached) {
    ASSERT_EQ(Load(kOptions), 0);
    SetFocus(HandleOf(kOptions, kOptionA));
    Pump();
    Calls().clear();
    Key(VK_DOWN);
    EXPECT_EQ(FocusedUnit(kOptions), kOptionB);
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kOptionB)});
    Key(VK_LEFT);
    Key(VK_UP);
    EXPECT_EQ(FocusedUnit(kOptions), kOptionC); // wraps around
    // Arrows on an ordinary button do nothing.
    ASSERT_EQ(Load(kMain), 0);
    SetFocus(HandleOf(kMain, kFetch));
    Calls().clear();
    Key(VK_DOWN);
    EXPECT_EQ(FocusedUnit(kMain), kFetch);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(WindowUnit, DraggingTheClientAreaOrALabelMovesTheWindowWhenAllowed) {
    ASSERT_EQ(Load(kMain), 0);
    HWND h = HandleOf(kMain);
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountCaptionPresses)));
    captionPresses = 0;
    PostMessageA(HandleOf(kMain, kPromptLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Pump();
    EXPECT_EQ(captionPresses, 0); // not allowed yet
    units::WriteProperty(kMain, 0, 27, -1, 1, 0);
    PostMessageA(HandleOf(kMain, kTitleLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(HandleOf(kMain, kFetch), WM_LBUTTONDOWN, MK_LBUTTON, 0); // buttons do not drag
    Pump();
    EXPECT_EQ(captionPresses, 2);
    // A press whose -1 handler returns false is dropped before it can drag.
    PostMessageA(HandleOf(kMain, kPromptLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Pump();
    EXPECT_EQ(captionPresses, 2);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
}
