#include "ole_date.h"

#include <cmath>
#include <cstdio>

#include "gbk.h"

namespace rt {
namespace {

constexpr int64_t kUnixEpochOleDay = 25569; // 1970-01-01

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateFields &f) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    f.day = int(doy - (153 * mp + 2) / 5 + 1);
    f.month = int(mp < 10 ? mp + 3 : mp - 9);
    f.year = int(yoe + era * 400 + (f.month <= 2));
}

} // namespace

double ClampDate(double oleDate) {
    if (!(oleDate >= kDateMin)) return kDateMin;
    return oleDate > kDateMax ? kDateMax : oleDate;
}

DateFields DateFieldsOf(double oleDate) {
    oleDate = ClampDate(oleDate);
    double whole = std::trunc(oleDate);
    int64_t day = int64_t(whole);
    int64_t seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
    if (seconds >= 86400) seconds -= 86400, day += 1; // 23:59:59.5 and later: next day
    DateFields f{};
    CivilFromDays(day - kUnixEpochOleDay, f);
    f.hour = int(seconds / 3600);
    f.minute = int(seconds / 60 % 60);
    f.second = int(seconds % 60);
    f.dayOfWeek = int(((day % 7 + 7) % 7 + 6) % 7) + 1; // day 0 was a Saturday
    f.dayOfYear = int(DaysFromCivil(f.year, f.month, f.day) - DaysFromCivil(f.year, 1, 1)) + 1;
    return f;
}

double OleDateOf(int year, int month, int day, int hour, int minute, int second) {
    double days = double(DaysFromCivil(year, month, day) + kUnixEpochOleDay);
    double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    return days < 0 ? days - time : days + time;
}

int DatePartOf(const DateFields &f, int part) {
    switch (part) {
    case kPartYear: return f.year;
    case kPartQuarter: return (f.month - 1) / 3 + 1;
    case kPartMonth: return f.month;
    case kPartWeek: return (f.dayOfYear - 1) / 7 + 1;
    case kPartDay: return f.day;
    case kPartHour: return f.hour;
    case kPartMinute: return f.minute;
    case kPartSecond: return f.second;
    case kPartDayOfWeek: return f.dayOfWeek;
    case kPartDayOfYear: return f.dayOfYear;
    default: return 0;
    }
}

std::string DateTimeText(double oleDate) {
    DateFields f = DateFieldsOf(oleDate);
    char text[96];
    int n = std::snprintf(text, sizeof text, "%d年%d月%d日", f.year, f.month, f.day);
    if (f.second != 0)
        std::snprintf(text + n, sizeof text - n, "%d时%d分%d秒", f.hour, f.minute, f.second);
    else if (f.minute != 0)
        std::snprintf(text + n, sizeof text - n, "%d时%d分", f.hour, f.minute);
    else if (f.hour != 0)
        std::snprintf(text + n, sizeof text - n, "%d时", f.hour);
    return ToGbk(text);
}

} // namespace rt
