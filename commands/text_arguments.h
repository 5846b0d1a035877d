// Reading the argument records of the text and byte-set commands and writing their
// results. Missing and mistyped arguments read as omitted or empty, never as garbage.
#pragma once

#include <cstddef>
#include <cstdint>

#include "value.h"

namespace cmd {

// Argument i (from 0), or an all-zero (omitted) record when the caller passed fewer.
inline rt::TypedValue ArgumentAt(int32_t count, const rt::TypedValue *args, int32_t i) {
    return i < count ? args[i] : rt::TypedValue{0, 0, 0};
}
inline bool IsGiven(const rt::TypedValue &v) { return v.type != rt::kTypeNone; }

struct TextView {
    const char *bytes;
    size_t length;
};
struct ByteView {
    const uint8_t *bytes;
    size_t length;
};

// A text argument; anything but a non-null text reads as the empty text.
TextView TextOf(const rt::TypedValue &v);
// The same text, not measured ("" for anything but a non-null text).
const char *TextBytesOf(const rt::TypedValue &v);
// A byte-set argument; anything but a non-null byte set reads as empty.
ByteView ByteSetOf(const rt::TypedValue &v);
// An integer argument: numeric types as the runtime converts them to 32 bits
// (reals truncated toward zero and held within range); `fallback` when omitted.
int32_t IntegerOf(const rt::TypedValue &v, int32_t fallback);

void SetIntegerResult(rt::TypedValue *result, int32_t value);
void SetTextResult(rt::TypedValue *result, char *text);
void SetByteSetResult(rt::TypedValue *result, uint8_t *block);

} // namespace cmd
