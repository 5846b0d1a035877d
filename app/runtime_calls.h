// Small helpers that make the application's calls through the runtime's doors
// readable: the handler slot, declared functions, the command convention and owned
// text variables.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

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
inline rt::TypedValue BooleanArg(bool value) { return {value ? 1u : 0u, 0, rt::kTypeBoolean}; }
inline rt::TypedValue DoubleArg(double number) {
    rt::TypedValue v{0, 0, rt::kTypeDouble};
    uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    v.SetBits(bits);
    return v;
}
// An optional argument the caller leaves out: three zero words.
inline rt::TypedValue OmittedArg() { return {0, 0, rt::kTypeNone}; }
// An object or variant variable's block, passed as the value it holds.
inline rt::TypedValue ObjectArg(void *block) {
    rt::TypedValue v{0, 0, rt::kTypeComObject};
    v.SetPointer(block);
    return v;
}
inline rt::TypedValue VariantArg(void *block) {
    rt::TypedValue v{0, 0, rt::kTypeVariant};
    v.SetPointer(block);
    return v;
}

// A byte set built from bytes the caller holds, for passing as an argument: the
// count word 1, the length word, then the bytes.
class ByteSetBlock {
public:
    explicit ByteSetBlock(const std::string &bytes) : block_(8 + bytes.size(), '\0') {
        uint32_t header[2] = {1, uint32_t(bytes.size())};
        std::memcpy(block_.data(), header, sizeof header);
        std::memcpy(block_.data() + 8, bytes.data(), bytes.size());
    }
    rt::TypedValue Arg() const { return ByteSetArg(block_.data()); }
    uint8_t *Data() { return reinterpret_cast<uint8_t *>(block_.data()) + 8; }

private:
    std::string block_;
};

// A core-library command through helper slot 3; the caller owns a text or byte-set result.
inline rt::TypedValue CallCommand(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    return rt::RuntimeHelpers.callCoreCommand(command, int32_t(args.size()), const_cast<rt::TypedValue *>(args.begin()));
}

inline bool IsTrue(const rt::TypedValue &v) { return v.low != 0; }
inline int32_t IntegerOf(const rt::TypedValue &v) { return int32_t(v.low); }

// Takes a text result: its bytes, and its block back to the runtime.
inline std::string TakeText(rt::TypedValue v) {
    const char *text = v.Pointer<const char>();
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(v.Pointer<void>());
    return s;
}

// Takes a byte-set result: its bytes, and its block back to the runtime.
inline std::string TakeByteSet(rt::TypedValue v) {
    const uint8_t *block = v.Pointer<const uint8_t>();
    std::string s;
    if (block) s.assign(reinterpret_cast<const char *>(rt::ByteSetBytes(block)), rt::ByteSetSize(block));
    rt::RuntimeHelpers.free(v.Pointer<void>());
    return s;
}

// Takes a one-dimensional text array result: its elements, and its blocks back.
inline std::vector<std::string> TakeTextArray(rt::TypedValue v) {
    auto *array = v.Pointer<uint8_t>();
    std::vector<std::string> items;
    if (!array) return items;
    uint32_t count;
    std::memcpy(&count, array + 4, sizeof count);
    for (uint32_t i = 0; i < count; ++i) {
        char *text;
        std::memcpy(&text, array + 8 + i * sizeof(char *), sizeof text);
        items.emplace_back(text ? text : "");
        rt::RuntimeHelpers.free(text);
    }
    rt::RuntimeHelpers.free(array);
    return items;
}

} // namespace app
