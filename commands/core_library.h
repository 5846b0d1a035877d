// The core library's link to the runtime: its notify routine keeps the runtime's
// service entry, through which every command asks for what it needs.
#pragma once

#include <cstdint>

#include "runtime_interface.h"

namespace cmd {

intptr_t CoreLibraryNotify(int32_t code, intptr_t p1, intptr_t p2);

// A runtime service; answers 0 until the runtime has started the library.
intptr_t CoreService(int32_t code, intptr_t p1 = 0, intptr_t p2 = 0);

// Reports a command's problem (GBK text) as a runtime error; does not return once
// the runtime runs.
void ReportProblem(const char *gbkMessage);

} // namespace cmd
