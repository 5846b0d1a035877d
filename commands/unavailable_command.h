// The one command that each of the support libraries 2, 3, 4 and 6 lists in this
// image. The collector never calls them and they are not built here: a call is
// reported as a runtime error instead of doing nothing.
#pragma once

#include <cstdint>

#include "value.h"

namespace cmd {

void UnavailableCommand(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

} // namespace cmd
