// Library 5, the multithreading library: CreateCriticalSection and the notify routine
// that deletes every critical section it made when the program ends.
#pragma once

#include <cstdint>

#include "command_table.h"
#include "value.h"

namespace cmd {

void CreateCriticalSection(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
intptr_t MultithreadingNotify(int32_t code, intptr_t p1, intptr_t p2);

// Critical sections made and not yet deleted.
int32_t LiveCriticalSectionCount();

extern const CommandEntry kMultithreadingCommands[];

} // namespace cmd
