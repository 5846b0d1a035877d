// RegexMatcher through its method table, over the expression object.
#include <gtest/gtest.h>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "regex_matcher.h"

namespace {

std::string Gbk(const std::string &utf8) { return rt::ToGbk(utf8); }

// A matcher for one test, destroyed through slot 0.
struct Matcher {
    app::RegexMatcher *m = app::NewRegexMatcher();
    ~Matcher() { m->methods->destroy(m); }
    bool Execute(const std::string &pattern, const std::string &subject, app::MatchOptions options = {}) {
        return m->methods->execute(m, pattern, subject, options);
    }
    int Count() { return m->methods->matchCount(m); }
    std::string Sub(int i, int j) { return m->methods->subMatchText(m, i, j, nullptr, false); }
    std::string Match(int i) { return m->methods->matchText(m, i, nullptr, false); }
};

class Regex : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(Regex, SitesInEitherLetterCaseWithDefaultOptions) {
    Matcher r;
    std::string page = "<SPAN CLASS=\"site\">www.one.cn</SPAN>\n<li><span class=\"site\">" + Gbk("新闻3.cn") + "</span>";
    ASSERT_TRUE(r.Execute("<span class=\"site\">(.*?)</span>", page));
    ASSERT_EQ(r.Count(), 2);
    EXPECT_EQ(r.Sub(1, 1), "www.one.cn");
    EXPECT_EQ(r.Sub(2, 1), Gbk("新闻3.cn"));
    EXPECT_EQ(r.Match(1), "<SPAN CLASS=\"site\">www.one.cn</SPAN>");
    EXPECT_EQ(r.m->methods->subMatchCount(r.m), 1);
    EXPECT_EQ(r.m->methods->patternText(r.m), "<span class=\"site\">(.*?)</span>");
}

TEST_F(Regex, OptionsReachTheExpression) {
    Matcher r;
    app::MatchOptions exact;
    exact.caseSensitive = true;
    ASSERT_TRUE(r.Execute("<b>(\\w)</b>", "<B>x</B><b>y</b><b>z</b>", exact));
    EXPECT_EQ(r.Count(), 2);
    app::MatchOptions first;
    first.global = false;
    ASSERT_TRUE(r.Execute("<b>(\\w)</b>", "<B>x</B><b>y</b>", first));
    EXPECT_EQ(r.Count(), 1);
    EXPECT_EQ(r.Sub(1, 1), "x");
    app::MatchOptions singleLine;
    singleLine.multiLine = false;
    ASSERT_TRUE(r.Execute("^\\w+$", "ab\ncd", singleLine));
    EXPECT_EQ(r.Count(), 0);
    ASSERT_TRUE(r.Execute("^\\w+$", "ab\ncd"));
    EXPECT_EQ(r.Count(), 2);
}

TEST_F(Regex, QuotePlaceholderOnlyWithItsFlag) {
    Matcher r;
    std::string pattern = Gbk("href=#引号(.*?)#引号");
    std::string page = "<a href=\"a.cn\">";
    app::MatchOptions quoted;
    quoted.quotePlaceholder = true;
    ASSERT_TRUE(r.Execute(pattern, page, quoted));
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r.Sub(1, 1), "a.cn");
    EXPECT_EQ(r.m->methods->patternText(r.m), "href=\"(.*?)\"");
    ASSERT_TRUE(r.Execute(pattern, page));
    EXPECT_EQ(r.Count(), 0);
}

TEST_F(Regex, ReplacingBlankLinesWithNothing) {
    Matcher r;
    ASSERT_TRUE(r.Execute("\\n\\s*\\r", "a.cn\r\n\r\n  \r\nb.cn\r\n"));
    EXPECT_EQ(r.m->methods->replace(r.m, ""), "a.cn\r\nb.cn\r\n");
}

TEST_F(Regex, PositionsAreByteOffsetsInTheSubject) {
    Matcher r;
    std::string subject = Gbk("中文 ab 中 ab");
    ASSERT_TRUE(r.Execute("(a)b", subject));
    ASSERT_EQ(r.Count(), 2);
    int32_t position = -5;
    EXPECT_EQ(r.m->methods->matchText(r.m, 2, &position, true), "ab");
    EXPECT_EQ(position, 11); // after 中文 (4 bytes), " ab ", 中 (2 bytes) and a space
    EXPECT_EQ(r.m->methods->subMatchText(r.m, 1, 1, &position, true), "a");
    EXPECT_EQ(position, 5);
    int32_t untouched = 77;
    r.m->methods->matchText(r.m, 1, &untouched, false);
    EXPECT_EQ(untouched, 77);
}

TEST_F(Regex, SubMatchThatTookNoPartAndIndexesOutOfRange) {
    Matcher r;
    ASSERT_TRUE(r.Execute("(a)|(b)", "b"));
    EXPECT_EQ(r.Sub(1, 1), "");
    EXPECT_EQ(r.Sub(1, 2), "b");
    EXPECT_EQ(r.Sub(1, 3), "");
    EXPECT_EQ(r.Sub(2, 1), "");
    EXPECT_EQ(r.Match(0), "");
}

TEST_F(Regex, BadPatternGivesNoMatches) {
    Matcher r;
    EXPECT_FALSE(r.Execute("(unclosed", "text"));
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(r.Match(1), "");
    EXPECT_EQ(r.m->methods->subMatchCount(r.m), 0);
    // The next execution starts afresh.
    EXPECT_TRUE(r.Execute("t", "text"));
    EXPECT_EQ(r.Count(), 2);
}

TEST_F(Regex, BeforeAnyExecutionEverythingIsEmpty) {
    Matcher r;
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(r.m->methods->patternText(r.m), "");
    EXPECT_EQ(r.m->methods->replace(r.m, "x"), "");
    r.m->methods->nothing(r.m);
}

TEST_F(Regex, CopySharesTheObjectsAndOutlivesTheOriginal) {
    app::RegexMatcher *original = app::NewRegexMatcher();
    ASSERT_TRUE(original->methods->execute(original, "(\\d+)", "a1 b22", {}));
    app::RegexMatcher *copy = original->methods->copy(original);
    original->methods->destroy(original);
    EXPECT_EQ(copy->methods->matchCount(copy), 2);
    EXPECT_EQ(copy->methods->subMatchText(copy, 2, 1, nullptr, false), "22");
    EXPECT_EQ(copy->methods->replace(copy, "#"), "a# b#");
    copy->methods->destroy(copy);
}

} // namespace
