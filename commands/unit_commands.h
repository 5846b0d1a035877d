// Member commands of units: loading a window, appending text to an edit box, running a common dialog
// and giving a unit the keyboard focus.
#pragma once

#include <cstdint>

#include "command_table.h"
#include "value.h"

namespace cmd {

void LoadWindow(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void AppendText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ShowCommonDialog(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void SetFocus(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

extern const CommandEntry kUnitCommands[];
// SetFocus alone, listed apart until the window layer provides the system call.
extern const CommandEntry kFocusCommands[];

} // namespace cmd
