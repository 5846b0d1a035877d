#include "date_time_commands.h"

#include "ole_date.h"
#include "value_numbers.h"
#include "windows.h"

namespace cmd {
namespace {

int ClampPart(int32_t part) { return part < 1 ? 1 : part > 10 ? 10 : part; }

} // namespace

void CurrentTime(rt::TypedValue *result, int32_t, rt::TypedValue *) {
    SYSTEMTIME now;
    GetLocalTime(&now); // milliseconds dropped: whole seconds only
    *result = rt::MakeDateTime(rt::OleDateOf(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
}

void DatePartCommand(rt::TypedValue *result, int32_t count, const rt::TypedValue *args, int part) {
    double date = count > 0 ? NumberOf(args[0]) : 0.0; // a date-time as it is, other numbers converted
    if (part == 0) part = ClampPart(count > 1 ? IntegerOf(args[1]) : 0);
    *result = rt::MakeInteger(rt::DatePartOf(rt::DateFieldsOf(date), part));
}

void GetYear(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartYear); }
void GetMonth(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartMonth); }
void GetDay(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartDay); }
void GetHour(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartHour); }
void GetMinute(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartMinute); }
void GetSecond(rt::TypedValue *r, int32_t n, rt::TypedValue *a) { DatePartCommand(r, n, a, rt::kPartSecond); }

const CommandEntry kDateTimeCommands[] = {
    {"CurrentTime", CurrentTime, 1}, {"GetYear", GetYear, 1},     {"GetMonth", GetMonth, 1},
    {"GetDay", GetDay, 1},           {"GetHour", GetHour, 1},     {"GetMinute", GetMinute, 1},
    {"GetSecond", GetSecond, 1},     {nullptr, nullptr, 0},
};

} // namespace cmd
