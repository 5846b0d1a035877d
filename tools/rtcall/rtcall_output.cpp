#include "rtcall_output.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "com_blocks.h"
#include "memory.h"

namespace rtcall {
namespace {

std::string Hex(const void *data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const auto *bytes = static_cast<const uint8_t *>(data);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 15]);
    }
    return out;
}

std::string TextHex(const char *text) { return text ? Hex(text, std::strlen(text)) : std::string(); }

// %.<precision>g without the C locale's say.
std::string Real(double value, int precision) {
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    return std::string(buffer, r.ptr);
}

std::string TextArray(const void *array) {
    rt::ArrayElements e = rt::ArrayElementsOf(array);
    std::string out = "at:" + std::to_string(e.count) + "\n";
    for (uint32_t i = 0; i < e.count; ++i)
        out += "t:" + TextHex(static_cast<const char *>(rt::PointerElement(e.first, i))) + "\n";
    return out;
}

std::string Scalar(const rt::TypedValue &r) {
    switch (r.type) {
    case rt::kTypeNone: return "none";
    case rt::kTypeByte: return "b:" + std::to_string(uint8_t(r.low));
    case rt::kTypeShortInteger: return "s:" + std::to_string(int16_t(r.low));
    case rt::kTypeInteger: return "i:" + std::to_string(r.AsInteger());
    case rt::kTypeLongInteger: return "l:" + std::to_string(r.AsLong());
    case rt::kTypeFloat: return "f:" + Real(r.AsFloat(), 9);
    case rt::kTypeDouble: return "d:" + Real(r.AsDouble(), 17);
    case rt::kTypeBoolean: return "bool:" + std::to_string(r.AsInteger());
    case rt::kTypeDateTime: return "dt:" + Real(r.AsDouble(), 17);
    case rt::kTypeText: return "t:" + TextHex(r.Pointer<const char>());
    case rt::kTypeByteSet: {
        const auto *block = r.Pointer<const uint8_t>();
        return "bs:" + (block ? Hex(rt::ByteSetBytes(block), rt::ByteSetSize(block)) : std::string());
    }
    case rt::kTypeSubroutinePointer: return "sp:" + std::to_string(uintptr_t(r.Pointer<void>()));
    default: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "type:0x%08X", unsigned(r.type));
        return buffer;
    }
    }
}

bool IsTextArray(const rt::TypedValue &r) { return r.type == (rt::kTypeText | rt::kIndirectFlag); }

void FreeVariantBlock(VARIANT *block) {
    if (block) cmd::EmptyVariant(block);
    rt::FreeMemory(block);
}

void FreeObjectBlock(cmd::ObjectBlock *block) {
    if (block) cmd::EmptyObjectBlock(block);
    rt::FreeMemory(block);
}

} // namespace

std::string DescribeResult(const rt::TypedValue &result) {
    return IsTextArray(result) ? TextArray(result.Pointer<void>()) : Scalar(result) + "\n";
}

void ReleaseResult(rt::TypedValue &result) {
    if (rt::IsIndirect(result.type)) rt::FreeArray(rt::BaseType(result.type), result.Pointer<void>());
    else if (result.type == rt::kTypeText || result.type == rt::kTypeByteSet) rt::FreeMemory(result.Pointer<void>());
    else if (result.type == rt::kTypeVariant) FreeVariantBlock(result.Pointer<VARIANT>());
    else if (cmd::IsObjectType(result.type)) FreeObjectBlock(result.Pointer<cmd::ObjectBlock>());
    result = {};
}

} // namespace rtcall
