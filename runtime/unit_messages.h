// Private messages that commands send to a unit's window, so that the unit carries out
// the request on the window's own thread.
#pragma once

#include "windows.h"

namespace rt {

// Runs the common dialog unit's dialog as its properties describe it; the result is
// nonzero when the user confirmed (or the help call was made).
constexpr UINT kMessageRunCommonDialog = 0x8301;

} // namespace rt
