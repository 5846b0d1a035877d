// Loading windows from the test image: creation order, control identifiers, the
// messages of a load, showing, z-order, modal loads, failures and the clean-up.
#include <gtest/gtest.h>

#include "exit_codes.h"

#include <algorithm>

#include "core_library.h"
#include "event_dispatch.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "test_units.h"
#include "unit_commands.h"
#include "unit_properties.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_services.h"

using namespace testunits;
using units::LoadWindowRequest;

namespace {

intptr_t Load(uint32_t window, bool modal = false, HWND owner = nullptr, bool reload = false) {
    LoadWindowRequest request{window, reload, modal, owner};
    return rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0);
}

HWND HandleOf(uint32_t window, uint32_t unit) {
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
    return object ? object->Handle() : nullptr;
}

void Close(uint32_t window) {
    if (HWND h = HandleOf(window, 0)) DestroyWindow(h);
}

size_t IndexOf(const std::string &line) {
    auto &log = Log();
    return size_t(std::find(log.begin(), log.end(), line) - log.begin());
}

class Loading : public testing::Test {
protected:
    void SetUp() override {
        StartUnitsRuntime();
        Log().clear();
    }
    void TearDown() override {
        for (uint32_t w : {kMain, kModal, kQuiet}) Close(w);
        onClose = nullptr;
    }
};

} // namespace

TEST_F(Loading, TheWindowComesFirstThenTheUnitsFromLastToFirstWithIdsFrom100) {
    ASSERT_EQ(Load(kMain), 0);
    std::vector<std::string> created;
    for (const std::string &line : Log())
        if (line.rfind("created", 0) == 0) created.push_back(line);
    EXPECT_EQ(created, (std::vector<std::string>{"created 06000001 id 0", "created 1600000d id 100",
                                                 "created 1600000c id 110", "created 16000005 id 120",
                                                 "created 16000004 id 130", "created 16000003 id 140",
                                                 "created 16000002 id 150"}));
    EXPECT_EQ(GetWindowLongPtrA(HandleOf(kMain, kKeyword), GWLP_ID), 150);
}

TEST_F(Loading, TheLoadMessagesGoFromTheLastUnitToTheFirstAroundTheEvents) {
    ASSERT_EQ(Load(kMain), 0);
    size_t firstCreated = IndexOf("message 806F to 1600000d"), lastCreated = IndexOf("message 806F to 06000001");
    size_t loaded = IndexOf("message 8004 to 06000001"), shown = IndexOf("shown");
    size_t firstFinished = IndexOf("message 8076 to 1600000d"), lastFinished = IndexOf("message 8076 to 06000001");
    size_t firstHandler = size_t(std::find_if(Log().begin(), Log().end(),
                                              [](const std::string &l) { return l.rfind("handler", 0) == 0; }) -
                                 Log().begin());
    EXPECT_LT(firstCreated, lastCreated);
    EXPECT_LT(lastCreated, loaded);
    EXPECT_LT(loaded, firstHandler); // nothing ran while the window loaded
    EXPECT_LT(firstHandler, shown);
    EXPECT_LT(shown, firstFinished);
    EXPECT_LT(firstFinished, lastFinished);
    EXPECT_LT(lastFinished, Log().size());
}

TEST_F(Loading, EventsCreatedMovedAndResizedFollowTheLoadAndNoHandlerRunsDuringIt) {
    ASSERT_EQ(Load(kMain), 0);
    int handlers = int(std::count_if(Log().begin(), Log().end(),
                                     [](const std::string &l) { return l.rfind("handler 0 from 06000001", 0) == 0; }));
    EXPECT_EQ(handlers, 3);
    // The keyword box's focus event (−7) during its creation found its handler suppressed.
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "handler 0 from 16000002:"), 0);
    EXPECT_EQ(rt::App().eventSuppression.load(), 0);
}

TEST_F(Loading, VisibleDisabledAndTabStopFlagsAndNeverShownTypes) {
    ASSERT_EQ(Load(kMain), 0);
    EXPECT_TRUE(IsWindowVisible(HandleOf(kMain, 0)));
    EXPECT_TRUE(IsWindowVisible(HandleOf(kMain, kKeyword)));
    EXPECT_FALSE(IsWindowVisible(HandleOf(kMain, kHidden))); // visible flag, but never shown
    EXPECT_FALSE(IsWindowVisible(HandleOf(kMain, kNoData)));  // no visible flag
    EXPECT_FALSE(IsWindowEnabled(HandleOf(kMain, kButton)));
    EXPECT_TRUE(GetWindowLongA(HandleOf(kMain, kKeyword), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongA(HandleOf(kMain, kButton), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Loading, UnitsAreStackedInListOrderUnderTheirContainer) {
    ASSERT_EQ(Load(kMain), 0);
    HWND main = HandleOf(kMain, 0);
    std::vector<HWND> order;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) order.push_back(c);
    std::vector<HWND> expected;
    for (uint32_t u : {kKeyword, kButton, kHidden, kNoData, kShared, kSilent}) expected.push_back(HandleOf(kMain, u));
    EXPECT_EQ(order, expected);
    for (HWND h : expected) EXPECT_EQ(GetParent(h), main);
}

TEST_F(Loading, LoadingALoadedWindowOnlyActivatesIt) {
    ASSERT_EQ(Load(kMain), 0);
    HWND before = HandleOf(kMain, 0);
    Log().clear();
    EXPECT_EQ(Load(kMain), 0);
    EXPECT_EQ(HandleOf(kMain, 0), before);
    EXPECT_TRUE(Log().empty());
    ShowWindow(before, SW_MINIMIZE);
    EXPECT_EQ(Load(kMain), 0);
    EXPECT_FALSE(IsIconic(before));
}

TEST_F(Loading, AReloadMakesTheWindowAfreshAndShowsIt) {
    ASSERT_EQ(Load(kQuiet), 0);
    HWND before = HandleOf(kQuiet, 0);
    EXPECT_FALSE(IsWindowVisible(before));
    Log().clear();
    ASSERT_EQ(Load(kQuiet, false, nullptr, true), 0);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindowVisible(HandleOf(kQuiet, 0)));
    EXPECT_LT(IndexOf("shown on reload"), Log().size());
}

TEST_F(Loading, ChangesMadeWhileLoadedAreDroppedWhenTheWindowCloses) {
    ASSERT_EQ(Load(kMain), 0);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 0, -1, 50, 0);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 5, -1, 0, 0);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kKeyword, 0, -1), 50u);
    Close(kMain);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitObject, kMain, kKeyword), 0);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kKeyword, 0, -1), 5u);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kMain, kKeyword, 5, -1), 1u);
    ASSERT_EQ(Load(kMain), 0);
    RECT rc;
    GetWindowRect(HandleOf(kMain, kKeyword), &rc);
    POINT at{rc.left, rc.top};
    ScreenToClient(HandleOf(kMain, 0), &at);
    EXPECT_EQ(at.x, 5);
    EXPECT_EQ(at.y, 6);
}

TEST_F(Loading, AWindowNotLoadedKeepsChangesForItsNextLoad) {
    // Wider than the smallest an overlapped window is made (its minimum tracking size).
    rt::RuntimeHelpers.writeUnitProperty(kQuiet, kQuietUnit, 2, -1, 177, 0);
    ASSERT_EQ(Load(kQuiet), 0);
    EXPECT_EQ(rt::RuntimeHelpers.readUnitProperty(kQuiet, kQuietUnit, 2, -1), 177u);
    EXPECT_FALSE(IsWindowVisible(HandleOf(kQuiet, 0))); // its visible flag is off
    rt::RuntimeHelpers.writeUnitProperty(kQuiet, kQuietUnit, 5, -1, 1, 0);
    EXPECT_TRUE(IsWindowVisible(HandleOf(kQuiet, 0)));
    rt::RuntimeHelpers.writeUnitProperty(kQuiet, kQuietUnit, 2, -1, 60, 0);
}

TEST_F(Loading, AUnitWithoutPropertyDataStartsWithItsDefaults) {
    ASSERT_EQ(Load(kMain), 0);
    auto *unit = reinterpret_cast<TestUnit *>(rt::RuntimeService(rt::kServiceUnitObject, kMain, kNoData));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->caption, "");
    auto *keyword = reinterpret_cast<TestUnit *>(rt::RuntimeService(rt::kServiceUnitObject, kMain, kKeyword));
    EXPECT_EQ(keyword->caption, "\xbc\xd7"); // "甲"
}

TEST_F(Loading, AVersionAboveTheMaximumOrAMissingTypeFailsTheLoadAndKeepsEventsFlowing) {
    ASSERT_EQ(Load(kMain), 0);
    EXPECT_EQ(Load(kBadVersion), -1);
    EXPECT_EQ(Load(kMissingType), -1);
    EXPECT_EQ(rt::App().eventSuppression.load(), 0);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitObject, kBadVersion, 0), 0);
    units::Window *bad = units::FindWindow(kBadVersion);
    ASSERT_NE(bad, nullptr);
    EXPECT_FALSE(bad->loaded);
    for (const units::UnitEntry &u : bad->units) EXPECT_EQ(u.record.liveObject, 0u);
    Log().clear();
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowCount, 0, 0), 5);
    // The other window's events still reach their handlers.
    units::SimpleEvent e{kMain, kKeyword, -1, 3, {1, 2, 3}, 0, 0};
    EXPECT_EQ(rt::RuntimeService(rt::kServiceRaiseEvent, reinterpret_cast<intptr_t>(&e), 0), 1);
}

TEST_F(Loading, AnOwnerThatIsNotAWindowFailsTheLoad) {
    EXPECT_EQ(Load(kQuiet, false, reinterpret_cast<HWND>(intptr_t(0x7777))), -1);
    EXPECT_EQ(rt::App().eventSuppression.load(), 0);
    EXPECT_EQ(Load(kQuiet, true, reinterpret_cast<HWND>(intptr_t(0x7777))), 0); // a modal load ignores it
}

// The LoadWindow command goes through service 2005; an owner it names must be loaded.
TEST_F(Loading, TheLoadWindowCommandNeedsALoadedOwnerAndAnsweredWhetherItLoaded) {
    cmd::CoreLibraryNotify(rt::kNotifyStart, reinterpret_cast<intptr_t>(&rt::RuntimeService), 0);
    rt::TypedValue result{}, args[3] = {{kQuiet, 0, kTestWindow}, rt::MakeBoolean(false), {kMain, 0, kTestWindow}};
    cmd::LoadWindow(&result, 3, args);
    EXPECT_EQ(result.low, 0u);
    EXPECT_EQ(HandleOf(kQuiet, 0), nullptr);
    ASSERT_EQ(Load(kMain), 0);
    cmd::LoadWindow(&result, 3, args);
    EXPECT_NE(result.low, 0u);
    EXPECT_EQ(GetWindow(HandleOf(kQuiet, 0), GW_OWNER), HandleOf(kMain, 0));
    args[0].low = 0x5200007f; // no such window
    cmd::LoadWindow(&result, 1, args);
    EXPECT_EQ(result.low, 0u);
}

TEST_F(Loading, AModalLoadReturnsOnlyAfterTheWindowIsGoneAndReenablesTheOthers) {
    ASSERT_EQ(Load(kMain), 0);
    HWND main = HandleOf(kMain, 0);
    static bool mainEnabledWhileModal = true;
    onClose = [](uint32_t unit) {
        if (unit == 0x06000006) mainEnabledWhileModal = IsWindowEnabled(HandleOf(kMain, 0));
    };
    // The modal window's event 0 handler posts it a close request.
    EXPECT_EQ(Load(kModal, true), 0);
    EXPECT_EQ(HandlerCalls(3), 1);
    EXPECT_FALSE(mainEnabledWhileModal);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitObject, kModal, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(rt::App().modalWindow.load(), 0u);
}

TEST_F(Loading, WindowListServices) {
    ASSERT_EQ(Load(kMain), 0);
    HWND main = HandleOf(kMain, 0);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowCount, 0, 0), 5);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0), reinterpret_cast<intptr_t>(main));
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowHandleAt, 1, 0), 0); // not loaded
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowHandleAt, 9, 0), 0);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitType, kMain, 0), intptr_t(kTestWindow));
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitType, kMain, kKeyword), intptr_t(kTestControl));
    EXPECT_EQ(rt::RuntimeService(rt::kServiceUnitType, kMain, 0x16000099), 0);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceIsUnitWindow, reinterpret_cast<intptr_t>(HandleOf(kMain, kButton)), 0), 1);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceIsUnitWindow, reinterpret_cast<intptr_t>(rt::App().hiddenWindow), 0), 0);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceDataTypeKind, kTestWindow, 0), 1);
    auto *list = reinterpret_cast<units::WindowList *>(rt::RuntimeService(rt::kServiceWindowList, 0, 0));
    EXPECT_EQ(list->keys.front(), kMain);
}

TEST_F(Loading, HandlesMapToUnitsAndTheirParentsWhenAllowed) {
    ASSERT_EQ(Load(kMain), 0);
    units::Window *w = units::FindWindow(kMain);
    HWND keyword = HandleOf(kMain, kKeyword);
    EXPECT_EQ(units::UnitOfHandle(*w, keyword, false), 1);
    HWND inner = CreateWindowExA(0, "SorvelTestUnit", "", WS_CHILD, 0, 0, 5, 5, keyword, nullptr, nullptr, nullptr);
    EXPECT_EQ(units::UnitOfHandle(*w, inner, false), -1);
    EXPECT_EQ(units::UnitOfHandle(*w, inner, true), 1);
    DestroyWindow(inner);
}

TEST(LoadingDeathTest, TheUnitObjectServiceReportsAMissingUnit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((StartUnitsRuntime(), rt::RuntimeService(rt::kServiceUnitObjectOrReport, kMain, kKeyword)),
                testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "指定窗口或窗口组件不存在或尚未载入");
}

TEST(LoadingDeathTest, TheRuntimesEndDestroysTheLoadedWindows) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        StartUnitsRuntime();
        traceDestroy = true;
        Load(kMain);
        rt::RuntimeHelpers.exit(4);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(4), "destroyed 16000002; .*destroyed 06000001; ");
}

TEST_F(Loading, IdleTimeGoesToLoadedWindowsUntilTheyDecline) {
    ASSERT_EQ(Load(kMain), 0);
    ASSERT_EQ(Load(kQuiet), 0);
    std::vector<HWND> declined;
    // Neither window binds event 7, so both decline at once.
    EXPECT_FALSE(units::WindowSetTable.idle(5, declined));
    EXPECT_EQ(declined.size(), 2u);
    EXPECT_FALSE(units::WindowSetTable.idle(6, declined));
    EXPECT_EQ(declined.size(), 2u);
}

TEST_F(Loading, MenuServicesRebuildTheMenu) {
    ASSERT_EQ(Load(kMain), 0);
    units::Window *w = units::FindWindow(kMain);
    HMENU before = w->menu;
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowSet2037, kMain, 0), 1);
    EXPECT_TRUE(w->units[0].record.state & 0x8);
    EXPECT_NE(w->menu, nullptr);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowSet2040, kMain, 0), 1);
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowSet2040, 0x52000099, 0), 0);
    Close(kMain);
    EXPECT_EQ(w->menu, nullptr);
    EXPECT_FALSE(w->units[0].record.state & 0x8); // dropped with the other changes
}

namespace {

alignas(8) const uint8_t kBadSet[12] = {8, 0, 0, 0, 1, 0, 0, 0x52, 0, 0, 0, 0};
alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const rt::ImageHeader badImage = {3, 0, 0, 0, kArea, sizeof kArea, kBadSet, sizeof kBadSet, 0, nullptr, 0,
                                  nullptr, nullptr};

} // namespace

TEST(LoadingDeathTest, AWindowSetThatDoesNotReadIsReportedAtStart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        static rt::RuntimeApp app(&badImage, nullptr, &units::WindowSetTable);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "载入窗口模板数据段出错!");
}

TEST(LoadingDeathTest, AStartUpWindowThatCannotLoadIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((StartUnitsRuntime(), rt::RuntimeHelpers.loadStartupWindow(kBadVersion)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "载入启动窗口失败");
    EXPECT_EXIT((StartUnitsRuntime(), rt::RuntimeHelpers.loadStartupWindow(0x52000099)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "载入启动窗口失败");
}
