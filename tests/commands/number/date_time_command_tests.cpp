#include <gtest/gtest.h>

#include <cmath>

#include "date_time_commands.h"
#include "ole_date.h"
#include "runtime_fixture.h"
#include "windows.h"

namespace {

using testsupport::CallCommand;

class DateTimeCommands : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartTestRuntime(); }
};

int32_t Part(rt::CommandRoutine command, double date) {
    rt::TypedValue r = CallCommand(command, {rt::MakeDateTime(date)});
    EXPECT_EQ(r.type, rt::kTypeInteger);
    return r.AsInteger();
}

TEST_F(DateTimeCommands, EachCommandTakesItsPart) {
    double date = rt::OleDateOf(2014, 3, 9, 17, 45, 31);
    EXPECT_EQ(Part(cmd::GetYear, date), 2014);
    EXPECT_EQ(Part(cmd::GetMonth, date), 3);
    EXPECT_EQ(Part(cmd::GetDay, date), 9);
    EXPECT_EQ(Part(cmd::GetHour, date), 17);
    EXPECT_EQ(Part(cmd::GetMinute, date), 45);
    EXPECT_EQ(Part(cmd::GetSecond, date), 31);
}

TEST_F(DateTimeCommands, OutOfRangeValuesReadAsTheEndsOfTheRange) {
    EXPECT_EQ(Part(cmd::GetYear, -1e9), 100);
    EXPECT_EQ(Part(cmd::GetMonth, -1e9), 1);
    EXPECT_EQ(Part(cmd::GetDay, -1e9), 1);
    EXPECT_EQ(Part(cmd::GetYear, 1e9), 9999);
    EXPECT_EQ(Part(cmd::GetMonth, 1e9), 12);
    EXPECT_EQ(Part(cmd::GetDay, 1e9), 31);
    EXPECT_EQ(Part(cmd::GetYear, std::nan("")), 100);
    EXPECT_EQ(Part(cmd::GetHour, std::nan("")), 0);
}

TEST(DatePartRoutine, PartZeroTakesTheNumberFromTheSecondArgument) {
    rt::TypedValue args[] = {rt::MakeDateTime(rt::OleDateOf(2014, 3, 9, 0, 0, 0)), rt::MakeInteger(2)};
    rt::TypedValue r{};
    cmd::DatePartCommand(&r, 2, args, 0);
    EXPECT_EQ(r.AsInteger(), 1); // quarter
    args[1] = rt::MakeInteger(-3); // clamped to 1: year
    cmd::DatePartCommand(&r, 2, args, 0);
    EXPECT_EQ(r.AsInteger(), 2014);
    args[1] = rt::MakeInteger(99); // clamped to 10: day of the year
    cmd::DatePartCommand(&r, 2, args, 0);
    EXPECT_EQ(r.AsInteger(), 68);
}

TEST_F(DateTimeCommands, CurrentTimeIsLocalTimeInWholeSeconds) {
    SYSTEMTIME before, after;
    rt::TypedValue now;
    do {
        GetLocalTime(&before);
        now = CallCommand(cmd::CurrentTime, {});
        GetLocalTime(&after);
    } while (before.wSecond != after.wSecond);
    EXPECT_EQ(now.type, rt::kTypeDateTime);
    double seconds = now.AsDouble() * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-3);
    EXPECT_EQ(now.AsDouble(), rt::OleDateOf(before.wYear, before.wMonth, before.wDay, before.wHour,
                                             before.wMinute, before.wSecond));
    rt::DateFields f = rt::DateFieldsOf(now.AsDouble());
    EXPECT_EQ(f.second, before.wSecond);
    EXPECT_EQ(f.dayOfWeek, before.wDayOfWeek + 1);
}

} // namespace
