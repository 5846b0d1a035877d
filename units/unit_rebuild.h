// Rebuilding a unit whose property write needs a new Win32 window.
#pragma once

#include "window_list.h"

namespace units {

// Rebuilds the unit at `position` on the window's own thread, with events suppressed.
void RebuildUnit(Window &window, int position);
// True while an old unit window is being destroyed by a rebuild (its clean-up is skipped).
bool RebuildDestroying();

} // namespace units
