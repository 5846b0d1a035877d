#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;

TEST_F(TextCommands, LengthCountsBytes) {
    EXPECT_EQ(CallInteger(TextLength, {TextArg("abc")}), 3);
    EXPECT_EQ(CallInteger(TextLength, {TextArg("")}), 0);
    EXPECT_EQ(CallInteger(TextLength, {Utf8TextArg("中文a")}), 5);
}

TEST_F(TextCommands, LeftAndRightClampTheirCounts) {
    EXPECT_EQ(CallText(TextLeft, {TextArg("abcdef"), MakeInteger(2)}), "ab");
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc"), MakeInteger(10)}), "abc");
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc"), MakeInteger(0)}), "");
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc"), MakeInteger(-5)}), "");
    EXPECT_EQ(CallText(TextRight, {TextArg("abcdef"), MakeInteger(2)}), "ef");
    EXPECT_EQ(CallText(TextRight, {TextArg("abc"), MakeInteger(10)}), "abc");
    EXPECT_EQ(CallText(TextRight, {TextArg("abc"), MakeInteger(-1)}), "");
    EXPECT_EQ(CallText(TextRight, {TextArg(""), MakeInteger(3)}), "");
}

TEST_F(TextCommands, PartsCountPlainBytesAndMayCutACharacter) {
    EXPECT_EQ(CallText(TextLeft, {TextArg("\xD6\xD0\xCE\xC4"), MakeInteger(3)}), "\xD6\xD0\xCE");
    EXPECT_EQ(CallText(TextRight, {TextArg("\xD6\xD0\xCE\xC4"), MakeInteger(1)}), "\xC4");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("\xD6\xD0\xCE\xC4"), MakeInteger(2), MakeInteger(2)}), "\xD0\xCE");
}

TEST_F(TextCommands, MiddleRanges) {
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(3), MakeInteger(2)}), "cd");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(0), MakeInteger(2)}), "");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(7), MakeInteger(2)}), "");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(5), MakeInteger(10)}), "ef");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(6), MakeInteger(1)}), "f");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(2), MakeInteger(0)}), "");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(INT32_MIN), MakeInteger(2)}), "");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abcdef"), MakeInteger(2), MakeInteger(INT32_MAX)}), "bcdef");
}

TEST_F(TextCommands, CharFromCodeTakesTheLowByte) {
    EXPECT_EQ(CallText(CharFromCode, {rt::TypedValue{0x41, 0, rt::kTypeByte}}), "A");
    EXPECT_EQ(CallText(CharFromCode, {rt::TypedValue{0xB0, 0, rt::kTypeByte}}), "\xB0");
    EXPECT_EQ(CallText(CharFromCode, {rt::TypedValue{0x0, 0, rt::kTypeByte}}), "");
}

TEST_F(TextCommands, SpaceText) {
    EXPECT_EQ(CallText(SpaceText, {MakeInteger(3)}), "   ");
    EXPECT_EQ(CallText(SpaceText, {MakeInteger(0)}), "");
    EXPECT_EQ(CallText(SpaceText, {MakeInteger(-2)}), "");
}

TEST_F(TextCommands, RepeatText) {
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(3), TextArg("ab")}), "ababab");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(4), TextArg("x")}), "xxxx");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(5), TextArg("abc")}), "abcabcabcabcabc");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(0), TextArg("ab")}), "");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(-3), TextArg("ab")}), "");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(1000), TextArg("")}), "");
    std::string many = CallText(RepeatText, {MakeInteger(1000), TextArg("\xD6\xD0z")});
    ASSERT_EQ(many.size(), 3000u);
    for (size_t i = 0; i < many.size(); i += 3) ASSERT_EQ(many.substr(i, 3), "\xD6\xD0z") << i;
}

TEST_F(TextCommands, MissingArgumentsReadAsOmitted) {
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc")}), "");
    EXPECT_EQ(CallInteger(TextLength, {}), 0);
    EXPECT_EQ(CallText(TextMiddle, {MakeInteger(5), MakeInteger(1), MakeInteger(2)}), "");
}

TEST_F(TextCommandsDeathTest, HugeRepeatEndsInTheAllocationReport) {
    EXPECT_EXIT(testsupport::CallCommand(RepeatText, {MakeInteger(INT32_MAX), TextArg("ab")}),
                testing::ExitedWithCode(255), "分配 4294967295 字节内存失败!");
    EXPECT_EXIT(testsupport::CallCommand(RepeatText, {MakeInteger(INT32_MAX), TextArg(std::string(1000, 'q'))}),
                testing::ExitedWithCode(255), "分配 2147483647001 字节内存失败!");
}

} // namespace
} // namespace texttest
