#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;
using Parts = std::vector<std::string>;

std::string Replace(std::string_view text, std::string_view sought, rt::TypedValue replacement,
                    rt::TypedValue start = Omitted(), rt::TypedValue limit = Omitted(),
                    rt::TypedValue caseSensitive = Omitted()) {
    return CallText(ReplaceSubtext, {TextArg(text), TextArg(sought), replacement, start, limit, caseSensitive});
}

TEST_F(TextCommands, ReplaceCountStartAndOmittedReplacement) {
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";"), Omitted(), MakeInteger(1)), "a;b,c");
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";"), MakeInteger(3)), "a,b;c");
    EXPECT_EQ(Replace("a,b,c", ",", Omitted()), "abc");
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";;")), "a;;b;;c");
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";"), MakeInteger(-4), MakeInteger(-7)), "a;b;c");
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";"), Omitted(), MakeInteger(2)), "a;b;c");
    EXPECT_EQ(Replace("a,b,c", ",", TextArg(";"), Omitted(), MakeInteger(5)), "a;b;c");
}

TEST_F(TextCommands, ReplaceLeavesTheTextWhenThereIsNothingToDo) {
    EXPECT_EQ(Replace("a,b", "", TextArg(";")), "a,b");
    EXPECT_EQ(Replace("", ",", TextArg(";")), "");
    EXPECT_EQ(Replace("a,b", ",", TextArg(";"), MakeInteger(4)), "a,b");
    EXPECT_EQ(Replace("a,b", ",", TextArg(";"), Omitted(), MakeInteger(0)), "a,b");
    EXPECT_EQ(Replace("abc", "abc", Omitted()), "");
}

TEST_F(TextCommands, ReplaceIsCaseInsensitiveOnlyWhenTheFlagIsZero) {
    EXPECT_EQ(Replace("xAbx", "aB", TextArg("-"), Omitted(), Omitted(), MakeBoolean(false)), "x-x");
    EXPECT_EQ(Replace("xAbx", "aB", TextArg("-"), Omitted(), Omitted(), MakeBoolean(true)), "xAbx");
    EXPECT_EQ(Replace("xAbx", "aB", TextArg("-")), "xAbx");
}

TEST_F(TextCommands, ReplaceStepsOverTwoByteCharacters) {
    EXPECT_EQ(Replace("\xB0" "aa", "a", TextArg("-")), "\xB0" "a-");
    EXPECT_EQ(Replace("\xD6\xD0\xD6\xD0", "\xD0\xD6", TextArg("-")), "\xD6\xD0\xD6\xD0");
    EXPECT_EQ(Replace("aa\xB0" "a", "a", TextArg("b"), Omitted(), MakeInteger(5)), "bb\xB0" "a");
}

TEST_F(TextCommands, ReplaceDropsADanglingLeadTheWalkReaches) {
    EXPECT_EQ(Replace("a,\xB0", ",", TextArg(";")), "a;");
    // The walk stops early for a longer sought text; the rest is copied.
    EXPECT_EQ(Replace("a,,\xB0", ",,", TextArg(";")), "a;\xB0");
    // Stopped by the count, the rest is copied as it is.
    EXPECT_EQ(Replace("a,\xB0", ",", TextArg(";"), Omitted(), MakeInteger(1)), "a;\xB0");
    EXPECT_EQ(Replace("a\xB0", "\xB0", TextArg("-")), "a-");
}

TEST_F(TextCommands, SplitWithDefaultDelimiterAndMaximum) {
    EXPECT_EQ(CallSplit({TextArg("a,,b,")}), (Parts{"a", "", "b"}));
    EXPECT_EQ(CallSplit({TextArg("a,,b,"), Omitted(), MakeInteger(2)}), (Parts{"a", ""}));
    EXPECT_EQ(CallSplit({TextArg("a,,b,"), TextArg("|")}), (Parts{"a,,b,"}));
    EXPECT_EQ(CallSplit({TextArg(",a")}), (Parts{"", "a"}));
    EXPECT_EQ(CallSplit({TextArg("a,b,c"), Omitted(), MakeInteger(5)}), (Parts{"a", "b", "c"}));
    EXPECT_EQ(CallSplit({TextArg("a,b,c"), Omitted(), MakeInteger(3)}), (Parts{"a", "b", "c"}));
    EXPECT_EQ(CallSplit({TextArg("a\r\nb\r\n\r\nc"), TextArg("\r\n")}), (Parts{"a", "b", "", "c"}));
}

TEST_F(TextCommands, SplitEdgeCases) {
    EXPECT_EQ(CallSplit({TextArg("")}), Parts{});
    EXPECT_EQ(CallSplit({TextArg("a,b"), Omitted(), MakeInteger(0)}), Parts{});
    EXPECT_EQ(CallSplit({TextArg("a,b"), Omitted(), MakeInteger(-3)}), Parts{});
    EXPECT_EQ(CallSplit({TextArg("a,b"), TextArg("")}), (Parts{"a,b"}));
    EXPECT_EQ(CallSplit({TextArg(",")}), (Parts{""}));
    EXPECT_EQ(CallSplit({TextArg("\xB0,a,b")}), (Parts{"\xB0,a", "b"}));
    EXPECT_EQ(CallSplit({TextArg("a,\xB0")}), (Parts{"a", "\xB0"}));
}

TEST_F(TextCommands, SplitOfNothingIsAnArrayHeaderWithoutElements) {
    rt::TypedValue r = testsupport::CallCommand(SplitText, {TextArg("")});
    auto *words = r.Pointer<const uint32_t>();
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 0u);
    rt::FreeArray(rt::kTypeText, r.Pointer<void>());
}

} // namespace
} // namespace texttest
