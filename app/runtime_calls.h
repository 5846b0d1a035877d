// Small helpers that make the application's calls through the runtime's doors
// readable: the handler slot, declared functions, the command convention and owned
// text variables.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

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

// Argument records of the command convention. Texts and byte sets are borrowed: the
// command reads them and frees nothing.
inline rt::TypedValue TextArg(const char *text) {
    rt::TypedValue v{0, 0, rt::kTypeText};
    v.SetPointer(text);
    return v;
}
inline rt::TypedValue ByteSetArg(const void *block) {
    rt::TypedValue v{0, 0, rt::kTypeByteSet};
    v.SetPointer(block);
    return v;
}
inline rt::TypedValue IntegerArg(int32_t number) { return {uint32_t(number), 0, rt::kTypeInteger}; }

// A core-library command through helper slot 3; the caller owns a text or byte-set result.
inline rt::TypedValue CallCommand(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    return rt::RuntimeHelpers.callCoreCommand(command, int32_t(args.size()), const_cast<rt::TypedValue *>(args.begin()));
}

inline bool IsTrue(const rt::TypedValue &v) { return v.low != 0; }

// Takes a text result: its bytes, and its block back to the runtime.
inline std::string TakeText(rt::TypedValue v) {
    const char *text = v.Pointer<const char>();
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(v.Pointer<void>());
    return s;
}

} // namespace app
