// The collector's text helpers and TimeToText, run over the application's own image.
#include <gtest/gtest.h>

#include <string>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "memory.h"
#include "text_between.h"
#include "time_to_text.h"
#include "value.h"

using app::ExtractBetween;
using app::FindTextFrom;

namespace {

class AppText : public testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

std::string Take(char *text) {
    std::string s = text ? text : "";
    rt::FreeMemory(text);
    return s;
}

// 2014-07-24 12:10:41 and 2014-05-01 00:00:00 as OLE dates.
const rt::TypedValue kSummer = rt::MakeDateTime(41844.0 + (12 * 3600 + 10 * 60 + 41) / 86400.0);
const rt::TypedValue kMidnight = rt::MakeDateTime(41760.0);

} // namespace

TEST_F(AppText, FindTextFromStartsAtItsPositionAndSkipsSecondBytes) {
    EXPECT_EQ(FindTextFrom("abcabc", "bc", 1, false), 2);
    EXPECT_EQ(FindTextFrom("abcabc", "bc", 3, false), 5);
    EXPECT_EQ(FindTextFrom("abcabc", "bc", -7, false), 2);
    EXPECT_EQ(FindTextFrom("abcabc", "BC", 1, false), -1);
    EXPECT_EQ(FindTextFrom("abcabc", "BC", 1, true), 2);
    EXPECT_EQ(FindTextFrom("", "a", 1, false), -1);
    EXPECT_EQ(FindTextFrom("abc", "", 1, false), -1);
    EXPECT_EQ(FindTextFrom("abc", "abcd", 1, false), -1);
    EXPECT_EQ(FindTextFrom("abc", "bc", 3, false), -1); // longer than what remains
    // "\xB0\x41" is one character whose second byte is the letter A.
    EXPECT_EQ(FindTextFrom("\xB0\x41x", "A", 1, false), -1);
    EXPECT_EQ(FindTextFrom("\xB0\x41xA", "A", 1, false), 4);
    // Folding never touches the second byte of a two-byte character of the sought text.
    EXPECT_EQ(FindTextFrom("\xB0\x61", "\xB0\x41", 1, true), -1);
    EXPECT_EQ(FindTextFrom("z\xB0\x41", "Z\xB0\x41", 1, true), 1);
}

TEST_F(AppText, ExtractBetweenTakesTheTextBetweenMarkersAndMovesThePosition) {
    const char *page = "x sorvelid=7f3a/rest sorvelid=99/";
    int32_t position = 0;
    EXPECT_EQ(Take(ExtractBetween(page, "sorvelid=", "/", position)), "7f3a");
    EXPECT_EQ(position, 17);
    EXPECT_EQ(Take(ExtractBetween(page, "sorvelid=", "/", position)), "99");
    EXPECT_EQ(Take(ExtractBetween(page, "sorvelid=", "/", position)), "");
    EXPECT_EQ(position, 0);
    position = 0;
    EXPECT_EQ(Take(ExtractBetween("a[]b", "[", "]", position)), ""); // markers side by side
    EXPECT_EQ(position, 4);
    position = 0;
    EXPECT_EQ(Take(ExtractBetween("a[b", "[", "]", position)), "");
    EXPECT_EQ(position, 0);
}

TEST_F(AppText, TimeToTextStylesAndParts) {
    auto text = [](const rt::TypedValue &t, int style, int parts) { return Take(app::TimeToText(t, style, parts)); };
    EXPECT_EQ(text(kSummer, 0, 0), rt::ToGbk("2014年7月24日12时10分41秒"));
    EXPECT_EQ(text(kMidnight, 0, 0), rt::ToGbk("2014年5月1日"));
    EXPECT_EQ(text(kSummer, 1, 0), "2014-07-24 12:10:41");
    EXPECT_EQ(text(kSummer, 2, 0), "2014/07/24 12/10/41");
    EXPECT_EQ(text(kSummer, 3, 0), "20140724121041");
    EXPECT_EQ(text(kSummer, 0, 1), rt::ToGbk("2014年07月24日"));
    EXPECT_EQ(text(kMidnight, 3, 1), "20140501");
    EXPECT_EQ(text(kSummer, 0, 2), rt::ToGbk("07月24日"));
    EXPECT_EQ(text(kSummer, 1, 2), "07-24");
    EXPECT_EQ(text(kSummer, 0, 3), rt::ToGbk("12时10分41秒"));
    EXPECT_EQ(text(kMidnight, 1, 3), "00:00:00");
    EXPECT_EQ(text(kSummer, 2, 4), "12/10");
    EXPECT_EQ(text(kSummer, 0, 5), rt::ToGbk("10分41秒"));
    EXPECT_EQ(text(kSummer, 3, 5), "1041");
}

TEST_F(AppText, TimeToTextRefusesUnknownStylesAndParts) {
    const std::string error = rt::ToGbk("时间_到文本() 命令参数填写有误");
    EXPECT_EQ(Take(app::TimeToText(kSummer, 4, 0)), error);
    EXPECT_EQ(Take(app::TimeToText(kSummer, 0, 6)), error);
    EXPECT_EQ(Take(app::TimeToText(kSummer, -1, 0)), error);
}

TEST_F(AppText, TimeToTextWithoutATimeTakesTheCurrentOne) {
    std::string now = Take(app::TimeToText(rt::TypedValue{0, 0, 0}, 1, 1));
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now[4], '-');
    EXPECT_GE(now.substr(0, 4), "2024");
}
