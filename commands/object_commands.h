// Commands that create, copy and release COM objects, and read and write their
// properties and call their methods by name.
#pragma once

#include "command_table.h"

namespace cmd {

void CreateObject(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ClearObject(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ObjectIsEmpty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CopyObject(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ReadTextProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ReadNumberProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ReadObjectProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ReadProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void WriteProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CallMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CallVariantMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CallTextMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CallObjectMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

extern const CommandEntry kObjectCommands[];

} // namespace cmd
