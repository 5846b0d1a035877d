#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "gbk.h"
#include "ole_date.h"

namespace {

using rt::DateFieldsOf;
using rt::OleDateOf;

void ExpectDate(double ole, int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    rt::DateFields f = DateFieldsOf(ole);
    EXPECT_EQ(f.year, y) << ole;
    EXPECT_EQ(f.month, mo) << ole;
    EXPECT_EQ(f.day, d) << ole;
    EXPECT_EQ(f.hour, h) << ole;
    EXPECT_EQ(f.minute, mi) << ole;
    EXPECT_EQ(f.second, s) << ole;
}

TEST(OleDate, KnownDaysAndTheEndsOfTheRange) {
    EXPECT_EQ(OleDateOf(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_EQ(OleDateOf(2014, 5, 1, 0, 0, 0), 41760.0);
    EXPECT_EQ(OleDateOf(100, 1, 1, 0, 0, 0), rt::kDateMin);
    EXPECT_EQ(OleDateOf(9999, 12, 31, 0, 0, 0), rt::kDateMax);
    ExpectDate(60.0, 1900, 2, 28);
    ExpectDate(61.0, 1900, 3, 1); // no 29 February 1900
    ExpectDate(OleDateOf(2000, 2, 29, 0, 0, 0), 2000, 2, 29);
}

TEST(OleDate, ValuesOutsideTheRangeAndNaNAreClamped) {
    ExpectDate(-700000.0, 100, 1, 1);
    ExpectDate(3000000.0, 9999, 12, 31);
    ExpectDate(std::numeric_limits<double>::quiet_NaN(), 100, 1, 1);
    ExpectDate(-std::numeric_limits<double>::infinity(), 100, 1, 1);
    ExpectDate(std::numeric_limits<double>::infinity(), 9999, 12, 31);
    EXPECT_EQ(rt::ClampDate(2958465.75), rt::kDateMax);
}

TEST(OleDate, TimeIsRoundedToTheNearestSecond) {
    double day = OleDateOf(2014, 5, 1, 0, 0, 0);
    ExpectDate(day + 8.5 / 24, 2014, 5, 1, 8, 30, 0);
    ExpectDate(day + (5.4 / 86400), 2014, 5, 1, 0, 0, 5);
    ExpectDate(day + (5.6 / 86400), 2014, 5, 1, 0, 0, 6);
    ExpectDate(day + 1 - 0.2 / 86400, 2014, 5, 2, 0, 0, 0);
    ExpectDate(day + 1 - 0.7 / 86400, 2014, 5, 1, 23, 59, 59);
}

TEST(OleDate, NegativeDatesCountTheTimeForward) {
    ExpectDate(-1.25, 1899, 12, 29, 6, 0, 0);
    ExpectDate(-0.5, 1899, 12, 30, 12, 0, 0);
    EXPECT_EQ(OleDateOf(1899, 12, 29, 6, 0, 0), -1.25);
}

TEST(OleDate, FieldsSurviveTheRoundTrip) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> days(int(rt::kDateMin), int(rt::kDateMax)), seconds(0, 86399);
    for (int i = 0; i < 20000; ++i) {
        rt::DateFields f = DateFieldsOf(days(random));
        int s = seconds(random);
        double ole = OleDateOf(f.year, f.month, f.day, s / 3600, s / 60 % 60, s % 60);
        rt::DateFields g = DateFieldsOf(ole);
        ASSERT_EQ(g.year * 10000 + g.month * 100 + g.day, f.year * 10000 + f.month * 100 + f.day) << ole;
        ASSERT_EQ(g.hour * 3600 + g.minute * 60 + g.second, s) << ole;
    }
}

TEST(OleDate, WeekdayDayOfYearQuarterAndWeek) {
    rt::DateFields f = DateFieldsOf(OleDateOf(2014, 5, 1, 0, 0, 0)); // a Thursday
    EXPECT_EQ(rt::DatePartOf(f, rt::kPartDayOfWeek), 5);
    EXPECT_EQ(rt::DatePartOf(f, rt::kPartDayOfYear), 121);
    EXPECT_EQ(rt::DatePartOf(f, rt::kPartQuarter), 2);
    EXPECT_EQ(rt::DatePartOf(f, rt::kPartWeek), 18);
    EXPECT_EQ(rt::DatePartOf(DateFieldsOf(0.0), rt::kPartDayOfWeek), 7);
    rt::DateFields march = DateFieldsOf(OleDateOf(2021, 3, 31, 0, 0, 0));
    EXPECT_EQ(rt::DatePartOf(march, rt::kPartMonth), 3);
    EXPECT_EQ(rt::DatePartOf(march, rt::kPartQuarter), 1);
    EXPECT_EQ(rt::DatePartOf(DateFieldsOf(OleDateOf(2020, 12, 31, 0, 0, 0)), rt::kPartDayOfYear), 366);
}

TEST(OleDate, TextNamesTheTimeDownToItsLastNonzeroField) {
    double day = OleDateOf(2014, 5, 1, 0, 0, 0);
    EXPECT_EQ(rt::DateTimeText(day), rt::ToGbk("2014年5月1日"));
    EXPECT_EQ(rt::DateTimeText(OleDateOf(2014, 5, 1, 8, 0, 0)), rt::ToGbk("2014年5月1日8时"));
    EXPECT_EQ(rt::DateTimeText(OleDateOf(2014, 5, 1, 8, 30, 0)), rt::ToGbk("2014年5月1日8时30分"));
    EXPECT_EQ(rt::DateTimeText(OleDateOf(2014, 5, 1, 8, 0, 5)), rt::ToGbk("2014年5月1日8时0分5秒"));
    EXPECT_EQ(rt::DateTimeText(OleDateOf(2014, 5, 1, 0, 0, 5)), rt::ToGbk("2014年5月1日0时0分5秒"));
    EXPECT_EQ(rt::DateTimeText(std::numeric_limits<double>::quiet_NaN()), rt::ToGbk("100年1月1日"));
}

} // namespace
