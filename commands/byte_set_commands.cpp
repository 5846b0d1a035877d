// Byte-set commands of the same shape as the text ones, over plain bytes.
#include <algorithm>

#include "byte_buffer.h"
#include "memory.h"
#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

// A new byte-set block with room for `length` bytes (1 or more), header filled.
uint8_t *NewByteSet(uint64_t length) {
    if (length > kLargestValue) ReportAllocationFailure(SaturatedSize(length, 1, rt::kByteSetHeaderSize));
    auto *block = static_cast<uint8_t *>(rt::AllocateMemory(rt::kByteSetHeaderSize + size_t(length)));
    rt::ByteSetHeader header{1, uint32_t(length)};
    std::memcpy(block, &header, sizeof header);
    return block;
}

int32_t FindBytes(ByteView set, ByteView sought, const rt::TypedValue &start) {
    size_t from = size_t(std::max(int64_t(IntegerOf(start, 1)) - 1, int64_t(0)));
    if (sought.length == 0 || from >= set.length || sought.length > set.length - from) return -1;
    Needle needle = MakeNeedle(sought.bytes, sought.length, false);
    size_t found = FindAnywhere(needle, set.bytes, from, set.length);
    return found == kNotFound ? -1 : int32_t(found + 1);
}

} // namespace

void ByteSetLength(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, int32_t(ByteSetOf(ArgumentAt(count, args, 0)).length));
}

void ByteSetLeft(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    ByteView set = ByteSetOf(ArgumentAt(count, args, 0));
    int32_t n = IntegerOf(ArgumentAt(count, args, 1), 0);
    size_t take = n <= 0 ? 0 : std::min(size_t(n), set.length);
    SetByteSetResult(result, rt::MakeByteSet(set.bytes, take));
}

void FindByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    ByteView set = ByteSetOf(ArgumentAt(count, args, 0));
    ByteView sought = ByteSetOf(ArgumentAt(count, args, 1));
    SetIntegerResult(result, FindBytes(set, sought, ArgumentAt(count, args, 2)));
}

void BlankByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t n = IntegerOf(ArgumentAt(count, args, 0), 0);
    if (n <= 0) return SetByteSetResult(result, nullptr);
    uint8_t *block = NewByteSet(uint64_t(n));
    std::memset(rt::ByteSetBytes(block), 0, size_t(n));
    SetByteSetResult(result, block);
}

void RepeatByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t times = IntegerOf(ArgumentAt(count, args, 0), 0);
    ByteView set = ByteSetOf(ArgumentAt(count, args, 1));
    if (times <= 0 || set.length == 0) return SetByteSetResult(result, nullptr);
    // Sized without wrapping, so a huge count ends in the allocation failure report.
    uint8_t *block = NewByteSet(SaturatedSize(set.length, uint64_t(times), 0));
    FillRepeated(rt::ByteSetBytes(block), set.bytes, set.length, size_t(times));
    SetByteSetResult(result, block);
}

} // namespace cmd
