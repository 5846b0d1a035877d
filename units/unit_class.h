// The window class of a unit that is a plain container: double clicks, the arrow
// cursor and the default procedure (the unit's object handles the rest).
#pragma once

namespace units {

// Registers the class once; later calls do nothing.
void RegisterUnitClass(const char *className);

} // namespace units
