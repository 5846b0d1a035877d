// Small helpers that make the application's calls through the runtime's doors
// readable: the handler slot, declared functions, the command convention and owned
// text variables.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime_interface.h"

namespace app {

inline uint64_t CallHandler(int32_t number, std::initializer_list<uintptr_t> args) {
    return rt::RuntimeHelpers.handler(number, args.begin());
}

// An argument word: a pointer (text bytes, byte-set data, an out variable) or a number.
template <typename T> inline uintptr_t Word(T *pointer) { return reinterpret_cast<uintptr_t>(pointer); }
inline uintptr_t Word(int32_t number) { return uintptr_t(intptr_t(number)); }

// Declared function `number` (image::kDeclared...) with its arguments in declared
// order; the result register, of which the caller takes what the function returns.
inline uint64_t CallDeclared(int32_t number, std::initializer_list<uintptr_t> args) {
    return rt::RuntimeHelpers.callDeclared(number, args.begin(), int32_t(args.size()));
}

} // namespace app
