// The growable buffer in which commands build their results before the final copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cmd {

// Data is null while the buffer is empty; the block lives on the runtime heap.
struct ByteBuffer {
    uint8_t *data = nullptr;
    size_t size = 0;
    size_t capacity = 0;
};

// Longest text or byte set a result may hold: lengths travel as 32-bit Integers.
constexpr size_t kLargestValue = 0x7FFFFFFF;

// Reports "分配 %d 字节内存失败!" for `bytes`, as the runtime does for a failed allocation.
[[noreturn]] void ReportAllocationFailure(uint64_t bytes);
// a x b + extra, saturated instead of wrapping.
uint64_t SaturatedSize(uint64_t a, uint64_t b, uint64_t extra);

// Fills `out` with `count` copies of the n-byte `unit`.
void FillRepeated(uint8_t *out, const void *unit, size_t n, size_t count);

// Makes room for `more` bytes after the current content.
void GrowBuffer(ByteBuffer &buffer, size_t more);

// Extends the content by n bytes and returns where they go.
inline uint8_t *ReserveBytes(ByteBuffer &buffer, size_t n) {
    if (buffer.capacity - buffer.size < n) GrowBuffer(buffer, n);
    uint8_t *at = buffer.data + buffer.size;
    buffer.size += n;
    return at;
}
inline void AppendByte(ByteBuffer &buffer, uint8_t b) { *ReserveBytes(buffer, 1) = b; }
inline void AppendTwoBytes(ByteBuffer &buffer, uint8_t first, uint8_t second) {
    uint8_t *at = ReserveBytes(buffer, 2);
    at[0] = first;
    at[1] = second;
}
inline void AppendBytes(ByteBuffer &buffer, const void *bytes, size_t n) {
    if (n) std::memcpy(ReserveBytes(buffer, n), bytes, n);
}
inline void AppendPointer(ByteBuffer &buffer, const void *p) { AppendBytes(buffer, &p, sizeof p); }

void FreeBuffer(ByteBuffer &buffer);
// The content as a new text block (null when empty); the buffer is freed.
char *TakeBufferAsText(ByteBuffer &buffer);

} // namespace cmd
