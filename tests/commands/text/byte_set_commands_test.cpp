#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;

TEST_F(TextCommands, ByteSetLengthAndLeft) {
    EXPECT_EQ(CallInteger(ByteSetLength, {ByteSetArg(std::string("a\0b", 3))}), 3);
    EXPECT_EQ(CallInteger(ByteSetLength, {ByteSetArg("")}), 0);
    EXPECT_EQ(CallByteSet(ByteSetLeft, {ByteSetArg(std::string("a\0b", 3)), MakeInteger(2)}), std::string("a\0", 2));
    EXPECT_EQ(CallByteSet(ByteSetLeft, {ByteSetArg("abc"), MakeInteger(9)}), "abc");
    EXPECT_EQ(CallByteSet(ByteSetLeft, {ByteSetArg("abc"), MakeInteger(0)}), "");
    EXPECT_EQ(CallByteSet(ByteSetLeft, {ByteSetArg("abc"), MakeInteger(-1)}), "");
}

int32_t FindSet(std::string_view set, std::string_view sought, rt::TypedValue start = Omitted()) {
    return CallInteger(FindByteSet, {ByteSetArg(set), ByteSetArg(sought), start});
}

TEST_F(TextCommands, FindByteSetHasNoCharacterSteps) {
    EXPECT_EQ(FindSet("\xB0" "ab", "a"), 2);
    EXPECT_EQ(FindSet(std::string("x\0y\0y", 5), std::string("\0y", 2)), 2);
    EXPECT_EQ(FindSet(std::string("x\0y\0y", 5), std::string("\0y", 2), MakeInteger(3)), 4);
    EXPECT_EQ(FindSet("abcabc", "bc", MakeInteger(0)), 2);
    EXPECT_EQ(FindSet("abcabc", "bc", MakeInteger(6)), -1);
    EXPECT_EQ(FindSet("abcabc", "bc", MakeInteger(7)), -1);
    EXPECT_EQ(FindSet("abc", ""), -1);
    EXPECT_EQ(FindSet("", ""), -1);
    EXPECT_EQ(FindSet("abc", "abcd"), -1);
    EXPECT_EQ(FindSet("abcab", "abc", MakeInteger(2)), -1);
}

TEST_F(TextCommands, BlankAndRepeatedByteSets) {
    EXPECT_EQ(CallByteSet(BlankByteSet, {MakeInteger(3)}), std::string(3, '\0'));
    EXPECT_EQ(CallByteSet(BlankByteSet, {MakeInteger(0)}), "");
    EXPECT_EQ(CallByteSet(BlankByteSet, {MakeInteger(-1)}), "");
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(3), ByteSetArg(std::string("a\0", 2))}),
              std::string("a\0a\0a\0", 6));
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(0), ByteSetArg("ab")}), "");
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(-2), ByteSetArg("ab")}), "");
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(4), ByteSetArg("")}), "");
}

TEST_F(TextCommands, ByteSetResultBlocksHaveTheirHeader) {
    rt::TypedValue r = testsupport::CallCommand(RepeatByteSet, {MakeInteger(2), ByteSetArg("xyz")});
    auto *words = r.Pointer<const uint32_t>();
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 6u);
    testsupport::TakeByteSet(r);
}

TEST_F(TextCommandsDeathTest, HugeByteSetRepeatEndsInTheAllocationReport) {
    EXPECT_EXIT(testsupport::CallCommand(RepeatByteSet, {MakeInteger(INT32_MAX), ByteSetArg("abc")}),
                testing::ExitedWithCode(255), "分配 6442450949 字节内存失败!");
}

} // namespace
} // namespace texttest
