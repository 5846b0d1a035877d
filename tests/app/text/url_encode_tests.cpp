// Percent-encoding of GBK texts, directly and through their UTF-8 form.
#include <gtest/gtest.h>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "url_encode.h"
#include "wide_text.h"

namespace {

std::string Gbk(const std::string &utf8) { return rt::ToGbk(utf8); }

class UrlEncoding : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(UrlEncoding, SafeBytesStayOnlyWithTheFlag) {
    EXPECT_EQ(app::UrlEncode("A-z.0~", true, false), "A-z.0%7E");
    EXPECT_EQ(app::UrlEncode("A-z.0~", false, false), "%41%2D%7A%2E%30%7E");
    EXPECT_EQ(app::UrlEncode("a b/_\x01", true, false), "a%20b%2F%5F%01");
    EXPECT_EQ(app::UrlEncode("", true, true), "");
}

TEST_F(UrlEncoding, ChineseAsGbkOrUtf8) {
    EXPECT_EQ(app::UrlEncode(Gbk("中"), true, true), "%E4%B8%AD");
    EXPECT_EQ(app::UrlEncode(Gbk("中"), true, false), "%D6%D0");
    EXPECT_EQ(app::UrlEncode(Gbk("新闻 a"), true, true), "%E6%96%B0%E9%97%BB%20a");
}

TEST_F(UrlEncoding, WideTextConversions) {
    EXPECT_EQ(app::ToWideText(Gbk("中a"), app::kCodePageGbk, true), std::string("\x2D\x4E\x61\x00\x00\x00", 6));
    EXPECT_EQ(app::ToWideText("", app::kCodePageGbk, true), std::string(2, '\0'));
    // Without a code page the text is read as UTF-8; the room is measured in the
    // system code page (three units here), so zero units follow.
    EXPECT_EQ(app::ToWideText("\xE4\xB8\xAD", 0, false), std::string("\x2D\x4E\x00\x00\x00\x00", 6));
    std::string units("\x2D\x4E\x87\x65\x00\x00", 6);
    EXPECT_EQ(app::FromWideText(units, app::kCodePageUtf8, true), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(app::FromWideText(units, 0, false), Gbk("中文"));
    EXPECT_EQ(app::Utf8Text(Gbk("中文")), "\xE4\xB8\xAD\xE6\x96\x87");
}

// Units without a terminating zero unit, or an odd byte count, are read no further
// than the set holds.
TEST_F(UrlEncoding, UnterminatedUnitsStayInBounds) {
    EXPECT_EQ(app::FromWideText(std::string("\x61\x00\x62", 3), app::kCodePageUtf8, true), "a");
    EXPECT_EQ(app::FromWideText(std::string("\x61\x00\x62\x00", 4), app::kCodePageUtf8, true), "ab");
}

} // namespace
