// Runtime values drawn from a fuzz input, for the targets that call commands through
// the runtime's command door.
#pragma once

#include "fuzz_input.h"
#include "memory.h"
#include "value.h"

namespace fuzz {

// The value kinds an argument can take, in the order of the kind byte.
enum ValueKind : uint8_t { kOmitted, kText, kInteger, kDouble, kBoolean, kDate, kLong, kByteSet, kKindCount };

// Counts that size a result stay below this, so an input asks for work, not for memory.
constexpr int32_t kLargestCount = 1 << 16;

// `bounded`: every number is an integer below kLargestCount, whatever its kind.
inline rt::TypedValue ValueFrom(FuzzReader &in, bool bounded) {
    uint8_t kind = in.Byte() % kKindCount;
    if (bounded && (kind == kDouble || kind == kDate || kind == kLong)) kind = kInteger;
    switch (kind) {
    case kText: {
        std::string s = in.Text();
        return rt::MakeTextValue(s.empty() ? nullptr : rt::MakeText(s.data(), s.size()));
    }
    case kInteger: {
        int32_t v = in.Integer();
        return rt::MakeInteger(bounded ? v % kLargestCount : v);
    }
    case kDouble: return rt::MakeDouble(in.Double());
    case kBoolean: return rt::MakeBoolean(in.Byte() & 1);
    case kDate: return rt::MakeDateTime(in.Double());
    case kLong: return rt::MakeLong(int64_t(in.Integer()) << (in.Byte() % 33));
    case kByteSet: {
        std::string s = in.Text();
        return rt::MakeByteSetValue(s.empty() ? nullptr : rt::MakeByteSet(s.data(), s.size()));
    }
    default: return rt::TypedValue{0, 0, rt::kTypeNone};
    }
}

// Frees a value or result, arrays of texts and byte sets with their elements.
inline void Release(rt::TypedValue &value) {
    if (rt::IsIndirect(value.type)) rt::FreeArray(value.type & ~rt::kIndirectFlag, value.Pointer<void>());
    else rt::FreeValue(value);
}

} // namespace fuzz
