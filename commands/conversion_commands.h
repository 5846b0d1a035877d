// Conversions between runtime values: to number, integer, text, hexadecimal text and
// byte set, and typed values read out of a byte set.
#pragma once

#include "command_table.h"

namespace cmd {

void ToNumber(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToInteger(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void HexText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ByteSetData(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

extern const CommandEntry kConversionCommands[];

} // namespace cmd
