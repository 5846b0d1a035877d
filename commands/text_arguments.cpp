#include "text_arguments.h"

#include <cmath>

namespace cmd {
namespace {

int32_t TruncateReal(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return int32_t(d);
}

} // namespace

const char *TextBytesOf(const rt::TypedValue &v) {
    const char *text = v.type == rt::kTypeText ? v.Pointer<const char>() : nullptr;
    return text ? text : "";
}

TextView TextOf(const rt::TypedValue &v) {
    const char *text = TextBytesOf(v);
    return {text, std::strlen(text)};
}

ByteView ByteSetOf(const rt::TypedValue &v) {
    const uint8_t *block = v.type == rt::kTypeByteSet ? v.Pointer<const uint8_t>() : nullptr;
    if (!block) return {nullptr, 0};
    return {rt::ByteSetBytes(block), rt::ByteSetSize(block)};
}

int32_t IntegerOf(const rt::TypedValue &v, int32_t fallback) {
    switch (v.type) {
    case rt::kTypeNone: return fallback;
    case rt::kTypeByte: return int32_t(v.low & 0xFF);
    case rt::kTypeShortInteger: return int16_t(v.low & 0xFFFF);
    case rt::kTypeFloat: return TruncateReal(v.AsFloat());
    case rt::kTypeDouble: return TruncateReal(v.AsDouble());
    default: return int32_t(v.low); // Integer, LongInteger (low word), Boolean
    }
}

void SetIntegerResult(rt::TypedValue *result, int32_t value) { *result = rt::MakeInteger(value); }
void SetTextResult(rt::TypedValue *result, char *text) { *result = rt::MakeTextValue(text); }
void SetByteSetResult(rt::TypedValue *result, uint8_t *block) { *result = rt::MakeByteSetValue(block); }

} // namespace cmd
