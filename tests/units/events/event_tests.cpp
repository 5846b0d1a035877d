// Events: dispatch in simple and typed forms, suppression, the event source chain,
// the current event source, reports, and the common events of the pre-filter.
#include <gtest/gtest.h>

#include "exit_codes.h"

#include <algorithm>

#include "common_events.h"
#include "event_dispatch.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "test_units.h"
#include "value.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_services.h"

using namespace testunits;
using units::SimpleEvent;
using units::TypedArgument;
using units::TypedEvent;

namespace {

intptr_t RaiseSimple(SimpleEvent &e) {
    return rt::RuntimeService(rt::kServiceRaiseEvent, reinterpret_cast<intptr_t>(&e), 0);
}

HWND HandleOf(uint32_t window, uint32_t unit) {
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
    return object ? object->Handle() : nullptr;
}

std::string LastLine() { return Log().empty() ? "" : Log().back(); }

class Events : public testing::Test {
protected:
    void SetUp() override {
        StartUnitsRuntime();
        units::LoadWindowRequest request{kMain, 0, 0, nullptr};
        ASSERT_EQ(rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0), 0);
        Log().clear();
    }
    void TearDown() override {
        if (HWND h = HandleOf(kMain, 0)) DestroyWindow(h);
    }

    bool Filter(UINT message, HWND to, WPARAM wParam, LPARAM lParam, MSG *out = nullptr) {
        MSG msg{to, message, wParam, lParam, 0, {0, 0}};
        bool dropped = units::RaiseCommonEvent(*units::FindWindow(kMain), &msg);
        if (out) *out = msg;
        return dropped;
    }
};

} // namespace

TEST_F(Events, ASimpleEventCallsTheBoundHandlerWithItsArguments) {
    SimpleEvent e{kMain, kKeyword, -1, 3, {7, 8, 9}, 0, 0};
    EXPECT_EQ(RaiseSimple(e), 1);
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 7 8 9");
    EXPECT_EQ(e.resultPresent, 0);
}

TEST_F(Events, AResultIsKeptOnlyWhenTheHandlerReturnedOne) {
    SimpleEvent e{kMain, kButton, -11, 1, {'a'}, 0, 0};
    EXPECT_EQ(RaiseSimple(e), 1);
    EXPECT_EQ(e.resultPresent, 1);
    EXPECT_EQ(e.result, uint32_t('Z'));
    SimpleEvent none{kMain, 0, -11, 1, {'a'}, 0, 0};
    EXPECT_EQ(RaiseSimple(none), 1);
    EXPECT_EQ(none.resultPresent, 0);
}

TEST_F(Events, NoBindingAndNoHandlerGiveZeroAndCallNothing) {
    SimpleEvent unbound{kMain, kKeyword, 42, 0, {}, 0, 0};
    EXPECT_EQ(RaiseSimple(unbound), 0);
    SimpleEvent noHandler{kMain, kKeyword, 7, 0, {}, 0, 0}; // bound to 0xffffffff
    EXPECT_EQ(RaiseSimple(noHandler), 0);
    EXPECT_TRUE(Log().empty());
}

TEST_F(Events, SuppressedEventsCallNothingAndTheCounterNeverGoesBelowZero) {
    rt::RuntimeService(rt::kServiceSuppressEvents, 0, 0);
    SimpleEvent e{kMain, kKeyword, -1, 0, {}, 0, 0};
    EXPECT_EQ(RaiseSimple(e), 0);
    rt::RuntimeService(rt::kServiceResumeEvents, 0, 0);
    rt::RuntimeService(rt::kServiceResumeEvents, 0, 0);
    EXPECT_EQ(rt::App().eventSuppression.load(), 0);
    EXPECT_EQ(RaiseSimple(e), 1);
}

// The source's window is cleared after the handler, even inside an outer handler.
TEST_F(Events, AUnitWithAnEventSourceUsesItsBindingsButIsTheCurrentSource) {
    SimpleEvent e{kMain, kShared, -1, 1, {5}, 0, 0};
    rt::App().eventWindow = kMain; // an outer handler is running
    EXPECT_EQ(RaiseSimple(e), 1);
    EXPECT_EQ(LastLine(), "handler 0 from 1600000c: 5");
    uint32_t source[2] = {1, 1};
    EXPECT_EQ(rt::RuntimeService(rt::kServiceEventSource, reinterpret_cast<intptr_t>(source), 0), 0);
    EXPECT_EQ(source[0], 0u);
}

TEST_F(Events, UnitZeroIsTheWindowsOwnUnitAndMenuItemsHaveTheirOneHandler) {
    SimpleEvent window{kMain, 0, -1, 0, {}, 0, 0};
    EXPECT_EQ(RaiseSimple(window), 1);
    EXPECT_EQ(LastLine(), "handler 0 from 06000001:");
    SimpleEvent menu{kMain, kMenuItem, 0, 0, {}, 0, 0};
    EXPECT_EQ(RaiseSimple(menu), 1);
    EXPECT_EQ(LastLine(), "handler 0 from 2600000e:");
}

TEST_F(Events, TypedArgumentsPassByTheirTypes) {
    EXPECT_EQ(units::ArgumentWord({0x1FF, 7, rt::kTypeByte, 0}), 0xFFu);
    EXPECT_EQ(units::ArgumentWord({0xFFFF, 7, rt::kTypeShortInteger, 0}), 0xFFFFFFFFu);
    EXPECT_EQ(units::ArgumentWord({1, 2, rt::kTypeDouble, 0}), 0x200000001ull);
    EXPECT_EQ(units::ArgumentWord({1, 2, rt::kTypeLongInteger, 1}), 1u); // flag bit 0: first word only
    EXPECT_EQ(units::ArgumentWord({1, 2, rt::kTypeInteger, 2}), 0x200000001ull);
    EXPECT_EQ(units::ArgumentWord({1, 2, 0x10003, 0}), 0x200000001ull);
    const uint64_t pointer = sizeof(void *) == 8 ? 0x200000001ull : 1u; // a pointer is never cut
    for (uint32_t type : std::initializer_list<uint32_t>{rt::kTypeText, rt::kTypeByteSet, rt::kTypeSubroutinePointer,
                          rt::kTypeInteger | rt::kIndirectFlag, rt::kTypeComObject})
        EXPECT_EQ(units::ArgumentWord({1, 2, type, 0}), pointer) << std::hex << type;
    EXPECT_EQ(units::ArgumentWord({1, 2, rt::kTypeInteger, 0}), 1u);
    TypedEvent e{kMain, kKeyword, -1, 2, {}, 0, 0};
    e.args[0] = {0xFFFF, 0, rt::kTypeShortInteger, 0};
    e.args[1] = {3, 4, rt::kTypeDateTime, 0};
    EXPECT_EQ(rt::RuntimeService(rt::kServiceRaiseTypedEvent, reinterpret_cast<intptr_t>(&e), 0), 1);
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 4294967295 17179869187");
}

TEST_F(Events, MouseMessagesRaiseTheirEventsWithUnsignedPositionsAndTheShiftState) {
    HWND keyword = HandleOf(kMain, kKeyword);
    EXPECT_FALSE(Filter(WM_LBUTTONDOWN, keyword, 0, LPARAM(0xFFFE0010)));
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 16 65534 0");
    EXPECT_FALSE(Filter(WM_LBUTTONDBLCLK, keyword, 0, 0x00050006));
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 6 5 0");
    size_t before = Log().size();
    EXPECT_FALSE(Filter(WM_RBUTTONDBLCLK, keyword, 0, 0));
    EXPECT_FALSE(Filter(WM_MBUTTONDOWN, keyword, 0, 0));
    EXPECT_EQ(Log().size(), before);
    EXPECT_FALSE(Filter(WM_LBUTTONDOWN, HandleOf(kMain, 0), 0, 0x00020001));
    EXPECT_EQ(LastLine(), "handler 0 from 06000001: 1 2 0");
}

TEST_F(Events, AMouseHandlerReturningFalseDropsTheMessage) {
    EXPECT_TRUE(Filter(WM_LBUTTONUP, HandleOf(kMain, kButton), 0, 0));
    EXPECT_FALSE(Filter(WM_LBUTTONUP, HandleOf(kMain, kKeyword), 0, 0)); // no binding
}

TEST_F(Events, MenuCommandsAreDescribedWithTheirShortcut) {
    char text[64] = {};
    units::MenuCommandQuery query{kMain, 20000, text, sizeof text, 0};
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowSet2038, reinterpret_cast<intptr_t>(&query), 0), 1);
    EXPECT_EQ(std::string(text), std::string("\xb4\xf2\xbf\xaa\tCtrl+B")); // "打开", key 2
    EXPECT_EQ(query.visible, 1);
    units::MenuCommandQuery other{kMain, 20000 + 1, text, sizeof text, 0};
    EXPECT_EQ(rt::RuntimeService(rt::kServiceWindowSet2038, reinterpret_cast<intptr_t>(&other), 0), 0);
    EXPECT_NE(units::FindWindow(kMain)->menu, nullptr);
    EXPECT_NE(units::FindWindow(kMain)->accelerators, nullptr);
}

TEST_F(Events, KeysPassTheirCodeWithoutModifiersAndWheelNotchesKeepTheirSign) {
    HWND keyword = HandleOf(kMain, kKeyword);
    EXPECT_FALSE(Filter(WM_KEYDOWN, keyword, 0x41, 0));
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 65 0");
    EXPECT_FALSE(Filter(WM_MOUSEWHEEL, keyword, WPARAM(uint32_t(-240) << 16), 0));
    EXPECT_EQ(LastLine(), "handler 0 from 16000002: 4294967294 0");
}

TEST_F(Events, ACharacterHandlerReturningZeroSwallowsItAndAnotherValueReplacesIt) {
    MSG out;
    EXPECT_TRUE(Filter(WM_CHAR, HandleOf(kMain, kKeyword), 'a', 0, &out));
    EXPECT_FALSE(Filter(WM_CHAR, HandleOf(kMain, kButton), 'a', 0, &out));
    EXPECT_EQ(out.wParam, WPARAM('Z'));
    int calls = HandlerCalls(4);
    EXPECT_FALSE(Filter(WM_CHAR, HandleOf(kMain, 0), 'a', 0, &out)); // returns nothing
    EXPECT_EQ(out.wParam, WPARAM('a'));
    EXPECT_EQ(HandlerCalls(4), calls + 1);
}

TEST_F(Events, MessagesForOtherWindowsAreLeftAlone) {
    HWND stranger = CreateWindowExA(0, "SorvelTestUnit", "", 0, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(Filter(WM_CHAR, stranger, 'a', 0));
    EXPECT_TRUE(Log().empty());
    DestroyWindow(stranger);
}

TEST(EventDeathTest, BadSourcesAreReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto raise = [](uint32_t window, uint32_t unit) {
        StartUnitsRuntime();
        SimpleEvent e{window, unit, 0, 0, {}, 0, 0};
        RaiseSimple(e);
    };
    EXPECT_EXIT(raise(0x52000099, 0), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "未找到引发事件的窗口");
    EXPECT_EXIT(raise(kMain, 0x16000099), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "未找到引发事件的窗口组件");
    EXPECT_EXIT(raise(kMain, kSilent), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "引发事件的窗口组件无效");
}
