// Argument values the command tests build, beside the fixture's text builders.
#pragma once

#include <cstring>
#include <initializer_list>

#include "memory.h"
#include "value.h"

namespace testvalues {

inline rt::TypedValue Typed(uint32_t type, uint64_t bits) {
    rt::TypedValue v{0, 0, type};
    v.SetBits(bits);
    return v;
}

// A one-dimensional array argument of `elementType` with the given element bytes.
template <typename T> rt::TypedValue ArrayArg(uint32_t elementType, std::initializer_list<T> items) {
    void *array = rt::MakeArray(elementType, uint32_t(items.size()));
    if (items.size()) std::memcpy(rt::ArrayElementsOf(array).first, items.begin(), items.size() * sizeof(T));
    rt::TypedValue v{0, 0, elementType | rt::kIndirectFlag};
    v.SetPointer(array);
    return v;
}

inline void FreeArrayArg(rt::TypedValue &v) { rt::FreeArray(rt::BaseType(v.type), v.Pointer<void>()); }

} // namespace testvalues
