// Declared external functions: resolved by number on first call, cached, released
// at clean-up.
#pragma once

#include <cstdint>

namespace rt {

// The code address of declared function `number`; a failure is reported and ends
// the program.
void *ResolveDeclaredFunction(int32_t number);
void ReleaseDeclaredFunctions();

} // namespace rt
