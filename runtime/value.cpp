#include "value.h"

#include "memory.h"

namespace rt {

TypedValue MakeInteger(int32_t v) { return {uint32_t(v), 0, kTypeInteger}; }
TypedValue MakeLong(int64_t v) {
    TypedValue t{0, 0, kTypeLongInteger};
    t.SetBits(uint64_t(v));
    return t;
}
TypedValue MakeDouble(double v) {
    TypedValue t{0, 0, kTypeDouble};
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    t.SetBits(bits);
    return t;
}
TypedValue MakeFloat(float v) {
    TypedValue t{0, 0, kTypeFloat};
    std::memcpy(&t.low, &v, 4);
    return t;
}
TypedValue MakeBoolean(bool v) { return {v ? 1u : 0u, 0, kTypeBoolean}; }
TypedValue MakeDateTime(double oleDate) {
    TypedValue t = MakeDouble(oleDate);
    t.type = kTypeDateTime;
    return t;
}
TypedValue MakeTextValue(char *text) {
    TypedValue t{0, 0, kTypeText};
    t.SetPointer(text);
    return t;
}
TypedValue MakeByteSetValue(uint8_t *block) {
    TypedValue t{0, 0, kTypeByteSet};
    t.SetPointer(block);
    return t;
}

TypeCategory TypeCategoryOf(uint32_t code) {
    if (code == 0) return kCategoryNone;
    switch (code & 0xC0000000u) {
    case 0x80000000u: return kCategorySystem;
    case 0x40000000u: return kCategoryRecord;
    default: return kCategoryLibrary;
    }
}

bool IsNumericType(uint32_t code) { return NumericTypeSize(code) != 0; }

uint32_t NumericTypeSize(uint32_t code) {
    switch (code) {
    case kTypeByte: return 1;
    case kTypeShortInteger: return 2;
    case kTypeInteger: return 4;
    case kTypeLongInteger: return 8;
    case kTypeFloat: return 4;
    case kTypeDouble: return 8;
    default: return 0;
    }
}

uint32_t StorageSizeOf(uint32_t code) {
    switch (code) {
    case kTypeBoolean: return 4;
    case kTypeDateTime:
    case kTypeEightByteValue: return 8;
    case kTypeText:
    case kTypeByteSet:
    case kTypeSubroutinePointer: return sizeof(void *);
    default: return NumericTypeSize(code);
    }
}

ValueData ValueDataOf(const TypedValue &value) {
    switch (value.type) {
    case kTypeText: {
        const char *text = value.Pointer<const char>();
        if (!text) return {"", 1};
        return {text, uint32_t(std::strlen(text) + 1)};
    }
    case kTypeByteSet: {
        const uint8_t *block = value.Pointer<const uint8_t>();
        if (!block) return {block, 0};
        return {ByteSetBytes(block), ByteSetSize(block)};
    }
    case kTypeBoolean:
    case kTypeSubroutinePointer: return {&value.low, 4};
    case kTypeDateTime:
    case kTypeEightByteValue: return {&value.low, 8};
    default: {
        uint32_t size = NumericTypeSize(value.type);
        if (size == 0) return {};
        return {&value.low, size};
    }
    }
}

namespace {
constexpr double kDateMin = -657434.0;
constexpr double kDateMax = 2958465.0;
}

uint32_t ValueFromData(TypedValue &target, const void *source, int32_t count) {
    const auto *bytes = static_cast<const uint8_t *>(source);
    switch (target.type) {
    case kTypeBoolean: {
        uint32_t word = 0;
        std::memcpy(&word, bytes, count >= 4 ? 4 : (count > 0 ? size_t(count) : 0));
        target.low = word != 0;
        target.high = 0;
        return 0;
    }
    case kTypeDateTime: {
        double d = 0;
        if (count >= 8) std::memcpy(&d, bytes, 8);
        if (!(d >= kDateMin)) d = kDateMin; // NaN too: the lower bound
        if (d > kDateMax) d = kDateMax;
        target = MakeDateTime(d);
        return 0;
    }
    case kTypeText: {
        if (count <= 0) {
            target.SetPointer(nullptr);
            return 0;
        }
        const void *nul = std::memchr(bytes, 0, size_t(count));
        size_t length = nul ? size_t(static_cast<const uint8_t *>(nul) - bytes) : size_t(count);
        target.SetPointer(MakeText(bytes, length));
        return nul ? uint32_t(length + 1) : uint32_t(count);
    }
    case kTypeByteSet:
        target.SetPointer(count > 0 ? MakeByteSet(bytes, size_t(count)) : nullptr);
        return 0;
    case kTypeByte:
    case kTypeShortInteger:
    case kTypeInteger:
    case kTypeFloat:
    case kTypeLongInteger:
    case kTypeDouble: {
        uint32_t size = NumericTypeSize(target.type);
        uint64_t bits = 0;
        std::memcpy(&bits, bytes, count >= int32_t(size) ? size : (count > 0 ? size_t(count) : 0));
        target.SetBits(bits);
        return 0;
    }
    case kTypeSubroutinePointer: {
        uint32_t word = 0;
        std::memcpy(&word, bytes, count >= 4 ? 4 : (count > 0 ? size_t(count) : 0));
        target.SetBits(word);
        return 0;
    }
    default: return 0;
    }
}

ArrayElements ArrayElementsOf(const void *array) {
    if (!array) return {};
    const auto *words = static_cast<const uint32_t *>(array);
    uint32_t dims = words[0];
    uint64_t count = dims ? 1 : 0;
    for (uint32_t i = 0; i < dims; ++i) count *= words[1 + i];
    return {const_cast<uint32_t *>(words + 1 + dims), uint32_t(count)};
}

size_t ArrayHeaderSize(const void *array) {
    return array ? 4 + 4 * size_t(static_cast<const uint32_t *>(array)[0]) : 0;
}

char *MakeText(const void *bytes, size_t length) {
    if (length == 0) return nullptr;
    auto *text = static_cast<char *>(AllocateMemory(length + 1));
    std::memcpy(text, bytes, length);
    text[length] = '\0';
    return text;
}

char *CopyText(const char *text) { return text ? MakeText(text, std::strlen(text)) : nullptr; }

uint8_t *MakeByteSet(const void *bytes, size_t length) {
    if (length == 0) return nullptr;
    auto *block = static_cast<uint8_t *>(AllocateMemory(kByteSetHeaderSize + length));
    ByteSetHeader header{1, uint32_t(length)};
    std::memcpy(block, &header, sizeof header);
    std::memcpy(block + kByteSetHeaderSize, bytes, length);
    return block;
}

void *MakeArray(uint32_t elementType, uint32_t count) {
    size_t size = StorageSizeOf(elementType) * size_t(count);
    auto *block = static_cast<uint32_t *>(AllocateMemory(8 + size));
    block[0] = 1;
    block[1] = count;
    std::memset(block + 2, 0, size);
    return block;
}

void FreeArray(uint32_t elementType, void *array) {
    if (!array) return;
    uint32_t base = BaseType(elementType);
    if (base == kTypeText || base == kTypeByteSet) {
        ArrayElements e = ArrayElementsOf(array);
        for (uint32_t i = 0; i < e.count; ++i) FreeMemory(PointerElement(e.first, i));
    }
    FreeMemory(array);
}

void FreeValue(TypedValue &value) {
    if (value.type == kTypeText || value.type == kTypeByteSet) FreeMemory(value.Pointer<void>());
    value.SetBits(0);
}

} // namespace rt
