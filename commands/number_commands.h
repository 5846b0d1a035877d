// Arithmetic commands that need more than an operator.
#pragma once

#include "command_table.h"

namespace cmd {

void IntegerDivide(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void Remainder(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void BitOr(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

// The routine behind BitOr: 0 and, 1 or, 2 exclusive or over all arguments.
enum BitOperation : int { kBitAnd = 0, kBitOr = 1, kBitXor = 2 };
int32_t CombineBits(BitOperation operation, int32_t count, const rt::TypedValue *args);

extern const CommandEntry kNumberCommands[];

} // namespace cmd
