#include "property_values.h"

#include <cstring>

#include "mouse_pointer.h"
#include "value.h"

namespace units {
namespace {

void *PointerOf(uint32_t low, uint32_t high) {
    return reinterpret_cast<void *>(uintptr_t((uint64_t(high) << 32) | low));
}

} // namespace

bool IsByteDataType(uint16_t t) {
    return t == kValuePicture || t == kValueIcon || t == kValueSound || t == kValueBytes1023 ||
           t == kValueBytes1024 || t == kValuePointer;
}

bool IsIntegerType(uint16_t t) {
    return t == kValueInteger || t == kValuePixels || t == kValuePick || t == kValueColour || t == kValueColour2 ||
           t == kValueColourOrSystem;
}

bool IsTextType(uint16_t t) {
    return !IsByteDataType(t) && !IsIntegerType(t) && t != kValueWide && t != kValueWide2 && t != kValueLogical &&
           t != kValueFont;
}

std::string BytesOfValue(uint32_t low, uint32_t high) {
    auto *block = static_cast<const uint8_t *>(PointerOf(low, high));
    if (!block) return {};
    return std::string(reinterpret_cast<const char *>(rt::ByteSetBytes(block)), rt::ByteSetSize(block));
}

const char *TextOfValue(uint32_t low, uint32_t high) { return static_cast<const char *>(PointerOf(low, high)); }

uint64_t NewByteSetValue(const std::string &bytes) {
    return uint64_t(uintptr_t(rt::MakeByteSet(bytes.data(), bytes.size())));
}

uint64_t NewTextValue(const std::string &text) { return uint64_t(uintptr_t(rt::MakeText(text.data(), text.size()))); }

uint64_t ValueFromRecord(uint16_t type, const PropertyValue &r) {
    if (IsIntegerType(type)) return uint32_t(r.first);
    if (type == kValueWide || type == kValueWide2) return (uint64_t(uint32_t(r.second)) << 32) | uint32_t(r.first);
    if (type == kValueLogical) return uint32_t(r.first) == 1 ? 1 : 0;
    if (IsByteDataType(type)) {
        std::string bytes = r.first ? std::string(reinterpret_cast<const char *>(r.first), r.second) : std::string();
        return NewByteSetValue(type == kValuePointer ? PointerDataToPublic(bytes) : bytes);
    }
    const char *text = reinterpret_cast<const char *>(r.first);
    return NewTextValue(text ? std::string(text) : std::string());
}

PropertyValue RecordFromValue(uint16_t type, uint32_t low, uint32_t high, std::string &storage) {
    if (type == kValuePick) return {uintptr_t(int32_t(low) < 0 ? 0 : low), 0};
    if (IsIntegerType(type)) return {low, 0};
    if (type == kValueWide || type == kValueWide2) return {low, high};
    if (type == kValueLogical) return {uintptr_t(low != 0 ? 1 : 0), 0};
    if (IsByteDataType(type)) {
        storage = BytesOfValue(low, high);
        if (type == kValuePointer) storage = PointerDataToStored(storage);
        if (storage.empty()) return {0, 0};
        return {reinterpret_cast<uintptr_t>(storage.data()), storage.size()};
    }
    const char *text = TextOfValue(low, high);
    return {reinterpret_cast<uintptr_t>(text && *text ? text : nullptr), 0};
}

} // namespace units
