// Reading command arguments: omitted or mistyped arguments read as empty, and numbers
// go through the runtime's own integer conversion.
#pragma once

#include <cstdint>

#include "value.h"

namespace cmd {

// The text of argument `index`; "" when it is absent or not a text.
const char *TextArgument(int32_t count, const rt::TypedValue *args, int32_t index);
// Argument `index` as a 32-bit integer (service 2001); 0 when it is absent.
int32_t IntegerArgument(int32_t count, const rt::TypedValue *args, int32_t index);
// Argument `index` as a Boolean: a Boolean as it is, a number when not zero; false when absent.
bool BooleanArgument(int32_t count, const rt::TypedValue *args, int32_t index);
// Whether argument `index` was given (an omitted one arrives with type 0).
bool ArgumentGiven(int32_t count, const rt::TypedValue *args, int32_t index);

} // namespace cmd
