#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "c_library_texts.h"
#include "number_text.h"

namespace {

std::string Float(float v) {
    char buffer[cmd::kNumberTextSize];
    return std::string(buffer, cmd::WriteFloat(v, buffer));
}
std::string Double(double v) {
    char buffer[cmd::kNumberTextSize];
    return std::string(buffer, cmd::WriteDouble(v, buffer));
}
std::string CLibrary(const char *format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

TEST(NumberText, SingleValuesLoseTheirRepresentationError) {
    EXPECT_EQ(Float(0.1f), "0.1");
    EXPECT_EQ(Float(-2.7f), "-2.7");
    EXPECT_EQ(Float(1.0f / 3), "0.333333");
    EXPECT_EQ(Float(123456.7f), "123457");
    EXPECT_EQ(Float(999999.6f), "1e+006");
    EXPECT_EQ(Float(0.0f), "0");
    EXPECT_EQ(Float(-0.0f), "0");
    EXPECT_EQ(Float(std::numeric_limits<float>::max()), "3.40282e+038");
    EXPECT_EQ(Float(1e-30f), "1e-030");
}

// Six-digit decimals survive the trip through a float and back to text.
TEST(NumberText, SixDigitDecimalsComeBackExactly) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> mantissa(100000, 999999), exponent(-40, 30);
    for (int i = 0; i < 20000; ++i) {
        double decimal = mantissa(random) * std::pow(10.0, exponent(random));
        float f = float(decimal);
        if (!std::isnormal(f)) continue;
        char expected[64];
        cmd::WriteReal(std::stod(CLibrary("%.6g", decimal)), 6, expected);
        ASSERT_EQ(Float(f), expected) << decimal;
    }
}

// The rounding scales by the biased exponent, so denormals keep fewer digits.
TEST(NumberText, DenormalSinglesAreWrittenWithoutFault) {
    EXPECT_EQ(Float(1e-40f), "1e-040");
    EXPECT_EQ(Float(-1e-40f), "-1e-040");
    EXPECT_EQ(Float(std::numeric_limits<float>::denorm_min()), "0");
}

TEST(NumberText, DoublesUseThirteenDigitsAndThreeDigitExponents) {
    EXPECT_EQ(Double(1.0 / 3), "0.3333333333333");
    EXPECT_EQ(Double(1e15), "1e+015");
    EXPECT_EQ(Double(-1.5e-7), "-1.5e-007");
    EXPECT_EQ(Double(1e100), "1e+100");
    EXPECT_EQ(Double(2.5e-300), "2.5e-300");
    EXPECT_EQ(Double(123456789012.0), "123456789012");
    EXPECT_EQ(Double(1234567890123456.0), "1.234567890123e+015");
}

TEST(NumberText, MatchesTheCLibraryApartFromTheExponentWidth) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, 8);
        if (!std::isfinite(v)) continue;
        std::string c = CLibrary("%.13g", v);
        size_t e = c.find('e');
        if (e != std::string::npos && c.size() - e - 2 == 2) c.insert(e + 2, "0");
        ASSERT_EQ(Double(v), c);
    }
}

TEST(NumberText, NonFiniteValuesAreWrittenAsTheCLibraryDoes) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto &want = testsupport::kCLibraryNonFinite;
    struct {
        double value;
        const char *text;
    } rows[] = {{inf, want.infinity}, {-inf, want.negativeInfinity}, {nan, want.nan}, {-nan, want.negativeNan}};
    for (auto row : rows) {
        EXPECT_EQ(Double(row.value), row.text);
        EXPECT_EQ(Float(float(row.value)), row.text);
    }
}

TEST(NumberText, IntegersAndHex) {
    char buffer[cmd::kNumberTextSize];
    EXPECT_EQ(std::string(buffer, cmd::WriteSigned(INT64_MIN, buffer)), "-9223372036854775808");
    EXPECT_EQ(std::string(buffer, cmd::WriteHex(255, buffer)), "FF");
    EXPECT_EQ(std::string(buffer, cmd::WriteHex(0xFFFFFFFFu, buffer)), "FFFFFFFF");
    EXPECT_EQ(std::string(buffer, cmd::WriteHex(0, buffer)), "0");
}

} // namespace
