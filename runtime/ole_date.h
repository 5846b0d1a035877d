// OLE automation dates (days since 1899-12-30, the fraction's magnitude the time of
// day) and their calendar fields, rounded to the nearest second.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

constexpr double kDateMin = -657434.0; // 100-01-01
constexpr double kDateMax = 2958465.0; // 9999-12-31

// Into [kDateMin, kDateMax]; NaN gives the lower bound.
double ClampDate(double oleDate);

struct DateFields {
    int year, month, day;
    int hour, minute, second;
    int dayOfWeek; // 1 Sunday .. 7 Saturday
    int dayOfYear; // from 1
};

// The fields of the clamped date.
DateFields DateFieldsOf(double oleDate);
double OleDateOf(int year, int month, int day, int hour, int minute, int second);

// Date part numbers of the shared date-part routine.
enum DatePart : int {
    kPartYear = 1, kPartQuarter, kPartMonth, kPartWeek, kPartDay,
    kPartHour, kPartMinute, kPartSecond, kPartDayOfWeek, kPartDayOfYear,
};
int DatePartOf(const DateFields &fields, int part);

// "%d年%d月%d日" and the time down to its last nonzero field, in GBK.
std::string DateTimeText(double oleDate);

} // namespace rt
