// Properties by number through helper slots 4 and 5: the common properties, the unit
// types' own properties with their value types, rebuilding, menu items and reports.
#include <gtest/gtest.h>

#include "exit_codes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "font_properties.h"
#include "gbk.h"
#include "mouse_pointer.h"
#include "property_values.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "test_units.h"
#include "value.h"
#include "window_list.h"
#include "window_loading.h"

using namespace testunits;

namespace {

uint64_t Read(uint32_t window, uint32_t unit, int32_t property, int32_t index = -1) {
    return rt::RuntimeHelpers.readUnitProperty(window, unit, property, index);
}

void Write(uint32_t window, uint32_t unit, int32_t property, uint64_t value) {
    rt::RuntimeHelpers.writeUnitProperty(window, unit, property, -1, uint32_t(value), uint32_t(value >> 32));
}

uint64_t PointerValue(const void *p) { return uint64_t(uintptr_t(p)); }

// A byte-set block (header and bytes) owned by the test.
std::string ByteSetBlock(const std::string &bytes) {
    uint32_t header[2] = {1, uint32_t(bytes.size())};
    return std::string(reinterpret_cast<const char *>(header), 8) + bytes;
}

std::string TakeText(uint64_t value) {
    auto *text = reinterpret_cast<char *>(uintptr_t(value));
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(text);
    return s;
}

std::string TakeBytes(uint64_t value) {
    auto *block = reinterpret_cast<uint8_t *>(uintptr_t(value));
    if (!block) return "";
    std::string s(reinterpret_cast<const char *>(rt::ByteSetBytes(block)), rt::ByteSetSize(block));
    rt::RuntimeHelpers.free(block);
    return s;
}

intptr_t Load(uint32_t window) {
    units::LoadWindowRequest request{window, 0, 0, nullptr};
    return rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0);
}

TestUnit *Unit(uint32_t window, uint32_t unit) {
    return reinterpret_cast<TestUnit *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
}

units::UnitRecord &Record(uint32_t window, uint32_t unit) {
    units::Window *w = units::FindWindow(window);
    return w->units[size_t(units::FindUnit(*w, unit))].record;
}

class Properties : public testing::Test {
protected:
    void SetUp() override { StartUnitsRuntime(); }
    void TearDown() override {
        for (uint32_t w : {kMain, kQuiet})
            if (TestUnit *u = Unit(w, 0)) DestroyWindow(u->Handle());
    }
};

} // namespace

TEST_F(Properties, ANotLoadedWindowAnswersFromItsTemplate) {
    EXPECT_EQ(Read(kMain, kKeyword, 0), 5u);
    EXPECT_EQ(Read(kMain, kKeyword, 1), 6u);
    EXPECT_EQ(Read(kMain, kKeyword, 2), 100u);
    EXPECT_EQ(Read(kMain, kKeyword, 3), 20u);
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 4)), rt::ToGbk("标记"));
    EXPECT_EQ(Read(kMain, kKeyword, 5), 1u);
    EXPECT_EQ(Read(kMain, kButton, 6), 1u);
    EXPECT_EQ(Read(kMain, kKeyword, 6), 0u);
}

TEST_F(Properties, PositionsAndSizesAreLimited) {
    Write(kQuiet, kQuietUnit, 2, 40000);
    EXPECT_EQ(Read(kQuiet, kQuietUnit, 2), 32627u);
    Write(kQuiet, kQuietUnit, 0, uint32_t(-40000));
    EXPECT_EQ(int32_t(Read(kQuiet, kQuietUnit, 0)), -32627);
    Write(kQuiet, kQuietUnit, 1, 40000);
    EXPECT_EQ(Read(kQuiet, kQuietUnit, 1), 32627u);
    Write(kQuiet, kQuietUnit, 3, uint32_t(-5));
    EXPECT_EQ(Read(kQuiet, kQuietUnit, 3), 0u);
    Write(kQuiet, kQuietUnit, 0, 0);
    Write(kQuiet, kQuietUnit, 1, 0);
    Write(kQuiet, kQuietUnit, 2, 60);
    Write(kQuiet, kQuietUnit, 3, 60);
}

TEST_F(Properties, ALiveUnitMovesAndResizesInItsParentsCoordinates) {
    ASSERT_EQ(Load(kMain), 0);
    Write(kMain, kKeyword, 0, 40);
    Write(kMain, kKeyword, 3, 33);
    EXPECT_EQ(Read(kMain, kKeyword, 0), 40u);
    EXPECT_EQ(Read(kMain, kKeyword, 1), 6u);
    EXPECT_EQ(Read(kMain, kKeyword, 2), 100u);
    EXPECT_EQ(Read(kMain, kKeyword, 3), 33u);
    RECT rc;
    GetWindowRect(Unit(kMain, kKeyword)->Handle(), &rc);
    POINT client{0, 0};
    ClientToScreen(Unit(kMain, 0)->Handle(), &client);
    EXPECT_EQ(rc.left, client.x + 40);
    EXPECT_EQ(rc.bottom - rc.top, 33);
    // The window itself keeps screen coordinates.
    EXPECT_EQ(Read(kMain, 0, 0), 10u);
    EXPECT_EQ(Read(kMain, 0, 1), 20u);
}

TEST_F(Properties, TagVisibleAndDisabled) {
    ASSERT_EQ(Load(kMain), 0);
    Write(kMain, kKeyword, 4, PointerValue("x"));
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 4)), "x");
    Write(kMain, kKeyword, 4, 0);
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 4)), "");
    Write(kMain, kKeyword, 5, 0);
    EXPECT_FALSE(IsWindowVisible(Unit(kMain, kKeyword)->Handle()));
    EXPECT_EQ(Read(kMain, kKeyword, 5), 0u);
    Write(kMain, kKeyword, 5, 7);
    EXPECT_EQ(Read(kMain, kKeyword, 5), 1u);
    Write(kMain, kHidden, 5, 1);
    EXPECT_FALSE(IsWindowVisible(Unit(kMain, kHidden)->Handle())); // never shown
    Write(kMain, kKeyword, 6, 1);
    EXPECT_FALSE(IsWindowEnabled(Unit(kMain, kKeyword)->Handle()));
    EXPECT_EQ(Read(kMain, kKeyword, 6), 1u);
    Write(kMain, kKeyword, 6, 0);
    EXPECT_EQ(Read(kMain, kKeyword, 6), 0u);
}

TEST_F(Properties, PointerNumbersAreStoredAsCursorCodesAndReadBack) {
    ASSERT_EQ(Load(kMain), 0);
    std::string three = ByteSetBlock(std::string("\3\0\0\0", 4));
    Write(kMain, kKeyword, 7, PointerValue(three.data()));
    int32_t stored;
    std::memcpy(&stored, Record(kMain, kKeyword).pointerData.data(), 4);
    EXPECT_EQ(stored, 32513);
    EXPECT_NE(Record(kMain, kKeyword).cursor, 0u); // the text beam
    EXPECT_EQ(TakeBytes(Read(kMain, kKeyword, 7)), std::string("\3\0\0\0", 4));
    Write(kMain, kKeyword, 7, 0);
    EXPECT_EQ(Record(kMain, kKeyword).cursor, 0u);
    EXPECT_EQ(TakeBytes(Read(kMain, kKeyword, 7)), "");
}

TEST(MousePointer, TheTableBothWaysAndDataOutsideIt) {
    EXPECT_EQ(units::PointerNumberToCursorCode(14), 32649);
    EXPECT_EQ(units::CursorCodeToPointerNumber(32649), 14);
    EXPECT_EQ(units::PointerNumberToCursorCode(99), 99);
    EXPECT_EQ(units::CursorCodeToPointerNumber(99), 99);
    EXPECT_EQ(units::PointerDataToStored(std::string("\3", 1)), std::string("\3", 1));
    EXPECT_EQ(units::PointerDataToStored(std::string("\x0c\0\0\0\x55", 5)), std::string("\x84\x7f\0\0\x55", 5));
    EXPECT_EQ(units::MakeCursor(""), nullptr);
    EXPECT_EQ(units::MakeCursor(std::string("\0\0\0\0", 4)), nullptr);
}

TEST_F(Properties, UnitPropertiesGoThroughTheUnitTypeAndItsValueTypes) {
    ASSERT_EQ(Load(kMain), 0);
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 8)), rt::ToGbk("甲"));
    Write(kMain, kKeyword, 8, PointerValue("abc"));
    EXPECT_EQ(Unit(kMain, kKeyword)->caption, "abc");
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 8)), "abc");
    Write(kMain, kKeyword, 8, 0); // an empty text stands for null
    EXPECT_EQ(Unit(kMain, kKeyword)->caption, "");
}

// Handlers 4 and 5 take a unit value (window and unit identifiers) of the unit's type.
TEST_F(Properties, ObjectPropertyHandlersServeAUnitValueOfItsOwnType) {
    ASSERT_EQ(Load(kMain), 0);
    const uint32_t keyword[2] = {kMain, kKeyword};
    auto handler = [&](int32_t number, uint32_t type, std::initializer_list<uintptr_t> rest) {
        std::vector<uintptr_t> args = {type, reinterpret_cast<uintptr_t>(keyword)};
        args.insert(args.end(), rest);
        return rt::RuntimeHelpers.handler(number, args.data());
    };
    uint64_t text = PointerValue("xyz");
    handler(rt::kHandlerWriteObjectProperty, kTestControl, {8, uintptr_t(-1), uint32_t(text), uint32_t(text >> 32)});
    EXPECT_EQ(Unit(kMain, kKeyword)->caption, "xyz");
    EXPECT_EQ(TakeText(handler(rt::kHandlerReadObjectProperty, kTestControl, {8, uintptr_t(-1)})), "xyz");
    EXPECT_EQ(handler(rt::kHandlerReadObjectProperty, kTestControl, {0, uintptr_t(-1)}), Read(kMain, kKeyword, 0));
    EXPECT_EQ(handler(rt::kHandlerReadObjectProperty, kTestHidden, {8, uintptr_t(-1)}), 0u); // not its type
    handler(rt::kHandlerWriteObjectProperty, kTestHidden, {8, uintptr_t(-1), 0, 0});
    EXPECT_EQ(Unit(kMain, kKeyword)->caption, "xyz");
}

TEST_F(Properties, AWriteThatNeedsANewWindowRebuildsTheUnitInPlace) {
    ASSERT_EQ(Load(kMain), 0);
    Write(kMain, kKeyword, 8, PointerValue("kept"));
    Write(kMain, kKeyword, 0, 44);
    HWND before = Unit(kMain, kKeyword)->Handle();
    HWND main = Unit(kMain, 0)->Handle();
    Write(kMain, kKeyword, 9, 7);
    TestUnit *after = Unit(kMain, kKeyword);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(after->caption, "kept");
    EXPECT_EQ(GetParent(after->Handle()), main);
    EXPECT_EQ(GetWindowLongPtrA(after->Handle(), GWLP_ID), 150);
    EXPECT_EQ(Read(kMain, kKeyword, 0), 44u);
    EXPECT_TRUE(IsWindowVisible(after->Handle()));
    EXPECT_EQ(GetWindow(main, GW_CHILD), after->Handle()); // still first in the z-order
    EXPECT_EQ(rt::App().eventSuppression.load(), 0);
}

TEST_F(Properties, FontPartsStartFromTheDefaultFontAndWriteAWholeLogfont) {
    ASSERT_EQ(Load(kMain), 0);
    TestUnit *unit = Unit(kMain, kKeyword);
    auto font = [&] {
        LOGFONTA f{};
        EXPECT_EQ(unit->font.size(), sizeof f);
        std::memcpy(&f, unit->font.data(), std::min(sizeof f, unit->font.size()));
        return f;
    };
    LOGFONTA system{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
    int ppi = units::PixelsPerInch();
    uint64_t points = (uint64_t(std::abs(system.lfHeight)) * 72 + uint64_t(ppi / 2)) / uint64_t(ppi);
    EXPECT_EQ(Read(kMain, kKeyword, 10, 5), points); // the default GUI font
    EXPECT_EQ(TakeText(Read(kMain, kKeyword, 10, 6)), std::string(system.lfFaceName));
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, 1, 1, 0);
    EXPECT_EQ(font().lfWeight, 700);
    EXPECT_EQ(std::string(font().lfFaceName), std::string(system.lfFaceName));
    EXPECT_EQ(Read(kMain, kKeyword, 10, 1), 1u);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, 0, uint32_t(-10), 0);
    EXPECT_EQ(font().lfEscapement, 3590);
    EXPECT_EQ(font().lfOrientation, 3590);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, 5, 12, 0);
    EXPECT_EQ(font().lfHeight, -LONG((12 * ppi + 36) / 72));
    EXPECT_EQ(Read(kMain, kKeyword, 10, 5), 12u);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, 6, 0, 0);
    EXPECT_EQ(std::string(font().lfFaceName), rt::ToGbk("宋体"));
    std::string longName(32, 'a');
    uint64_t name = PointerValue(longName.c_str());
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, 6, uint32_t(name), uint32_t(name >> 32));
    EXPECT_EQ(std::string(font().lfFaceName), rt::ToGbk("宋体"));
    units::FontRecord whole{4000, 0, 1, 0, 1, -3, "Arial"};
    uint64_t record = PointerValue(&whole);
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, -1, uint32_t(record), uint32_t(record >> 32));
    EXPECT_EQ(font().lfEscapement, 400);
    EXPECT_EQ(font().lfWeight, 0);
    EXPECT_EQ(font().lfItalic, 1);
    EXPECT_EQ(font().lfHeight, 0);
    EXPECT_EQ(font().lfCharSet, 1);
    EXPECT_EQ(font().lfQuality, 2);
    auto *back = reinterpret_cast<units::FontRecord *>(uintptr_t(Read(kMain, kKeyword, 10, -1)));
    EXPECT_EQ(back->angle, 400);
    EXPECT_EQ(back->underline, 1);
    EXPECT_STREQ(back->face, "Arial");
    rt::RuntimeHelpers.free(const_cast<char *>(back->face));
    rt::RuntimeHelpers.free(back);
    std::string before = unit->font;
    rt::RuntimeHelpers.writeUnitProperty(kMain, kKeyword, 10, -1, 0, 0); // an empty record does nothing
    EXPECT_EQ(unit->font, before);
}

namespace {
DWORD WINAPI WriteFromWorker(LPVOID) {
    Write(kMain, kKeyword, 9, 8);
    return 0;
}
} // namespace

TEST_F(Properties, ARebuildAskedForByAWorkerThreadHappensOnTheWindowsThread) {
    ASSERT_EQ(Load(kMain), 0);
    HWND before = Unit(kMain, kKeyword)->Handle();
    HANDLE worker = CreateThread(nullptr, 0, WriteFromWorker, nullptr, 0, nullptr);
    while (WaitForSingleObject(worker, 0) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    CloseHandle(worker);
    HWND after = Unit(kMain, kKeyword)->Handle();
    EXPECT_NE(after, before);
    EXPECT_EQ(GetWindowThreadProcessId(after, nullptr), GetCurrentThreadId());
}

TEST_F(Properties, MenuItemsServeCaptionAndFlags) {
    EXPECT_EQ(TakeText(Read(kMain, kMenuItem, 0)), rt::ToGbk("打开"));
    EXPECT_EQ(Read(kMain, kMenuItem, 1), 1u);
    EXPECT_EQ(Read(kMain, kMenuItem, 2), 0u);
    EXPECT_EQ(Read(kMain, kMenuItem, 3), 1u);
    Write(kMain, kMenuItem, 3, 0);
    EXPECT_EQ(Read(kMain, kMenuItem, 3), 0u);
    EXPECT_EQ(Record(kMain, kMenuItem).state & 1u, 1u);
    Write(kMain, kMenuItem, 3, 1);
    Write(kMain, kMenuItem, 0, PointerValue("Go"));
    EXPECT_EQ(TakeText(Read(kMain, kMenuItem, 0)), "Go");
    std::string open = rt::ToGbk("打开");
    Write(kMain, kMenuItem, 0, PointerValue(open.c_str()));
}

TEST(PropertyValues, WritesAndReadsFollowTheValueType) {
    std::string keep;
    EXPECT_EQ(units::RecordFromValue(units::kValueLogical, 5, 0, keep).first, 1u);
    EXPECT_EQ(units::RecordFromValue(units::kValuePick, uint32_t(-3), 0, keep).first, 0u);
    EXPECT_EQ(units::RecordFromValue(units::kValuePixels, uint32_t(-3), 0, keep).first, uint32_t(-3));
    units::PropertyValue wide = units::RecordFromValue(units::kValueWide, 1, 2, keep);
    EXPECT_EQ(wide.second, 2u);
    EXPECT_EQ(units::ValueFromRecord(units::kValueWide, wide), 0x200000001ull);
    EXPECT_EQ(units::ValueFromRecord(units::kValueLogical, {2, 0}), 0u);
    EXPECT_EQ(units::ValueFromRecord(units::kValueLogical, {1, 0}), 1u);
    std::string empty = ByteSetBlock("");
    uint64_t block = PointerValue(empty.data());
    EXPECT_EQ(units::RecordFromValue(units::kValuePicture, uint32_t(block), uint32_t(block >> 32), keep).first, 0u);
}

TEST(PropertyDeathTest, AccessToAWindowOutsideTheListIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((StartUnitsRuntime(), Read(0x52000099, 0, 0)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "未载入欲访问窗口组件所在的窗口");
    EXPECT_EXIT((StartUnitsRuntime(), Write(0x52000099, 0, 0, 1)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "未载入欲访问窗口组件所在的窗口");
}

TEST(PropertyDeathTest, UnitPropertiesOfAWindowNotLoadedAreReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((StartUnitsRuntime(), Read(kMain, kKeyword, 8)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "指定窗口尚未载入");
    EXPECT_EXIT((StartUnitsRuntime(), Write(kMain, kKeyword, 8, 0)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "指定窗口尚未载入");
}
