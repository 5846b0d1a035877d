// TimeToText: a date-time as text in one of the application's styles.
#pragma once

#include <cstdint>

#include "value.h"

namespace app {

// `time` may be an omitted argument (type 0): the current time is used. Returns a
// runtime text the caller owns.
char *TimeToText(const rt::TypedValue &time, int32_t style, int32_t parts);

} // namespace app
