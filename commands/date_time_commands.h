// The clock and the parts of a date-time.
#pragma once

#include "command_table.h"

namespace cmd {

void CurrentTime(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetYear(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetMonth(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetDay(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetHour(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetMinute(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void GetSecond(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

// The shared date-part routine: part numbers as in ole_date.h; part 0 takes the
// number from the second argument, clamped to 1..10.
void DatePartCommand(rt::TypedValue *result, int32_t count, const rt::TypedValue *args, int part);

extern const CommandEntry kDateTimeCommands[];

} // namespace cmd
