// Reading command arguments as numbers, the way every numeric command reads them.
#pragma once

#include <cstdint>

#include "value.h"

namespace cmd {

// Truncates toward zero; NaN and values outside the 32-bit range give 0x80000000,
// as the x86 conversion instruction does, instead of undefined behaviour.
int32_t TruncateToInteger(double value);

// A numeric argument as a double; a Double or DateTime payload as it is; other types 0.
double NumberOf(const rt::TypedValue &value);
// A numeric argument as a 32-bit integer (reals truncated); other types their low word.
int32_t IntegerOf(const rt::TypedValue &value);

} // namespace cmd
