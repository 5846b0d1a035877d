// The value model: type codes, the 12-byte TypedValue, and the text, byte-set and
// array blocks with the type operations that commands and the runtime share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rt {

// Type codes. Bit 29 marks an indirect argument (array block or variable address).
enum : uint32_t {
    kTypeNone = 0,
    kTypeByte = 0x80000101,
    kTypeShortInteger = 0x80000201,
    kTypeInteger = 0x80000301,
    kTypeLongInteger = 0x80000401,
    kTypeFloat = 0x80000501,
    kTypeDouble = 0x80000601,
    kTypeBoolean = 0x80000002,
    kTypeDateTime = 0x80000003,
    kTypeText = 0x80000004,
    kTypeByteSet = 0x80000005,
    kTypeSubroutinePointer = 0x80000006,
    kTypeEightByteValue = 0x80000008,
    kIndirectFlag = 0x20000000,
};

// Library data types of the core library that values carry.
enum : uint32_t {
    kTypeComObject = 0x00010030,
    kTypeVariant = 0x00010031,
};

constexpr uint32_t LibraryTypeCode(uint32_t library, uint32_t type) { return (library << 16) | type; }
constexpr uint32_t BaseType(uint32_t code) { return code & ~kIndirectFlag; }
constexpr bool IsIndirect(uint32_t code) { return (code & kIndirectFlag) != 0; }

// 12 bytes: value low, value high, type. A pointer payload fills both words.
#pragma pack(push, 4)
struct TypedValue {
    uint32_t low;
    uint32_t high;
    uint32_t type;

    uint64_t Bits() const { return uint64_t(low) | (uint64_t(high) << 32); }
    void SetBits(uint64_t bits) {
        low = uint32_t(bits);
        high = uint32_t(bits >> 32);
    }
    template <typename T> T *Pointer() const { return reinterpret_cast<T *>(uintptr_t(Bits())); }
    void SetPointer(const void *p) { SetBits(uint64_t(uintptr_t(p))); }
    int32_t AsInteger() const { return int32_t(low); }
    int64_t AsLong() const { return int64_t(Bits()); }
    double AsDouble() const {
        double d;
        uint64_t b = Bits();
        std::memcpy(&d, &b, 8);
        return d;
    }
    float AsFloat() const {
        float f;
        std::memcpy(&f, &low, 4);
        return f;
    }
};
#pragma pack(pop)
static_assert(sizeof(TypedValue) == 12, "TypedValue is three dwords");

TypedValue MakeInteger(int32_t v);
TypedValue MakeLong(int64_t v);
TypedValue MakeDouble(double v);
TypedValue MakeFloat(float v);
TypedValue MakeBoolean(bool v);
TypedValue MakeDateTime(double oleDate);
TypedValue MakeTextValue(char *text);       // takes ownership of a text block (or null)
TypedValue MakeByteSetValue(uint8_t *block); // takes ownership of a byte-set block (or null)

// Byte-set and array blocks keep 32-bit header words; elements of pointer types
// (Text, ByteSet, SubroutinePointer) are pointer-sized.
struct ByteSetHeader {
    uint32_t dimensions; // always 1
    uint32_t length;
};
constexpr size_t kByteSetHeaderSize = sizeof(ByteSetHeader);

inline uint32_t ByteSetSize(const uint8_t *block) {
    if (!block) return 0;
    uint32_t n;
    std::memcpy(&n, block + 4, 4);
    return n;
}
inline uint8_t *ByteSetBytes(uint8_t *block) { return block + kByteSetHeaderSize; }
inline const uint8_t *ByteSetBytes(const uint8_t *block) { return block + kByteSetHeaderSize; }
inline size_t TextSize(const char *text) { return text ? std::strlen(text) : 0; }

enum TypeCategory : int { kCategoryNone = 0, kCategorySystem = 1, kCategoryRecord = 2, kCategoryLibrary = 3 };

TypeCategory TypeCategoryOf(uint32_t code);
bool IsNumericType(uint32_t code);
uint32_t NumericTypeSize(uint32_t code);
uint32_t StorageSizeOf(uint32_t code);

struct ValueData {
    const void *data = nullptr;
    uint32_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};
ValueData ValueDataOf(const TypedValue &value);
uint32_t ValueFromData(TypedValue &target, const void *source, int32_t count);

struct ArrayElements {
    void *first = nullptr;
    uint32_t count = 0;
};
ArrayElements ArrayElementsOf(const void *array);
// Pointer-typed elements may sit unaligned (the header is 4 + 4 x d bytes).
inline void *PointerElement(const void *first, uint32_t index) {
    void *p;
    std::memcpy(&p, static_cast<const uint8_t *>(first) + size_t(index) * sizeof(void *), sizeof p);
    return p;
}
inline void SetPointerElement(void *first, uint32_t index, const void *p) {
    std::memcpy(static_cast<uint8_t *>(first) + size_t(index) * sizeof(void *), &p, sizeof p);
}
size_t ArrayHeaderSize(const void *array);

// Blocks on the runtime heap; length 0 gives null, never an empty block.
char *MakeText(const void *bytes, size_t length);
char *CopyText(const char *text);
uint8_t *MakeByteSet(const void *bytes, size_t length);
// A one-dimensional array of `count` elements of `elementType`, elements zeroed.
void *MakeArray(uint32_t elementType, uint32_t count);

// Frees an array; Text and ByteSet elements are freed first.
void FreeArray(uint32_t elementType, void *array);
// Frees the block a value owns (text, byte set); other values own nothing.
void FreeValue(TypedValue &value);

} // namespace rt
