// What the command tables run through rtcall cannot see: null empty results, block
// headers, the half-width routine and long texts.
#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;

TEST_F(TextCommands, EveryEmptyResultIsNull) {
    // CallText and CallByteSet fail on an allocated empty block.
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc"), MakeInteger(0)}), "");
    EXPECT_EQ(CallText(TextRight, {TextArg(""), MakeInteger(3)}), "");
    EXPECT_EQ(CallText(TextMiddle, {TextArg("abc"), MakeInteger(4), MakeInteger(1)}), "");
    EXPECT_EQ(CallText(CharFromCode, {rt::TypedValue{0, 0, rt::kTypeByte}}), "");
    EXPECT_EQ(CallText(ToUpperCase, {TextArg("")}), "");
    EXPECT_EQ(CallText(ToFullWidth, {TextArg("\xB0")}), "");
    EXPECT_EQ(CallText(TrimSpaces, {TextArg(" \xA1\xA1 ")}), "");
    EXPECT_EQ(CallText(RemoveAllSpaces, {TextArg(" \xA1\xA1 ")}), "");
    EXPECT_EQ(CallText(ReplaceSubtext, {TextArg("abc"), TextArg("abc")}), "");
    EXPECT_EQ(CallText(ReplaceSubtext, {TextArg(""), TextArg("x")}), "");
    EXPECT_EQ(CallText(SpaceText, {MakeInteger(0)}), "");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(0), TextArg("ab")}), "");
    EXPECT_EQ(CallText(RepeatText, {MakeInteger(5), TextArg("")}), "");
    EXPECT_EQ(CallByteSet(ByteSetLeft, {ByteSetArg("abc"), MakeInteger(0)}), "");
    EXPECT_EQ(CallByteSet(BlankByteSet, {MakeInteger(-1)}), "");
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(3), ByteSetArg("")}), "");
    EXPECT_EQ(CallSplit({TextArg("a,,b")}), (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(TextCommands, ResultBlocksHaveTheirHeaders) {
    rt::TypedValue set = testsupport::CallCommand(RepeatByteSet, {MakeInteger(2), ByteSetArg("xyz")});
    auto *words = set.Pointer<const uint32_t>();
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 6u);
    testsupport::TakeByteSet(set);
    rt::TypedValue array = testsupport::CallCommand(SplitText, {TextArg("")});
    words = array.Pointer<const uint32_t>();
    ASSERT_NE(words, nullptr) << "no parts is the header alone, not null";
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 0u);
    rt::FreeArray(rt::kTypeText, array.Pointer<void>());
}

TEST_F(TextCommands, RepeatFillsEveryCopy) {
    std::string many = CallText(RepeatText, {MakeInteger(1000), TextArg("\xD6\xD0z")});
    ASSERT_EQ(many.size(), 3000u);
    for (size_t i = 0; i < many.size(); i += 3) ASSERT_EQ(many.substr(i, 3), "\xD6\xD0z") << i;
    EXPECT_EQ(CallByteSet(RepeatByteSet, {MakeInteger(1000), ByteSetArg(std::string("\0a", 2))}).find("aa"),
              std::string::npos);
}

TEST_F(TextCommands, MissingArgumentsReadAsOmitted) {
    EXPECT_EQ(CallText(TextLeft, {TextArg("abc")}), "");
    EXPECT_EQ(CallInteger(TextLength, {}), 0);
    EXPECT_EQ(CallText(TextMiddle, {MakeInteger(5), MakeInteger(1), MakeInteger(2)}), "");
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

TEST_F(TextCommands, LongTextsUseTheSameCharacterRules) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "\xB0needle-";
    text += "needle";
    auto find = [&](rt::CommandRoutine command, std::string_view sought, bool ignoreCase) {
        return CallInteger(command, {TextArg(text), TextArg(sought), Omitted(), MakeBoolean(ignoreCase)});
    };
    // Each lead byte takes the 'n' after it as its trail, so only the last "needle"
    // starts a character.
    EXPECT_EQ(find(FindText, "needle", false), int32_t(text.size() - 5));
    EXPECT_EQ(find(FindText, "NEEDLE", true), int32_t(text.size() - 5));
    EXPECT_EQ(find(FindTextReverse, "needle", false), int32_t(text.size() - 5));
    EXPECT_EQ(find(FindText, "eedle-", false), 3);
    EXPECT_EQ(find(FindTextReverse, "eedle-", false), int32_t(text.size() - 11));
}

} // namespace
} // namespace texttest
