// File commands of the core library: the run directory, file existence, attributes
// and writing byte sets to a file.
#pragma once

#include <cstdint>

#include "command_table.h"
#include "value.h"

namespace cmd {

void RunDirectory(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void FileExists(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ChangeFileAttributes(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void WriteFile(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

extern const CommandEntry kFileCommands[];

} // namespace cmd
