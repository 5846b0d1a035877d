// Commands that fill, convert and read variants.
#pragma once

#include "command_table.h"

namespace cmd {

void ClearVariant(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void SetVariantType(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void VariantToText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void VariantToByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void AssignVariant(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CreateVariantArray(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

extern const CommandEntry kVariantCommands[];

} // namespace cmd
