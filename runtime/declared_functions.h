// Declared external functions: resolved by number on first call, cached, released
// at clean-up.
#pragma once

#include <cstdint>

namespace rt {

// The code address of declared function `number`; a failure is reported and ends
// the program.
void *ResolveDeclaredFunction(int32_t number);
// Helper slot 1: calls declared function `number` with `count` argument words. A
// count that differs from the export's ends the program with runtime error 6.
uint64_t CallDeclaredFunction(int32_t number, const uintptr_t *args, int32_t count);
void ReleaseDeclaredFunctions();

} // namespace rt
