// OLE for the main thread: initialised at start-up, uninitialised at clean-up.
#pragma once

namespace rt {

bool InitializeOle();
void UninitializeOle();

} // namespace rt

#include <cstdint>

namespace rt {

// Service 2035 and the ClearObject command: empties an object block (interface, record
// data): record data are destroyed through the interface as record information, or
// freed when there is no interface; the interface is released.
intptr_t ClearObjectHolder(void **holder);

} // namespace rt
