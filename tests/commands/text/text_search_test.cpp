#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;

int32_t Find(std::string_view text, std::string_view sought, rt::TypedValue start = Omitted(),
             rt::TypedValue ignoreCase = Omitted()) {
    return CallInteger(FindText, {TextArg(text), TextArg(sought), start, ignoreCase});
}
int32_t FindReverse(std::string_view text, std::string_view sought, rt::TypedValue end = Omitted(),
                    rt::TypedValue ignoreCase = Omitted()) {
    return CallInteger(FindTextReverse, {TextArg(text), TextArg(sought), end, ignoreCase});
}

TEST_F(TextCommands, FindFromStartPositions) {
    EXPECT_EQ(Find("abcabc", "bc"), 2);
    EXPECT_EQ(Find("abcabc", "bc", MakeInteger(3)), 5);
    EXPECT_EQ(Find("abcabc", "bc", MakeInteger(6)), -1);
    EXPECT_EQ(Find("abcabc", "bc", MakeInteger(0)), 2);
    EXPECT_EQ(Find("abcabc", "bc", MakeInteger(-9)), 2);
    EXPECT_EQ(Find("abcabc", "bc", MakeInteger(7)), -1);
    EXPECT_EQ(Find("abcabc", "abcabcx"), -1);
    EXPECT_EQ(Find("abcabc", "x"), -1);
}

TEST_F(TextCommands, FindReverseEndsBeforeTheGivenPosition) {
    EXPECT_EQ(FindReverse("abcabc", "bc"), 5);
    EXPECT_EQ(FindReverse("abcabc", "bc", MakeInteger(6)), 2);
    EXPECT_EQ(FindReverse("abcabc", "bc", MakeInteger(7)), 5);
    EXPECT_EQ(FindReverse("abcabc", "bc", MakeInteger(1)), -1);
    EXPECT_EQ(FindReverse("abcabc", "bc", MakeInteger(100)), 5);
    EXPECT_EQ(FindReverse("aaa", "aa"), 2);
}

TEST_F(TextCommands, EmptySoughtTextFindsTheStartOfANonEmptyRange) {
    EXPECT_EQ(Find("abc", ""), 1);
    EXPECT_EQ(Find("", ""), -1);
    EXPECT_EQ(Find("abc", "", MakeInteger(2)), 1);
    EXPECT_EQ(Find("abc", "", MakeInteger(4)), -1);
    EXPECT_EQ(FindReverse("abc", ""), 1);
    EXPECT_EQ(FindReverse("abc", "", MakeInteger(1)), -1);
}

TEST_F(TextCommands, IgnoreCaseOnlyWhenTheFlagIsOne) {
    EXPECT_EQ(Find("xabc", "ABC", Omitted(), MakeBoolean(true)), 2);
    EXPECT_EQ(Find("xabc", "ABC", Omitted(), rt::TypedValue{2, 0, rt::kTypeBoolean}), -1);
    EXPECT_EQ(Find("xabc", "ABC", Omitted(), MakeBoolean(false)), -1);
    EXPECT_EQ(Find("xabc", "ABC"), -1);
    EXPECT_EQ(FindReverse("aBcAbC", "abc", Omitted(), MakeBoolean(true)), 4);
    // Only ASCII letters fold: '[' (0x5B) and '{' (0x7B) differ by 0x20 but stay apart.
    EXPECT_EQ(Find("x{", "[", Omitted(), MakeBoolean(true)), -1);
}

TEST_F(TextCommands, TwoByteCharactersAreNotMatchedInTheirMiddle) {
    // 0xB0 0x61 is one character whose trail byte is 'a'.
    EXPECT_EQ(Find("\xB0" "a" "a", "a"), 3);
    EXPECT_EQ(FindReverse("a\xB0" "a", "a"), 1);
    // "\xD6\xD0\xD6\xD0": the middle pair D0 D6 is not a character.
    EXPECT_EQ(Find("\xD6\xD0\xD6\xD0", "\xD0\xD6"), -1);
    EXPECT_EQ(Find("\xD6\xD0\xD6\xD0", "\xD6\xD0", MakeInteger(3)), 3);
    EXPECT_EQ(Find("\xD6\xD0\xD6\xD0", "\xD6\xD0", MakeInteger(2)), -1);
    EXPECT_EQ(Find("\xB0" "A" "a", "a", Omitted(), MakeBoolean(true)), 3);
}

TEST_F(TextCommands, AStartInsideACharacterWalksFromThere) {
    // From position 2 the walk begins at the trail byte 'a' and treats it as a character.
    EXPECT_EQ(Find("\xB0" "ab", "a", MakeInteger(2)), 2);
    EXPECT_EQ(Find("\xB0\xB0\xB0\xB0" "a", "a", MakeInteger(2)), -1);
    EXPECT_EQ(Find("\xB0\xB0\xB0\xB0" "a", "a", MakeInteger(1)), 5);
}

TEST_F(TextCommands, ALeadByteAtTheEndIsStillCompared) {
    EXPECT_EQ(Find("a\xB0", "\xB0"), 2);
    EXPECT_EQ(FindReverse("\xB0" "a\xB0", "\xB0"), 3);
}

TEST_F(TextCommands, LongTextsUseTheSameCharacterRules) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "\xB0needle-";
    text += "needle";
    // Each lead byte takes the 'n' after it as its trail, so only the last "needle"
    // starts a character.
    EXPECT_EQ(Find(text, "needle"), int32_t(text.size() - 5));
    EXPECT_EQ(Find(text, "NEEDLE", Omitted(), MakeBoolean(true)), int32_t(text.size() - 5));
    EXPECT_EQ(Find(text, "eedle-"), 3);
    EXPECT_EQ(FindReverse(text, "eedle-"), int32_t(text.size() - 11));
}

} // namespace
} // namespace texttest
