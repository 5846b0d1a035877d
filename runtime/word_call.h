// Calls a routine with its arguments given as machine words, in the target's own
// calling convention, and returns the result register.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

// The most arguments CallWithWords passes on this target.
#if (defined(__x86_64__) && !defined(_WIN32)) || (defined(__i386__) && defined(_WIN32))
constexpr size_t kMaxWordArguments = 64;
#else
constexpr size_t kMaxWordArguments = 8;
#endif

// Whether the stack pointer itself is compared after a call: only where the callee pops
// its arguments (32-bit Windows), so only there does a wrong calling convention show.
#if defined(__i386__) && defined(_WIN32)
constexpr bool kStackPointerCompared = true;
#else
constexpr bool kStackPointerCompared = false;
#endif

uint64_t CallWithWords(void *routine, const uintptr_t *args, size_t count);

// Where the callee pops its own arguments (32-bit Windows): the call, and whether the
// stack pointer came back where it was, the comparison after a declared call. Other
// targets have no such comparison and always say it did.
uint64_t CallWithWordsChecked(void *routine, const uintptr_t *args, size_t count, bool &stackKept);

} // namespace rt
