// Cutting texts between markers, after a colon, and removing repeated items.
#include <gtest/gtest.h>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "text_pieces.h"

namespace {

std::string Gbk(const std::string &utf8) { return rt::ToGbk(utf8); }

class TextPieces : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(TextPieces, BetweenMarkersFromAStartAndByCase) {
    std::string text = "Host: a\r\nUser-Agent: Probe/1\r\nX: y";
    EXPECT_EQ(app::TextBetween(text, "user-agent:", "\r\n"), " Probe/1");
    EXPECT_EQ(app::TextBetween(text, "user-agent:", "\r\n", 1, true), "");
    EXPECT_EQ(app::TextBetween("<b>1</b><b>2</b>", "<b>", "</b>", 5), "2");
    EXPECT_EQ(app::TextBetween("<b>1</b>", "<i>", "</b>"), "");  // no start marker
    EXPECT_EQ(app::TextBetween("<b>1", "<b>", "</b>"), "");      // no end marker
    EXPECT_EQ(app::TextBetween("<b></b>", "<b>", "</b>"), "");
}

TEST_F(TextPieces, QuotePlaceholderInMarkersStandsForADoubleQuote) {
    std::string page = "<a href=\"x.cn\">x</a>";
    EXPECT_EQ(app::TextBetween(page, Gbk("href=#引号"), Gbk("#引号")), "x.cn");
    EXPECT_EQ(app::TextBetween(Gbk("#引号x#引号"), Gbk("#引号"), Gbk("#引号")), "");
}

TEST_F(TextPieces, TextAfterTheFirstColonTrimmed) {
    EXPECT_EQ(app::TextAfterColon("Location:  http://a.cn/x  "), "http://a.cn/x");
    EXPECT_EQ(app::TextAfterColon(Gbk("名称：") + "no ascii colon"), "");
    EXPECT_EQ(app::TextAfterColon("a:"), "");
}

TEST_F(TextPieces, RepeatedItemsKeptOnceInFirstOrder) {
    EXPECT_EQ(app::RemoveDuplicateItems("b=2; a=1; b=2; c=3; a=1", "; "), "b=2; a=1; c=3");
    EXPECT_EQ(app::RemoveDuplicateItems("x|x|X", "|"), "x|X");
    EXPECT_EQ(app::RemoveDuplicateItems("", "; "), "");
    EXPECT_EQ(app::RemoveDuplicateItems("one", "; "), "one");
}

} // namespace
