// The window of the unit a member command received as its first argument. The runtime
// reports a missing unit or an unloaded window itself (service 2007).
#pragma once

#include <cstdint>

#include "value.h"
#include "windows.h"

namespace cmd {

// Null when there is no unit argument or the runtime answers no window.
HWND UnitWindow(int32_t count, const rt::TypedValue *args);
// The same look-up without a report: null when the unit has no window.
HWND LoadedUnitWindow(const rt::TypedValue &unit);

} // namespace cmd
