// The common events −1 to −12 that the window's message pre-filter raises for
// messages addressed to the window or to any of its units.
#pragma once

#include "window_list.h"

namespace units {

// Raises the event the message stands for, if any, on the unit it is addressed to.
// True when the handler asks for the message to be dropped; a −11 handler's
// returned character replaces the message's.
bool RaiseCommonEvent(Window &window, MSG *msg);

// Offers the message to the message hooks (request 11) of the window's units whose
// type has flag 0x20; true when one consumed it.
bool CallMessageHooks(Window &window, MSG *msg);

// The shift state: bit 0 Ctrl, bit 1 Shift, bit 2 Alt, from the key state now.
uint32_t CurrentShiftState();

} // namespace units
