// The commands of every support library, by name, for the library records of the
// image and for tools that call a command by name.
#pragma once

#include <cstdint>

#include "runtime_interface.h"

namespace cmd {

struct CommandEntry {
    const char *name;      // the command's name, e.g. "FindText"
    rt::CommandRoutine routine;
    int32_t library;       // 1 = core library
};

// Every command, in no particular order; ends with an entry whose name is null.
const CommandEntry *AllCommands();
const CommandEntry *FindCommand(const char *name);

} // namespace cmd
