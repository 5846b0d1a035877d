// Windows: creation and destruction order, the window tree, positions and sizes,
// visibility, focus, subclassing, input through the queue, timers and accelerators.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <QWindow>

#include <thread>

#include "gdi_object.h"
#include "icon_object.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterRecorder();
        Log().clear();
    }
    void TearDown() override {
        for (HWND h : created)
            if (IsWindow(h)) DestroyWindow(h);
        Pump();
    }
    HWND Top(DWORD style = WS_OVERLAPPEDWINDOW, int x = 100, int y = 80, int w = 300, int h = 200) {
        HWND hwnd = CreateWindowExA(0, "Recorder", "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
        created.push_back(hwnd);
        return hwnd;
    }
    HWND Child(HWND parent, int id, int x = 10, int y = 10, int w = 50, int h = 20, DWORD style = WS_VISIBLE) {
        return CreateWindowExA(0, "Recorder", "child", WS_CHILD | style, x, y, w, h, parent, HMENU(intptr_t(id)),
                               nullptr, nullptr);
    }
    std::vector<HWND> created;
};

TEST_F(WindowTest, CreationSendsNcCreateCreateSizeMoveThenShows) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    std::vector<UINT> order = MessagesOf(hwnd, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW});
    std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW};
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetActiveWindow(), hwnd);
}

TEST_F(WindowTest, DestroyGoesToChildrenAfterTheParentsDestroyAndBeforeItsNcDestroy) {
    HWND parent = Top();
    HWND child = Child(parent, 1);
    HWND grandchild = Child(child, 2);
    Log().clear();
    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> seen;
    for (auto &l : Log())
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) seen.emplace_back(l.hwnd, l.msg);
    std::vector<std::pair<HWND, UINT>> expected{{parent, WM_DESTROY},      {child, WM_DESTROY},
                                                {grandchild, WM_DESTROY},  {grandchild, WM_NCDESTROY},
                                                {child, WM_NCDESTROY},     {parent, WM_NCDESTROY}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(WindowTest, WindowTreeAndZOrder) {
    HWND parent = Top();
    HWND a = Child(parent, 1), b = Child(parent, 2), c = Child(parent, 3);
    // The newest child is on top.
    EXPECT_EQ(GetWindow(parent, GW_CHILD), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(b, GW_HWNDLAST), a);
    SetWindowPos(a, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), a);
    EXPECT_EQ(GetParent(b), parent);
    EXPECT_TRUE(IsChild(parent, b));
    EXPECT_EQ(GetDlgItem(parent, 2), b);
    EXPECT_EQ(GetDlgCtrlID(c), 3);
    EXPECT_EQ(GetAncestor(b, GA_ROOT), parent);
}

TEST_F(WindowTest, OwnedWindowIsDestroyedWithItsOwner) {
    HWND owner = Top();
    HWND owned = CreateWindowExA(0, "Recorder", "owned", WS_POPUP | WS_CAPTION, 0, 0, 50, 50, owner, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowTest, ClientRectLeavesOutCaptionAndBorders) {
    HWND fixed = Top(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 80, 300, 200);
    RECT w, c;
    GetWindowRect(fixed, &w);
    GetClientRect(fixed, &c);
    EXPECT_EQ(w.left, 100);
    EXPECT_EQ(w.bottom - w.top, 200);
    int frame = GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(c.right, 300 - 2 * frame);
    EXPECT_EQ(c.bottom, 200 - 2 * frame - GetSystemMetrics(SM_CYCAPTION));
    RECT adjusted{0, 0, c.right, c.bottom};
    AdjustWindowRectEx(&adjusted, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE, 0);
    EXPECT_EQ(adjusted.right - adjusted.left, 300);
    EXPECT_EQ(adjusted.bottom - adjusted.top, 200);

    HWND sized = Top(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    GetClientRect(sized, &c);
    EXPECT_EQ(c.right, 300 - 2 * GetSystemMetrics(SM_CXFRAME));
}

TEST_F(WindowTest, ChildCoordinatesMapThroughTheParentsClientArea) {
    HWND parent = Top(WS_POPUP, 200, 100, 300, 200);
    HWND child = Child(parent, 1, 10, 20, 50, 30);
    HWND edged = CreateWindowExA(WS_EX_CLIENTEDGE, "Recorder", "", WS_CHILD, 60, 20, 50, 30, parent, nullptr, nullptr, nullptr);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 210);
    EXPECT_EQ(r.top, 120);
    POINT p{5, 5};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 215);
    EXPECT_EQ(p.y, 125);
    ScreenToClient(parent, &p);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 25);
    POINT q{0, 0};
    MapWindowPoints(edged, parent, &q, 1);
    EXPECT_EQ(q.x, 60 + GetSystemMetrics(SM_CXEDGE));
    RECT c;
    GetClientRect(edged, &c);
    EXPECT_EQ(c.right, 50 - 2 * GetSystemMetrics(SM_CXEDGE));
}

TEST_F(WindowTest, SetWindowPosSendsChangingAndChangedWithMoveAndSizeOnlyWhenTheyChange) {
    HWND parent = Top(WS_POPUP);
    HWND child = Child(parent, 1, 10, 10, 50, 20);
    Log().clear();
    SetWindowPos(child, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(MessagesOf(child, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
    auto move = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == child && l.msg == WM_MOVE; });
    EXPECT_EQ(move->lp, MAKELPARAM(30, 40));
    Log().clear();
    MoveWindow(child, 30, 40, 80, 25, TRUE);
    EXPECT_EQ(MessagesOf(child, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_SIZE}));
    auto size = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == child && l.msg == WM_SIZE; });
    EXPECT_EQ(size->lp, MAKELPARAM(80, 25));
    EXPECT_EQ(size->wp, WPARAM(SIZE_RESTORED));
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.right - r.left, 80);
}

TEST_F(WindowTest, FrameChangedRecomputesTheClientArea) {
    HWND parent = Top(WS_POPUP);
    HWND child = Child(parent, 1, 0, 0, 100, 50);
    SetWindowLongPtrA(child, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    Log().clear();
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(MessagesOf(child, {WM_NCCALCSIZE, WM_SIZE}), (std::vector<UINT>{WM_NCCALCSIZE, WM_SIZE}));
    RECT c;
    GetClientRect(child, &c);
    EXPECT_EQ(c.right, 96);
}

TEST_F(WindowTest, ShowWindowReportsThePreviousStateAndSendsShowWindowOnChange) {
    HWND hwnd = Top();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_EQ(MessagesOf(hwnd, {WM_SHOWWINDOW}).size(), 1u);
    HWND child = Child(hwnd, 1, 0, 0, 10, 10, 0);
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(child, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child)); // hidden with its parent
    EXPECT_TRUE(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowTest, MinimiseMaximiseAndRestore) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(hwnd));
    auto sized = std::find_if(Log().rbegin(), Log().rend(), [&](auto &l) { return l.hwnd == hwnd && l.msg == WM_SIZE; });
    EXPECT_EQ(sized->wp, WPARAM(SIZE_MINIMIZED));
    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(WindowTest, EnableWindowReturnsWhetherItWasDisabledAndTakesTheFocusAway) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Child(parent, 1);
    SetFocus(child);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(SetFocus(child), nullptr); // a disabled window cannot take the focus
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_EQ(MessagesOf(child, {WM_ENABLE}).size(), 2u);
}

TEST_F(WindowTest, SetFocusSendsKillFocusThenSetFocusAndReturnsThePrevious) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND a = Child(parent, 1), b = Child(parent, 2);
    SetFocus(a);
    Log().clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_EQ(Log()[0].hwnd, a);
    EXPECT_EQ(Log()[0].msg, UINT(WM_KILLFOCUS));
    EXPECT_EQ(HWND(Log()[0].wp), b);
    EXPECT_EQ(Log()[1].hwnd, b);
    EXPECT_EQ(Log()[1].msg, UINT(WM_SETFOCUS));
    EXPECT_EQ(HWND(Log()[1].wp), a);
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), parent); // the focus goes to the parent of a destroyed window
}

TEST_F(WindowTest, ActivationSendsActivateToBothWindows) {
    HWND first = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND second = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(GetActiveWindow(), second);
    Log().clear();
    EXPECT_EQ(SetActiveWindow(first), second);
    auto acts = MessagesOf(second, {WM_ACTIVATE});
    ASSERT_EQ(acts.size(), 1u);
    auto it = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == first && l.msg == WM_ACTIVATE; });
    ASSERT_NE(it, Log().end());
    EXPECT_EQ(LOWORD(it->wp), WA_ACTIVE);
    EXPECT_EQ(GetFocus(), first);
}

LRESULT CALLBACK Swallower(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
WNDPROC previous = nullptr;
LRESULT CALLBACK Swallower(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 7) return 1234;
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

TEST_F(WindowTest, SubclassingThroughTheWindowProcedure) {
    HWND hwnd = Top();
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Swallower)));
    EXPECT_EQ(previous, RecorderProc);
    Log().clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 7, 0, 0), 1234);
    SendMessageA(hwnd, WM_USER + 8, 0, 0);
    EXPECT_EQ(MessagesOf(hwnd, {WM_USER + 7, WM_USER + 8}), (std::vector<UINT>{WM_USER + 8}));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 99);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 99);
}

TEST_F(WindowTest, WindowTextRoundTripsInGbk) {
    HWND hwnd = Top();
    std::string title = Gbk("网址采集");
    SetWindowTextA(hwnd, title.c_str());
    char buffer[64];
    EXPECT_EQ(GetWindowTextLengthA(hwnd), 8);
    EXPECT_EQ(GetWindowTextA(hwnd, buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer), title);
    EXPECT_EQ(Widget(hwnd)->windowTitle(), QString::fromUtf8("网址采集"));
    EXPECT_EQ(GetWindowTextA(hwnd, buffer, 3), 2);
}

WNDPROC editProc = nullptr;
LRESULT CALLBACK RecordingEdit(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Log().push_back({hwnd, msg, wp, lp});
    return CallWindowProcA(editProc, hwnd, msg, wp, lp);
}

// Through the window system, as real input comes: the EDIT (CS_DBLCLKS) lets each
// message through to its widget, and those replays must not hide the second press.
TEST_F(WindowTest, DoubleClicksOnlyForClassesWithDoubleClickStyle) {
    RegisterRecorder("PlainRecorder", 0);
    HWND top = Top(WS_POPUP | WS_VISIBLE);
    HWND with = CreateWindowExA(0, "EDIT", "one two", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80, top, nullptr,
                                nullptr, nullptr);
    editProc = WNDPROC(SetWindowLongPtrA(with, GWLP_WNDPROC, LONG_PTR(RecordingEdit)));
    HWND without = CreateWindowExA(0, "PlainRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    created.push_back(without);
    for (HWND h : {top, without}) {
        QWindow *window = Widget(h)->windowHandle();
        ASSERT_NE(window, nullptr);
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
            Pump();
            // QTest keeps separate clicks apart in time; a person's second click follows at once.
            QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        }
    }
    std::initializer_list<UINT> buttons{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    EXPECT_EQ(MessagesOf(with, buttons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_EQ(MessagesOf(without, buttons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    auto down = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == with && l.msg == WM_LBUTTONDOWN; });
    EXPECT_EQ(down->lp, MAKELPARAM(5, 6));
    EXPECT_EQ(down->wp & MK_LBUTTON, WPARAM(MK_LBUTTON));
}

TEST_F(WindowTest, KeysArriveAsKeyDownAndTranslateMessageMakesTheCharacter) {
    HWND hwnd = Top(WS_POPUP | WS_VISIBLE);
    SetFocus(hwnd);
    QtKey(Widget(hwnd), Qt::Key_A, "a");
    Pump();
    EXPECT_EQ(MessagesOf(hwnd, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    auto ch = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == hwnd && l.msg == WM_CHAR; });
    EXPECT_EQ(ch->wp, WPARAM('a'));
    auto key = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == hwnd && l.msg == WM_KEYDOWN; });
    EXPECT_EQ(key->wp, WPARAM('A'));
    // A key-down posted by the program translates through the keyboard layout.
    Log().clear();
    MSG m{hwnd, WM_KEYDOWN, '7', 0, 0, {}};
    EXPECT_TRUE(TranslateMessage(&m));
    Pump();
    ASSERT_EQ(MessagesOf(hwnd, {WM_CHAR}).size(), 1u);
    EXPECT_EQ(Log().back().wp, WPARAM('7'));
}

TEST_F(WindowTest, InputMethodTextArrivesAsDoubleByteCharacters) {
    HWND hwnd = Top(WS_POPUP | WS_VISIBLE);
    QInputMethodEvent im;
    im.setCommitString(QString::fromUtf8("网"));
    QApplication::sendEvent(Widget(hwnd), &im);
    Pump();
    std::string bytes;
    for (auto &l : Log())
        if (l.hwnd == hwnd && l.msg == WM_CHAR) bytes += char(l.wp);
    EXPECT_EQ(bytes, Gbk("网"));
}

TEST_F(WindowTest, TimersPostWmTimerUntilKilled) {
    HWND hwnd = Top();
    ASSERT_EQ(SetTimer(hwnd, 5, 10, nullptr), 5u);
    DWORD start = GetTickCount();
    while (MessagesOf(hwnd, {WM_TIMER}).size() < 2 && GetTickCount() - start < 3000) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    auto timers = MessagesOf(hwnd, {WM_TIMER});
    ASSERT_GE(timers.size(), 2u);
    EXPECT_TRUE(KillTimer(hwnd, 5));
    EXPECT_FALSE(KillTimer(hwnd, 5));
    Log().clear();
    Sleep(40);
    Pump();
    EXPECT_TRUE(MessagesOf(hwnd, {WM_TIMER}).empty());
}

TEST_F(WindowTest, AcceleratorsTurnKeysIntoCommands) {
    HWND hwnd = Top();
    ACCEL table[] = {{FVIRTKEY, VK_F5, 501}, {FVIRTKEY | FCONTROL, 'S', 502}};
    HACCEL accel = CreateAcceleratorTableA(table, 2);
    ASSERT_NE(accel, nullptr);
    MSG f5{hwnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorA(hwnd, accel, &f5), 1);
    MSG s{hwnd, WM_KEYDOWN, 'S', 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorA(hwnd, accel, &s), 0); // Ctrl is not down
    auto cmd = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == hwnd && l.msg == WM_COMMAND; });
    ASSERT_NE(cmd, Log().end());
    EXPECT_EQ(cmd->wp, MAKEWPARAM(501, 1));
    EXPECT_TRUE(DestroyAcceleratorTable(accel));
    EXPECT_EQ(TranslateAcceleratorA(hwnd, accel, &f5), 0);
}

TEST_F(WindowTest, CloseButtonAsksThroughWmClose) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Widget(hwnd)->close();
    Pump();
    EXPECT_EQ(MessagesOf(hwnd, {WM_SYSCOMMAND, WM_CLOSE}), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
    EXPECT_FALSE(IsWindow(hwnd)); // DefWindowProc destroys on WM_CLOSE
}

TEST_F(WindowTest, SendMessageFromAWorkerRunsOnTheWindowsThread) {
    HWND hwnd = Top();
    DWORD mainThread = GetCurrentThreadId();
    DWORD ranOn = 0;
    LRESULT result = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
        ranOn = GetWindowThreadProcessId(hwnd, nullptr);
        done = true;
        PostMessageA(hwnd, WM_NULL, 0, 0);
    });
    while (!done) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    worker.join();
    EXPECT_EQ(result, 3);
    EXPECT_EQ(ranOn, mainThread);
    auto sent = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.msg == WM_GETTEXTLENGTH; });
    EXPECT_NE(sent, Log().end());
}

} // namespace

namespace {

TEST_F(WindowTest, DestroyedWindowsLeaveNoWidgetBehind) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Child(parent, 1);
    QPointer<QWidget> top = Widget(parent), inner = Widget(child);
    ASSERT_TRUE(top && inner);
    DestroyWindow(parent);
    Pump();
    EXPECT_TRUE(top.isNull());
    EXPECT_TRUE(inner.isNull());
}

} // namespace

#include <QBuffer>
#include <QMenuBar>

namespace {

TEST_F(WindowTest, MenuBarTakesRoomAboveTheClientAreaAndSendsCommands) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 301, "&Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, 302, "&Save");
    AppendMenuA(bar, MF_POPUP, UINT_PTR(file), "&File");
    EXPECT_EQ(GetMenuItemCount(file), 3);
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    RECT before, after;
    GetClientRect(hwnd, &before);
    ASSERT_TRUE(SetMenu(hwnd, bar));
    EXPECT_EQ(GetMenu(hwnd), bar);
    GetClientRect(hwnd, &after);
    EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
    auto *qbar = Widget(hwnd)->findChild<QMenuBar *>();
    ASSERT_NE(qbar, nullptr);
    ASSERT_EQ(qbar->actions().size(), 1);
    QMenu *popup = qbar->actions()[0]->menu();
    ASSERT_NE(popup, nullptr);
    emit popup->aboutToShow();
    EXPECT_EQ(MessagesOf(hwnd, {WM_INITMENUPOPUP}).size(), 1u);
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_FALSE(popup->actions()[2]->isEnabled());
    popup->actions()[0]->trigger();
    auto cmd = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == hwnd && l.msg == WM_COMMAND; });
    ASSERT_NE(cmd, Log().end());
    EXPECT_EQ(cmd->wp, MAKEWPARAM(301, 0));
    DestroyWindow(hwnd);
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_EQ(GetMenuItemCount(file), -1); // destroyed with its bar
}

TEST_F(WindowTest, SystemMenuEntriesCanBeRemoved) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW);
    HMENU sys = GetSystemMenu(hwnd, FALSE);
    ASSERT_NE(sys, nullptr);
    int count = GetMenuItemCount(sys);
    EXPECT_TRUE(DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(sys), count - 1);
    EXPECT_FALSE(DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND));
}

TEST(Pictures, BitmapsIconsAndCursorsFromPictureData) {
    QImage source(6, 4, QImage::Format_ARGB32);
    source.fill(QColor(10, 20, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    source.save(&buffer, "PNG");
    HBITMAP bitmap = platform::BitmapFromData(reinterpret_cast<const BYTE *>(png.constData()), size_t(png.size()));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 4);
    DeleteObject(bitmap);
    EXPECT_EQ(platform::BitmapFromData(reinterpret_cast<const BYTE *>("junk"), 4), nullptr);

    QByteArray ico;
    QBuffer icoBuffer(&ico);
    icoBuffer.open(QIODevice::WriteOnly);
    QImage(16, 16, QImage::Format_ARGB32).save(&icoBuffer, "ICO");
    // Resource bits: the image alone, and for a cursor its hot spot first.
    QByteArray image = ico.mid(22);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), DWORD(image.size()), TRUE, 0x30000, 0, 0, 0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(platform::IconObjectOf(icon)->image.size(), QSize(16, 16));
    EXPECT_TRUE(DestroyIcon(icon));
    QByteArray cur = QByteArray("\3\0\5\0", 4) + image;
    HCURSOR cursor = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(cur.data()), DWORD(cur.size()), FALSE, 0x30000, 0, 0, 0);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(platform::IconObjectOf(cursor)->hotSpot, QPoint(3, 5));
    DestroyCursor(cursor);
    EXPECT_NE(LoadCursorA(nullptr, IDC_IBEAM), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_IBEAM), LoadCursorA(nullptr, IDC_IBEAM));
}

TEST(Modules, WindowFunctionsAreExportedWithTheirArgumentCounts) {
    HMODULE user32 = LoadLibraryA("USER32.DLL");
    ASSERT_NE(user32, nullptr);
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(user32, "SetWindowPos")), reinterpret_cast<void *>(&SetWindowPos));
    HMODULE gdi32 = LoadLibraryA("gdi32.dll");
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(gdi32, "CreateFontIndirectA")),
              reinterpret_cast<void *>(&CreateFontIndirectA));
    HMODULE comdlg32 = LoadLibraryA("comdlg32.dll");
    EXPECT_NE(GetProcAddress(comdlg32, "GetSaveFileNameA"), nullptr);
}

} // namespace

namespace {

TEST_F(WindowTest, WindowFunctionsCalledFromAWorkerRunOnTheOwnersThread) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Child(parent, 1);
    DWORD mainThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        EnableWindow(child, FALSE);
        MoveWindow(child, 5, 6, 70, 30, TRUE);
        ShowWindow(child, SW_HIDE);
        SetTimer(parent, 9, 10, nullptr);
        InvalidateRect(parent, nullptr, TRUE);
        done = true;
        PostMessageA(parent, WM_NULL, 0, 0);
    });
    while (!done) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    worker.join();
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_FALSE(Widget(child)->isEnabled());
    EXPECT_FALSE(Widget(child)->isVisibleTo(Widget(parent)));
    EXPECT_EQ(Widget(child)->geometry(), QRect(5, 6, 70, 30));
    EXPECT_TRUE(KillTimer(parent, 9));
    // The messages of those calls were sent on the window's own thread.
    for (auto &l : Log())
        if (l.hwnd == child && (l.msg == WM_ENABLE || l.msg == WM_SIZE)) {
            EXPECT_EQ(l.thread, mainThread);
        }
    EXPECT_EQ(MessagesOf(child, {WM_ENABLE}).size(), 1u);
}

} // namespace

namespace {

TEST_F(WindowTest, RightButtonUpRaisesContextMenuWithScreenCoordinates) {
    HWND parent = Top(WS_POPUP | WS_VISIBLE, 100, 50, 200, 100);
    HWND child = Child(parent, 1, 10, 10, 50, 20);
    SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(3, 4));
    auto menu = std::find_if(Log().begin(), Log().end(), [&](auto &l) { return l.hwnd == parent && l.msg == WM_CONTEXTMENU; });
    ASSERT_NE(menu, Log().end()); // passed on to the parent by DefWindowProc
    EXPECT_EQ(HWND(menu->wp), child);
    EXPECT_EQ(menu->lp, MAKELPARAM(113, 64));
}

TEST_F(WindowTest, IconsAndClassCursor) {
    HWND hwnd = Top();
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_EQ(SendMessageA(hwnd, WM_SETICON, ICON_BIG, LPARAM(icon)), 0);
    EXPECT_EQ(HICON(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_FALSE(Widget(hwnd)->windowIcon().isNull());
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    ULONG_PTR old = SetClassLongPtrA(hwnd, GCLP_HCURSOR, LONG_PTR(hand));
    EXPECT_EQ(HCURSOR(old), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(HCURSOR(GetClassLongPtrA(hwnd, GCLP_HCURSOR)), hand);
    SendMessageA(hwnd, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);
    SetClassLongPtrA(hwnd, GCLP_HCURSOR, LONG_PTR(old));
    // A child's question goes to the parent first, whose default answer is the class
    // cursor of the window under the mouse: the EDIT's I-beam, not the parent's arrow.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, hwnd, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SendMessageA(edit, WM_SETCURSOR, WPARAM(edit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
}

} // namespace

namespace {

TEST_F(WindowTest, SetFocusFromAWorkerGivesTheFocusOnTheWindowsThread) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Child(parent, 1);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        SetFocus(child);
        done = true;
        PostMessageA(parent, WM_NULL, 0, 0);
    });
    while (!done) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    worker.join();
    EXPECT_EQ(GetFocus(), child);
}

} // namespace

namespace {

BOOL CALLBACK Collect(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND> *>(lp)->push_back(hwnd);
    return TRUE;
}

TEST_F(WindowTest, EnumChildWindowsVisitsDescendantsAndRegisteredMessagesAreShared) {
    HWND parent = Top();
    HWND a = Child(parent, 1), b = Child(parent, 2);
    HWND inner = Child(a, 3);
    std::vector<HWND> seen;
    EXPECT_TRUE(EnumChildWindows(parent, Collect, LPARAM(&seen)));
    EXPECT_EQ(seen, (std::vector<HWND>{b, a, inner}));
    UINT first = RegisterWindowMessageA("SorvelPing");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("sorvelping"), first);
    EXPECT_NE(RegisterWindowMessageA("Other"), first);
}

} // namespace

namespace {

TEST_F(WindowTest, HidingTheFocusedChildGivesTheFocusToItsParent) {
    HWND parent = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND a = Child(parent, 1), b = Child(parent, 2);
    SetFocus(b);
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), parent);
    SetFocus(a);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(GetFocus(), a);
}

} // namespace

namespace {

TEST_F(WindowTest, DeactivatingTheApplicationTakesTheFocusAway) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Child(hwnd, 1);
    SetFocus(child);
    Log().clear();
    EXPECT_EQ(SetActiveWindow(nullptr), hwnd);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(MessagesOf(hwnd, {WM_ACTIVATE, WM_ACTIVATEAPP}), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(MessagesOf(child, {WM_KILLFOCUS}).size(), 1u);
    SetActiveWindow(hwnd);
    EXPECT_EQ(GetFocus(), hwnd); // DefWindowProc gives the focus to the activated window
}

} // namespace

namespace {

TEST_F(WindowTest, CreatedMaximisedButHiddenShowsMaximisedAndRestoresToItsSize) {
    HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, 10, 20, 300, 200);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 300);
    HWND minimised = Top(WS_OVERLAPPEDWINDOW | WS_MINIMIZE);
    EXPECT_TRUE(IsIconic(minimised));
    EXPECT_FALSE(IsWindowVisible(minimised));
    EXPECT_TRUE(MessagesOf(minimised, {WM_SHOWWINDOW}).empty()); // never shown on the way
}

} // namespace
