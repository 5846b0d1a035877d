// Code-page conversion, case by case as Win32 documents it.
#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

const char kGbkZhong[] = "\xD6\xD0"; // 中
const char kUtf8Zhong[] = "\xE4\xB8\xAD";

} // namespace

TEST(MultiByteToWideChar, MeasuresWithTheTerminatorWhenTheLengthIsMinusOne) {
    EXPECT_EQ(MultiByteToWideChar(936, 0, "ab\xD6\xD0", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(936, 0, "ab\xD6\xD0", 4, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8Zhong, -1, nullptr, 0), 2);
}

TEST(MultiByteToWideChar, ConvertsGbkAndUtf8) {
    WCHAR out[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, kGbkZhong, -1, out, 8), 2);
    EXPECT_EQ(out[0], u'\u4E2D');
    EXPECT_EQ(out[1], 0);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, out, 8), 2); // a surrogate pair
    EXPECT_EQ(out[0], 0xD83D);
    EXPECT_EQ(out[1], 0xDE00);
}

TEST(MultiByteToWideChar, FailsOnASmallBufferAndBadArguments) {
    WCHAR out[1];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", -1, out, 1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 0, out, 1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(1234, 0, "abc", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
}

TEST(MultiByteToWideChar, InvalidInputIsReplacedOrRefused) {
    WCHAR out[4];
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3", 1, out, 4), 1);
    EXPECT_EQ(out[0], 0xFFFD);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3", 1, out, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xED\xA0\x80", 3, out, 4), 0); // encoded surrogate
    ASSERT_EQ(MultiByteToWideChar(936, 0, "a\xD6", 2, out, 4), 2); // a dangling lead byte
    EXPECT_EQ(out[1], u'?');
    // A trail byte in the ASCII range belongs to its lead byte; a lead byte with no valid
    // trail byte becomes one question mark and the byte after it is read again.
    WCHAR mixed[8];
    ASSERT_EQ(MultiByteToWideChar(936, 0, "\x81\x40x\x81\x20\xD6\xD0", 7, mixed, 8), 5);
    EXPECT_EQ(std::u16string(mixed, 5), u"\u4E02x? \u4E2D");
}

TEST(WideCharToMultiByte, ConvertsAndReportsTheDefaultCharacter) {
    char out[8] = {};
    BOOL usedDefault = FALSE;
    ASSERT_EQ(WideCharToMultiByte(936, 0, u"\u4E2D", -1, out, 8, nullptr, &usedDefault), 3);
    EXPECT_STREQ(out, kGbkZhong);
    EXPECT_FALSE(usedDefault);
    ASSERT_EQ(WideCharToMultiByte(936, 0, u"\u0E01x", 2, out, 8, "#", &usedDefault), 2); // Thai: not in GBK
    EXPECT_EQ(std::string(out, 2), "#x");
    EXPECT_TRUE(usedDefault);
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u4E2D", 1, out, 8, nullptr, nullptr), 3);
    EXPECT_EQ(std::string(out, 3), kUtf8Zhong);
}

TEST(WideCharToMultiByte, Utf8RefusesADefaultCharacter) {
    char out[8];
    BOOL used;
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ab", -1, out, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WideCharToMultiByte, TheEuroSignIsByte80InCodePage936) {
    char out[2];
    ASSERT_EQ(WideCharToMultiByte(936, 0, u"\u20AC", 1, out, 2, nullptr, nullptr), 1);
    EXPECT_EQ(uint8_t(out[0]), 0x80);
    WCHAR back[2];
    ASSERT_EQ(MultiByteToWideChar(936, 0, "\x80", 1, back, 2), 1);
    EXPECT_EQ(back[0], 0x20AC);
}
