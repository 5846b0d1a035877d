// System commands of the core library: delaying the calling thread and message boxes.
#pragma once

#include <cstdint>

#include "command_table.h"
#include "value.h"

namespace cmd {

void Delay(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void MessageBox(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

// The style handed to the system: task-modal unless system-modal was asked for.
uint32_t MessageBoxStyle(int32_t flags);
// The pressed button's system identifier as the command answers it (OK 0 ... No 6).
int32_t PressedButtonIndex(int id);

extern const CommandEntry kSystemCommands[];

} // namespace cmd
