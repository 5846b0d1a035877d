#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;

TEST_F(TextCommands, CaseChangesOnlySingleByteLetters) {
    EXPECT_EQ(CallText(ToUpperCase, {TextArg("abZ1\xB0" "a" "x")}), "ABZ1\xB0" "aX");
    EXPECT_EQ(CallText(ToLowerCase, {TextArg("ABz1\xB0" "A" "X")}), "abz1\xB0" "Ax");
    EXPECT_EQ(CallText(ToUpperCase, {TextArg("")}), "");
    EXPECT_EQ(CallText(ToUpperCase, {TextArg("@[`{")}), "@[`{");
}

TEST_F(TextCommands, CaseKeepsADanglingLeadByte) {
    EXPECT_EQ(CallText(ToUpperCase, {TextArg("ab\xB0")}), "AB\xB0");
    EXPECT_EQ(CallText(ToLowerCase, {TextArg("\xB0")}), "\xB0");
}

TEST_F(TextCommands, FullWidth) {
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("\x41\x20\x31\x7E")}), "\xA3\xC1\xA1\xA1\xA3\xB1\xA1\xAB");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("!}")}), "\xA3\xA1\xA3\xFD");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("\t\x7F")}), "\t\x7F");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("\xD6\xD0" "a")}), "\xD6\xD0\xA3\xE1");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("a\xB0")}), "\xA3\xE1");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("\xB0")}), "");
}

TEST_F(TextCommands, HalfWidthReversesFullWidth) {
    EXPECT_EQ(CallText(ToHalfWidth, {TextArg("\xA3\xC1\xA1\xA1\xA3\xB1\xA1\xAB")}), "A 1~");
    EXPECT_EQ(CallText(ToHalfWidth, {TextArg("\xA1\xEE\xA1\xEF")}), "**");
    EXPECT_EQ(CallText(ToHalfWidth, {TextArg("\xA3\xA0\xA3\xFE\xD6\xD0")}), "\xA3\xA0~\xD6\xD0");
    EXPECT_EQ(CallText(ToHalfWidth, {TextArg("x\xA3")}), "x");
    std::string all;
    for (int b = 0x21; b <= 0x7E; ++b) all += char(b);
    char *full = ConvertText(all.c_str(), kToFullWidth);
    char *half = ConvertText(full, kToHalfWidth);
    EXPECT_EQ(std::string(half), all);
    rt::FreeMemory(full);
    rt::FreeMemory(half);
}

TEST_F(TextCommands, HalfWidthCanDropSpaces) {
    char *half = ConvertText("a \xA1\xA1" "b", kToHalfWidth, true);
    EXPECT_STREQ(half, "ab");
    rt::FreeMemory(half);
    EXPECT_EQ(ConvertText(" \xA1\xA1", kToHalfWidth, true), nullptr);
}

TEST_F(TextCommands, TrimSpacesMixesAsciiAndFullWidth) {
    EXPECT_EQ(CallText(TrimSpaces, {TextArg(" \xA1\xA1 a b\xA1\xA1" "c \xA1\xA1  ")}), "a b\xA1\xA1" "c");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("   ")}), "");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("\xA1\xA1")}), "");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("")}), "");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("abc")}), "abc");
}

TEST_F(TextCommands, TrimSpacesCutsADanglingLeadAndKeepsTheRunBeforeIt) {
    EXPECT_EQ(CallText(TrimSpaces, {TextArg(" ab  \xB0")}), "ab  ");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("\xA1")}), "");
    // A1 as a trail byte is no space: B0 A1 A1 A1 is one character and one space.
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("\xB0\xA1\xA1\xA1")}), "\xB0\xA1");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg("\xB0 ")}), "\xB0 ");
}

TEST_F(TextCommands, RemoveAllSpaces) {
    EXPECT_EQ(CallText(RemoveAllSpaces, {TextArg(" a \xA1\xA1" "b\xD6\xD0 c ")}), "ab\xD6\xD0" "c");
    EXPECT_EQ(CallText(RemoveAllSpaces, {TextArg(" \xA1\xA1 ")}), "");
    EXPECT_EQ(CallText(RemoveAllSpaces, {TextArg("a b\xB0")}), "ab");
    EXPECT_EQ(CallText(RemoveAllSpaces, {TextArg("\xB0 ")}), "\xB0 ");
}

} // namespace
} // namespace texttest
