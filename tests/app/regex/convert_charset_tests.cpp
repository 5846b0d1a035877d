// Re-encoding through the stream object.
#include <gtest/gtest.h>

#include <thread>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "convert_charset.h"

namespace {

std::string Gbk(const std::string &utf8) { return rt::ToGbk(utf8); }

class Charsets : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(Charsets, Utf8ToGbkByDefault) {
    EXPECT_EQ(app::ConvertCharset("\xE4\xB8\xAD"), "\xD6\xD0");
    EXPECT_EQ(app::ConvertCharset("<p>\xE4\xB8\xAD\xE6\x96\x87 site.cn</p>", "", ""), Gbk("<p>中文 site.cn</p>"));
    EXPECT_EQ(app::ConvertCharset(""), "");
}

TEST_F(Charsets, OtherDirectionAndStartPosition) {
    std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87";
    EXPECT_EQ(app::ConvertCharset(Gbk("中文"), "GBK", "UTF-8"), "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(app::ConvertCharset(Gbk("中文"), "GBK", "UTF-8", 3), utf8);
}

TEST_F(Charsets, OneConversionPerThread) {
    std::string results[4];
    std::thread threads[4];
    for (int i = 0; i < 4; ++i)
        threads[i] = std::thread([&results, i] { results[i] = app::ConvertCharset("\xE4\xB8\xAD" + std::to_string(i)); });
    for (auto &t : threads) t.join();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(results[i], "\xD6\xD0" + std::to_string(i));
}

} // namespace
