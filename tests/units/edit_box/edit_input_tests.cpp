// The input modes' character filter and normalisation, and the stored form.
#include <gtest/gtest.h>

#include "MainWindowSet.h"
#include "common_dialog_data.h"
#include "edit_box_data.h"
#include "edit_box_input.h"
#include "gbk.h"
#include "window_set_reader.h"

using namespace units;

TEST(EditInput, FilterOfEachModeFamily) {
    for (int32_t mode : {3, 6, 7, 8}) {
        EXPECT_TRUE(AcceptsCharacter(mode, '7'));
        EXPECT_TRUE(AcceptsCharacter(mode, '-'));
        EXPECT_FALSE(AcceptsCharacter(mode, '.')) << mode;
        EXPECT_FALSE(AcceptsCharacter(mode, 'a')) << mode;
    }
    for (int32_t mode : {4, 9, 10}) {
        EXPECT_TRUE(AcceptsCharacter(mode, '.'));
        EXPECT_TRUE(AcceptsCharacter(mode, '-'));
        EXPECT_FALSE(AcceptsCharacter(mode, 'e')) << mode;
    }
    EXPECT_TRUE(AcceptsCharacter(5, '0'));
    EXPECT_FALSE(AcceptsCharacter(5, '-'));
    EXPECT_FALSE(AcceptsCharacter(5, ' '));
    for (int32_t mode : {0, 1, 2, 11}) EXPECT_TRUE(AcceptsCharacter(mode, 'x'));
    // Control characters (backspace, Ctrl+V) always pass.
    EXPECT_TRUE(AcceptsCharacter(5, 8));
    EXPECT_TRUE(AcceptsCharacter(5, 22));
}

TEST(EditInput, IntegerModesClampAndEmptyTheZero) {
    EXPECT_EQ(NormaliseInput(5, "300"), "255");
    EXPECT_EQ(NormaliseInput(5, "000"), "");
    EXPECT_EQ(NormaliseInput(5, "-3"), "");
    EXPECT_EQ(NormaliseInput(5, "042"), "42");
    EXPECT_EQ(NormaliseInput(6, "40000"), "32767");
    EXPECT_EQ(NormaliseInput(6, "-40000"), "-32768");
    EXPECT_EQ(NormaliseInput(7, "99999999999"), "2147483647");
    EXPECT_EQ(NormaliseInput(7, "-99999999999"), "-2147483648");
    EXPECT_EQ(NormaliseInput(8, "99999999999"), "99999999999");
    EXPECT_EQ(NormaliseInput(8, "99999999999999999999999"), "9223372036854775807");
    EXPECT_EQ(NormaliseInput(8, ""), "");
    EXPECT_EQ(NormaliseInput(7, "12-3"), "12");
}

TEST(EditInput, FloatingModesUseTheirPrecision) {
    EXPECT_EQ(NormaliseInput(9, "3.14159265"), "3.14159");
    EXPECT_EQ(NormaliseInput(10, "3.14159265358979"), "3.14159265359");
    EXPECT_EQ(NormaliseInput(10, "0.1"), "0.1");
    EXPECT_EQ(NormaliseInput(10, "-2.50"), "-2.5");
    EXPECT_EQ(NormaliseInput(9, "0.0"), "");
    EXPECT_EQ(NormaliseInput(10, "."), "");
}

TEST(EditInput, TextModesAreLeftAlone) {
    EXPECT_EQ(NormaliseInput(3, "007"), "007");
    EXPECT_EQ(NormaliseInput(4, "1.50"), "1.50");
    EXPECT_EQ(NormaliseInput(0, "0"), "0");
}

TEST(EditInput, DateModeWritesTheDateTextOrNothing) {
    EXPECT_EQ(NormaliseInput(11, "2024-2-29 13:05"), rt::ToGbk("2024年2月29日13时5分"));
    EXPECT_EQ(NormaliseInput(11, "2024/12/01"), rt::ToGbk("2024年12月1日"));
    EXPECT_EQ(NormaliseInput(11, rt::ToGbk("2020年1月2日3时4分5秒")), rt::ToGbk("2020年1月2日3时4分5秒"));
    EXPECT_EQ(NormaliseInput(11, "2023-2-29"), "");
    EXPECT_EQ(NormaliseInput(11, "hello"), "");
    EXPECT_EQ(NormaliseInput(11, "0-0-0"), "");
    EXPECT_EQ(NormaliseInput(11, "1899-12-30 00:00:00"), ""); // the zero date
    EXPECT_EQ(NormaliseInput(11, "1899-12-30 0:0:1"), rt::ToGbk("1899年12月30日0时0分1秒"));
}

TEST(EditBoxData, WritesWhatItReads) {
    EditBoxProperties p;
    p.content = "abc";
    p.font = std::string(60, 'f');
    p.passwordChar = 0xb0a1;
    p.bound1 = -7;
    p.dataColumn = "col";
    std::string data = WriteEditBoxData(p);
    EditBoxProperties back;
    ASSERT_TRUE(ReadEditBoxData(reinterpret_cast<const uint8_t *>(data.data()), uint32_t(data.size()), back));
    EXPECT_EQ(WriteEditBoxData(back), data);
    EXPECT_EQ(back.passwordChar, 0xb0a1);
    EXPECT_EQ(back.bound1, -7);
    EXPECT_EQ(back.dataColumn, "col");
}

TEST(EditBoxData, ShortOrNewerDataFails) {
    std::string data = WriteEditBoxData(EditBoxProperties{});
    EditBoxProperties p;
    EXPECT_FALSE(ReadEditBoxData(reinterpret_cast<const uint8_t *>(data.data()), uint32_t(data.size() - 1), p));
    data[0] = 3;
    EXPECT_FALSE(ReadEditBoxData(reinterpret_cast<const uint8_t *>(data.data()), uint32_t(data.size()), p));
    EXPECT_TRUE(ReadEditBoxData(nullptr, 0, p));
    EXPECT_EQ(p.bound2, 100);
}

// Every edit box and common dialog of the application's main window reads its data
// and writes it back byte for byte.
TEST(EditBoxData, TheMainWindowsUnitsReadAndWriteBack) {
    std::vector<WindowTemplate> windows;
    ASSERT_TRUE(ReadWindowSet(image::MainWindowSet, image::kMainWindowSetSize, windows));
    int edits = 0;
    for (const UnitEntry &u : windows[0].units) {
        const std::string &data = u.record.propertyData;
        auto bytes = reinterpret_cast<const uint8_t *>(data.data());
        if (u.record.type == 0x10005) {
            EditBoxProperties p;
            ASSERT_TRUE(ReadEditBoxData(bytes, uint32_t(data.size()), p));
            EXPECT_EQ(WriteEditBoxData(p), data);
            ++edits;
            if (u.record.name == rt::ToGbk("编辑框1")) {
                EXPECT_EQ(data.size(), 82u);
            }
            if (u.record.name == rt::ToGbk("编辑框2")) {
                EXPECT_EQ(p.content, "2");
            }
        }
        if (u.record.type == 0x1001f) {
            CommonDialogProperties p;
            ASSERT_TRUE(ReadCommonDialogData(bytes, uint32_t(data.size()), p));
            EXPECT_EQ(p.kind, 0);
            EXPECT_EQ(p.overwritePrompt, 1);
        }
    }
    EXPECT_EQ(edits, 4);
}
