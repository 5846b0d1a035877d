// The edit box unit on real windows: its stored form, properties and their write
// effects, content-changed events, typed input, the adjuster, request 8 and
// AppendText against the real unit.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "commctrl.h"
#include "edit_box.h"
#include "edit_test_units.h"
#include "runtime_fixture.h"
#include "unit_commands.h"
#include "window_list.h"

using namespace edittest;

namespace {

std::string TemplateData(uint32_t unit) {
    units::Window *w = units::FindWindow(kMain);
    return w->units[size_t(units::FindUnit(*w, unit))].record.propertyData;
}

units::EditBoxUnit *Box(uint32_t unit) { return dynamic_cast<units::EditBoxUnit *>(Object(kMain, unit)); }

std::string ControlText(uint32_t unit) {
    char text[256] = {};
    GetWindowTextA(EditOf(unit), text, sizeof text);
    return text;
}

void Type(uint32_t unit, const std::string &chars) {
    for (char c : chars) SendMessageA(EditOf(unit), WM_CHAR, WPARAM(uint8_t(c)), 0);
}

// A click on the upper (1) or lower (-1) arrow of the box's adjuster.
void Click(uint32_t unit, int arrow) {
    HWND upDown = Box(unit)->upDown;
    RECT rc{};
    GetClientRect(upDown, &rc);
    LPARAM at = MAKELPARAM(rc.right / 2, arrow > 0 ? 1 : rc.bottom - 2);
    SendMessageA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(upDown, WM_LBUTTONUP, 0, at);
    Pump();
}

rt::TypedValue UnitValue(uint32_t unit) { return {kMain, unit, 0x10005}; }

class EditBox : public testing::Test {
protected:
    void SetUp() override {
        StartRuntime();
        ASSERT_TRUE(Load(kMain));
        Events().clear();
    }
    void TearDown() override { Close(kMain); }
};

} // namespace

TEST_F(EditBox, TheResultBoxDataReadBackExactly) {
    std::string data = TemplateData(kResultBox);
    ASSERT_EQ(data.size(), 82u);
    EXPECT_EQ(Serialized(kResultBox), data);
    EXPECT_EQ(Read(kResultBox, 15), 1u);
    EXPECT_EQ(Read(kResultBox, 16), 2u);
    EXPECT_EQ(Read(kResultBox, 11), 0xffffffu);
    EXPECT_EQ(ReadText(kResultBox, 19), "*");
    EXPECT_EQ(Read(kResultBox, 23), 100u);
    LONG style = GetWindowLongA(EditOf(kResultBox), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_NOHIDESEL);
    EXPECT_TRUE(GetWindowLongA(Handle(kResultBox), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(EditBox, OlderVersionsAndMissingDataGiveDefaults) {
    EXPECT_EQ(ReadText(kManualBox, 8), "1"); // version 0
    EXPECT_EQ(int32_t(Read(kManualBox, 22)), -5);
    EXPECT_EQ(ReadText(kLineBox, 8), "abc"); // version 1
    EXPECT_EQ(ReadText(kNoDataBox, 8), "");
    EXPECT_EQ(Read(kNoDataBox, 9), 1u);
    EXPECT_EQ(Read(kNoDataBox, 13), 1u);
    EXPECT_EQ(Read(kNoDataBox, 23), 100u);
    EXPECT_EQ(ReadText(kNoDataBox, 19), "*");
}

TEST_F(EditBox, AVersionAboveTwoFailsTheLoad) { EXPECT_FALSE(Load(kBadWindow)); }

TEST_F(EditBox, SelectionMinusOneRules) {
    Write(kLineBox, 24, uint64_t(-1));
    EXPECT_EQ(Read(kLineBox, 24), 3u);
    EXPECT_EQ(Read(kLineBox, 25), 0u);
    Write(kLineBox, 25, uint64_t(-1));
    EXPECT_EQ(Read(kLineBox, 24), 0u);
    EXPECT_EQ(Read(kLineBox, 25), 3u);
    EXPECT_EQ(ReadText(kLineBox, 26), "abc");
    Write(kLineBox, 24, uint64_t(-9));
    Write(kLineBox, 25, 2);
    EXPECT_EQ(Read(kLineBox, 24), 0u);
    EXPECT_EQ(ReadText(kLineBox, 26), "ab");
    WriteText(kLineBox, 26, "X");
    EXPECT_EQ(ReadText(kLineBox, 8), "Xc");
    // A write keeps the other stored part, not the control's selection of the moment.
    Write(kLineBox, 24, 1);
    Write(kLineBox, 25, 1);
    SendMessageA(Box(kLineBox)->edit, EM_SETSEL, 0, 0);
    Write(kLineBox, 25, 1);
    EXPECT_EQ(Read(kLineBox, 24), 1u);
    EXPECT_EQ(ReadText(kLineBox, 26), "c");
}

TEST_F(EditBox, PickValuesAreLimited) {
    Write(kResultBox, 16, 7);
    EXPECT_EQ(Read(kResultBox, 16), 3u);
    EXPECT_TRUE(GetWindowLongA(EditOf(kResultBox), GWL_STYLE) & WS_HSCROLL);
    Write(kLineBox, 17, 9);
    EXPECT_EQ(Read(kLineBox, 17), 2u);
    EXPECT_TRUE(GetWindowLongA(EditOf(kLineBox), GWL_STYLE) & ES_RIGHT);
    Write(kLineBox, 9, uint64_t(-3));
    EXPECT_EQ(Read(kLineBox, 9), 0u);
    Write(kLineBox, 18, 40);
    EXPECT_EQ(Read(kLineBox, 18), 11u);
    Write(kLineBox, 14, uint64_t(-5));
    EXPECT_EQ(Read(kLineBox, 14), 0u);
}

TEST_F(EditBox, EachContentWriteRaisesOneChangedEvent) {
    for (uint32_t unit : {kLineBox, kResultBox}) {
        Events().clear();
        WriteText(unit, 8, "xyz");
        Pump();
        EXPECT_EQ(CountEvents("changed " + Hex(unit)), 1) << Hex(unit);
        EXPECT_EQ(ReadText(unit, 8), "xyz");
        WriteText(unit, 8, "");
        Pump();
        EXPECT_EQ(CountEvents("changed " + Hex(unit)), 2) << Hex(unit);
    }
}

TEST_F(EditBox, TypingRaisesTheChangedEvent) {
    Type(kLineBox, "d");
    Pump();
    EXPECT_EQ(ReadText(kLineBox, 8), "dabc");
    EXPECT_EQ(CountEvents("changed " + Hex(kLineBox)), 1);
}

TEST_F(EditBox, MultiLineWriteRebuildsWithContentAndPosition) {
    WriteText(kLineBox, 8, "keep");
    Write(kLineBox, 24, 1);
    HWND before = Handle(kLineBox);
    uint64_t left = Read(kLineBox, 0), top = Read(kLineBox, 1), width = Read(kLineBox, 2);
    Write(kLineBox, 15, 1);
    ASSERT_NE(Handle(kLineBox), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(ReadText(kLineBox, 8), "keep");
    EXPECT_EQ(Read(kLineBox, 0), left);
    EXPECT_EQ(Read(kLineBox, 1), top);
    EXPECT_EQ(Read(kLineBox, 2), width);
    EXPECT_EQ(Read(kLineBox, 24), 1u);
    EXPECT_TRUE(GetWindowLongA(EditOf(kLineBox), GWL_STYLE) & ES_MULTILINE);
    HWND rebuilt = Handle(kLineBox);
    Write(kLineBox, 15, 1); // unchanged: no new window
    EXPECT_EQ(Handle(kLineBox), rebuilt);
}

TEST_F(EditBox, ARebuiltBoxKeepsTheFocus) {
    SetFocus(Handle(kLineBox));
    Pump();
    ASSERT_EQ(GetFocus(), EditOf(kLineBox));
    Write(kLineBox, 20, 2);
    Pump();
    EXPECT_TRUE(GetWindowLongA(EditOf(kLineBox), GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(GetFocus(), EditOf(kLineBox));
    // A box without the focus does not take it when rebuilt.
    Write(kResultBox, 17, 1);
    Pump();
    EXPECT_EQ(GetFocus(), EditOf(kLineBox));
}

TEST_F(EditBox, ReadOnlyAndPasswordTakeEffectAtOnce) {
    Write(kLineBox, 18, 1);
    EXPECT_TRUE(GetWindowLongA(EditOf(kLineBox), GWL_STYLE) & ES_READONLY);
    WriteText(kLineBox, 19, "#");
    Write(kLineBox, 18, 2);
    EXPECT_FALSE(GetWindowLongA(EditOf(kLineBox), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageA(EditOf(kLineBox), EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(ReadText(kLineBox, 19), "#");
    Write(kLineBox, 18, 0);
    EXPECT_EQ(SendMessageA(EditOf(kLineBox), EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST_F(EditBox, ByteModeFiltersAndNormalisesOnLeaving) {
    Write(kLineBox, 18, 5);
    WriteText(kLineBox, 8, "");
    SetFocus(Handle(kLineBox));
    Pump();
    Type(kLineBox, "-3a00");
    EXPECT_EQ(ControlText(kLineBox), "300");
    SetFocus(Handle(kResultBox));
    Pump();
    EXPECT_EQ(ReadText(kLineBox, 8), "255");
    EXPECT_EQ(CountEvents("lost " + Hex(kLineBox)), 1);
    EXPECT_EQ(CountEvents("focus " + Hex(kResultBox)), 1);
    WriteText(kLineBox, 8, "000");
    SetFocus(Handle(kLineBox));
    SetFocus(Handle(kResultBox));
    Pump();
    EXPECT_EQ(ReadText(kLineBox, 8), "");
}

TEST_F(EditBox, ShortModeLimitsOnLeaving) {
    Write(kLineBox, 18, 6);
    WriteText(kLineBox, 8, "40000");
    SetFocus(Handle(kLineBox));
    SetFocus(Handle(kResultBox));
    Pump();
    EXPECT_EQ(ReadText(kLineBox, 8), "32767");
}

// The normalised text of a multi-line box is a change like any other.
TEST_F(EditBox, NormalisingAMultiLineBoxRaisesOneChange) {
    Write(kResultBox, 18, 7);
    WriteText(kResultBox, 8, "99999999999");
    SetFocus(Handle(kResultBox));
    Pump();
    Events().clear();
    SetFocus(Handle(kLineBox));
    Pump();
    EXPECT_EQ(ReadText(kResultBox, 8), "2147483647");
    const std::vector<std::string> expected = {"changed " + Hex(kResultBox), "lost " + Hex(kResultBox)};
    EXPECT_EQ(Events(), expected);
}

TEST_F(EditBox, AutomaticAdjusterWrapsAround) {
    ASSERT_NE(Box(kAutoBox)->upDown, nullptr);
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "0");
    EXPECT_EQ(ReadText(kAutoBox, 26), "0"); // selected entirely
    Click(kAutoBox, -1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "100");
    Click(kAutoBox, -1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "99");
    EXPECT_EQ(CountEvents("changed " + Hex(kAutoBox)), 3);
    WriteText(kAutoBox, 8, "99999999999999999999999");
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "0");
    WriteText(kAutoBox, 8, "-99999999999999999999999");
    Click(kAutoBox, -1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "100");
    WriteText(kAutoBox, 8, "x");
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "1");
}

// A content write from another thread raises its one event on the window's thread.
TEST_F(EditBox, ContentWriteFromAWorker) {
    std::atomic<bool> done{false};
    DWORD windowThread = GetCurrentThreadId();
    std::thread worker([&] {
        WriteText(kResultBox, 8, "from worker");
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    worker.join();
    Pump();
    EXPECT_EQ(ReadText(kResultBox, 8), "from worker");
    EXPECT_EQ(CountEvents("changed " + Hex(kResultBox)), 1);
    EXPECT_EQ(GetWindowThreadProcessId(Handle(kResultBox), nullptr), windowThread);
}

TEST_F(EditBox, ClicksOnDisabledOrHiddenBoxesAreIgnored) {
    Write(kAutoBox, 6, 1);
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "100");
    Write(kAutoBox, 6, 0);
    Write(kAutoBox, 5, 0);
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "100");
}

TEST_F(EditBox, ManualAdjusterRaisesEventOne) {
    Click(kManualBox, 1);
    Click(kManualBox, -1);
    EXPECT_EQ(CountEvents("adjuster " + Hex(kManualBox) + " 1"), 1);
    EXPECT_EQ(CountEvents("adjuster " + Hex(kManualBox) + " -1"), 1);
    EXPECT_EQ(ReadText(kManualBox, 8), "1");
}

// Sent as a 32-bit range: a bound above 32767 keeps the arrows' direction.
TEST_F(EditBox, BoundsReachTheAdjusterAsARange) {
    Write(kAutoBox, 22, 50);
    Write(kAutoBox, 23, 10);
    int lower = 0, upper = 0;
    SendMessageA(Box(kAutoBox)->upDown, UDM_GETRANGE32, WPARAM(&lower), LPARAM(&upper));
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 50);
    WriteText(kAutoBox, 8, "50");
    Click(kAutoBox, 1);
    EXPECT_EQ(ReadText(kAutoBox, 8), "10");
    Write(kAutoBox, 23, 40000);
    SendMessageA(Box(kAutoBox)->upDown, UDM_GETRANGE32, WPARAM(&lower), LPARAM(&upper));
    EXPECT_EQ(lower, 50);
    EXPECT_EQ(upper, 40000);
}

TEST_F(EditBox, EnterStaysWithAWritableMultiLineBox) {
    auto keeps = units::Request<units::KeepsKeyRoutine>(units::kTypeEditBox, units::kRequestKeepsKey);
    ASSERT_NE(keeps, nullptr);
    EXPECT_EQ(keeps(Box(kResultBox), VK_RETURN), 1);
    EXPECT_EQ(keeps(Box(kResultBox), VK_TAB), 0);
    EXPECT_EQ(keeps(Box(kLineBox), VK_RETURN), 0);
    Write(kResultBox, 18, 1);
    EXPECT_EQ(keeps(Box(kResultBox), VK_RETURN), 0);
}

TEST_F(EditBox, AppendTextAddsAtTheEndOfTheRealBox) {
    WriteText(kResultBox, 8, "hello");
    SendMessageA(EditOf(kResultBox), EM_SETSEL, 0, 2);
    Events().clear();
    testsupport::CallCommand(cmd::AppendText, {UnitValue(kResultBox), testsupport::TextArg("A\r\n"),
                                               testsupport::TextArg("B")});
    Pump();
    EXPECT_EQ(ReadText(kResultBox, 8), "helloA\r\nB");
    EXPECT_EQ(Read(kResultBox, 24), 9u);
    EXPECT_EQ(CountEvents("changed " + Hex(kResultBox)), 2);
}

// The user's selection arrives as input while a worker appends: it is never the
// selection that the appended text replaces.
TEST_F(EditBox, AppendTextFromAWorkerKeepsTheUsersSelection) {
    WriteText(kResultBox, 8, "abcdef");
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 30; ++i) {
            PostMessageA(EditOf(kResultBox), EM_SETSEL, 0, 3);
            testsupport::CallCommand(cmd::AppendText, {UnitValue(kResultBox), testsupport::TextArg("x")});
        }
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    worker.join();
    Pump();
    EXPECT_EQ(ReadText(kResultBox, 8), "abcdef" + std::string(30, 'x'));
}

TEST_F(EditBox, BorderStylesReplaceEachOther) {
    const LONG edges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    HWND box = Handle(kAutoBox);
    EXPECT_TRUE(GetWindowLongA(Box(kAutoBox)->upDown, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    Write(kAutoBox, 9, 4);
    EXPECT_EQ(GetWindowLongA(box, GWL_EXSTYLE) & edges, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(GetWindowLongA(Box(kAutoBox)->upDown, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    Write(kAutoBox, 9, 5);
    EXPECT_EQ(GetWindowLongA(box, GWL_EXSTYLE) & edges, 0);
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_BORDER);
    Write(kAutoBox, 9, 3);
    EXPECT_EQ(GetWindowLongA(box, GWL_EXSTYLE) & edges, WS_EX_STATICEDGE);
    EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(GetWindowLongA(Box(kAutoBox)->upDown, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ(Handle(kAutoBox), box); // applied in place
}

TEST_F(EditBox, FontPartsAreAppliedAndStored) {
    EXPECT_EQ(SendMessageA(Handle(kLineBox), WM_GETFONT, 0, 0), LRESULT(GetStockObject(DEFAULT_GUI_FONT)));
    rt::RuntimeHelpers.writeUnitProperty(kMain, kLineBox, 12, 5, 20, 0);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kLineBox, 12, 1, 1, 0);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kLineBox, 12, 5), 20u);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kLineBox, 12, 1), 1u);
    HFONT font = HFONT(SendMessageA(EditOf(kLineBox), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(HGDIOBJ(font), GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfQuality, 2);
    // The font survives a rebuild.
    Write(kLineBox, 17, 1);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kLineBox, 12, 5), 20u);
}

TEST_F(EditBox, ColoursReachTheControl) {
    Write(kLineBox, 10, 0x0000ff);
    Write(kLineBox, 11, 0xff000000);
    EXPECT_EQ(Read(kLineBox, 11), 0xff000000u);
    HDC dc = GetDC(EditOf(kLineBox));
    auto brush = HBRUSH(SendMessageA(Handle(kLineBox), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(EditOf(kLineBox))));
    EXPECT_NE(brush, nullptr);
    EXPECT_EQ(GetTextColor(dc), COLORREF(0x0000ff));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(EditOf(kLineBox), dc);
}

// Messages of the control inside a box count as the box's own for the window's
// pre-filter (the control's parent is the unit's window).
TEST_F(EditBox, TheControlMapsToItsUnit) {
    units::Window *w = units::FindWindow(kMain);
    int position = units::FindUnit(*w, kLineBox);
    EXPECT_EQ(units::UnitOfHandle(*w, EditOf(kLineBox), true), position);
    EXPECT_EQ(units::UnitOfHandle(*w, Handle(kLineBox), false), position);
    EXPECT_EQ(GetParent(EditOf(kLineBox)), Handle(kLineBox));
}
