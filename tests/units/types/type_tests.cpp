// The core library's data-type records for the unit types and their property tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "button_unit.h"
#include "common_dialog.h"
#include "core_unit_types.h"
#include "edit_box.h"
#include "gbk.h"
#include "label_unit.h"
#include "property_texts.h"
#include "window_unit.h"

using namespace units;

namespace {

const void *FakeInterface(int32_t) { return nullptr; }

struct Filled {
    rt::DataTypeInfo table[51] = {};
    Filled() {
        CoreUnitInterfaces interfaces;
        interfaces.editBox = FakeInterface;
        FillCoreDataTypes(table, interfaces);
    }
    const rt::DataTypeInfo &Of(uint32_t code) const { return table[(code & 0xFFFF) - 1]; }
};

} // namespace

TEST(CoreDataTypes, FlagsOfTheUnitTypes) {
    Filled f;
    EXPECT_EQ(f.Of(kTypeWindow).flags, 0x800000d0u);
    EXPECT_EQ(f.Of(kTypeEditBox).flags, 0x80000040u);
    EXPECT_EQ(f.Of(kTypeLabel).flags, 0x84012040u);
    EXPECT_EQ(f.Of(kTypeButton).flags, 0x80000840u);
    EXPECT_EQ(f.Of(kTypeCommonDialog).flags, 0x80008040u);
    EXPECT_TRUE(f.Of(kTypeMenuItem).flags & 0x04);
    for (const rt::DataTypeInfo &info : f.table) {
        EXPECT_TRUE(info.flags == 0 || (info.flags & 0x80000000u));
        EXPECT_FALSE(info.flags & rt::kTypeFlagObjectLike) << info.englishName; // no type of this image is
    }
}

TEST(CoreDataTypes, UnusedTypesStayZeroAndInterfacesAreInstalled) {
    Filled f;
    EXPECT_EQ(f.Of(0x10002).flags, 0u);
    EXPECT_EQ(f.Of(0x10002).name, nullptr);
    EXPECT_EQ(f.Of(kTypeEditBox).unitInterface, reinterpret_cast<const void *>(&FakeInterface));
    EXPECT_EQ(f.Of(kTypeWindow).unitInterface, nullptr);
    EXPECT_STREQ(f.Of(kTypeEditBox).name, rt::GbkLiteral("编辑框"));
    EXPECT_STREQ(f.Of(kTypeCommonDialog).englishName, "CommonDlg");
    EXPECT_STREQ(f.Of(kTypeObject).englishName, "ComObject");
}

TEST(CoreDataTypes, PropertyTablesStartWithTheEightCommonProperties) {
    Filled f;
    const uint32_t counts[][2] = {{kTypeWindow, 32}, {kTypeEditBox, 29}, {kTypeLabel, 29}, {kTypeButton, 14},
                                  {kTypeCommonDialog, 30}};
    for (const auto &c : counts) {
        const rt::DataTypeInfo &info = f.Of(c[0]);
        ASSERT_EQ(info.propertyCount, c[1]) << std::hex << c[0];
        for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(info.properties[i].state, 0xe000);
        for (uint32_t i = 8; i < info.propertyCount; ++i) EXPECT_EQ(info.properties[i].state & 0xF000, 0x8000);
        EXPECT_EQ(info.properties[7].valueType, kValuePointer);
        EXPECT_EQ(info.properties[4].valueType, kValueText);
    }
    EXPECT_EQ(f.Of(kTypeEditBox).properties[12].valueType, kValueFont);
    EXPECT_EQ(f.Of(kTypeLabel).properties[15].valueType, kValueFont);
    EXPECT_EQ(f.Of(kTypeButton).properties[13].valueType, kValueFont);
    EXPECT_EQ(f.Of(kTypeWindow).properties[31].valueType, kValueText);
    EXPECT_EQ(f.Of(kTypeCommonDialog).properties[29].valueType, kValuePixels);
}

// Request 9 of every unit type: each text of the data reaches the visitor, what it
// writes is in the rebuilt data, and data that cannot be read give nothing.
TEST(CoreDataTypes, EveryUnitTypeWalksTheTextsOfItsPropertyData) {
    struct Case {
        UnitInterface routine;
        const char *text; // a default text of the type, or "" for an empty one
    };
    const Case cases[] = {{WindowUnitInterface, ""},
                          {LabelUnitInterface, rt::GbkLiteral("标签")},
                          {ButtonUnitInterface, rt::GbkLiteral("按钮")},
                          {EditBoxInterface(), ""},
                          {CommonDialogInterface(), ""}};
    auto mark = [](std::string &text, void *) { text += "#"; };
    auto collect = [](std::string &text, void *seen) { static_cast<std::vector<std::string> *>(seen)->push_back(text); };
    for (const Case &c : cases) {
        auto walk = reinterpret_cast<WalkTextsRoutine>(c.routine(kRequestWalkTexts));
        ASSERT_NE(walk, nullptr);
        uint32_t size = 0;
        std::unique_ptr<uint8_t[]> marked(walk(nullptr, &size, mark, nullptr)); // the defaults
        ASSERT_NE(marked, nullptr);
        std::vector<std::string> seen;
        std::unique_ptr<uint8_t[]> again(walk(marked.get(), &size, collect, &seen));
        ASSERT_FALSE(seen.empty());
        for (const std::string &text : seen) EXPECT_EQ(text.back(), '#');
        EXPECT_NE(std::find(seen.begin(), seen.end(), std::string(c.text) + "#"), seen.end()) << c.text;
        const uint8_t tooNew[4] = {99, 0, 0, 0};
        size = 4;
        EXPECT_EQ(walk(tooNew, &size, mark, nullptr), nullptr);
        EXPECT_EQ(size, 0u);
    }
}
