// A module file with the same routine in both calling conventions of 32-bit Windows,
// for the check after a declared call: declared calls are stdcall (WINAPI), so the
// cdecl one leaves its arguments on the stack there.
#include <cstdint>

#include <windows.h>

extern "C" {

intptr_t WINAPI ProbeSumStdcall(intptr_t a, intptr_t b) { return a + b; }

intptr_t WINAPIV ProbeSumCdecl(intptr_t a, intptr_t b) { return a + b; }

} // extern "C"
