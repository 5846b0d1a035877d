// OLE for the main thread: initialised at start-up, uninitialised at clean-up.
#pragma once

namespace rt {

bool InitializeOle();
void UninitializeOle();

} // namespace rt

#include <cstdint>

namespace rt {

// Service 2035: releases the interface an object holder keeps and empties it.
intptr_t ClearObjectHolder(void **holder);

} // namespace rt
