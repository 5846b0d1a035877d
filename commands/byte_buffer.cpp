#include "byte_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core_library.h"
#include "gbk.h"
#include "memory.h"
#include "value.h"

namespace cmd {

void ReportAllocationFailure(uint64_t bytes) {
    std::string message = rt::ToGbk("分配 " + std::to_string(bytes) + " 字节内存失败!");
    ReportProblem(message.c_str());
    // Only reached before the runtime has started the library.
    std::abort();
}

uint64_t SaturatedSize(uint64_t a, uint64_t b, uint64_t extra) {
    uint64_t product;
    if (__builtin_mul_overflow(a, b, &product)) return UINT64_MAX;
    uint64_t sum;
    if (__builtin_add_overflow(product, extra, &sum)) return UINT64_MAX;
    return sum;
}

void FillRepeated(uint8_t *out, const void *unit, size_t n, size_t count) {
    size_t total = n * count;
    if (n == 1) {
        std::memset(out, *static_cast<const uint8_t *>(unit), total);
        return;
    }
    // Copy the unit once, then double the filled part.
    std::memcpy(out, unit, n);
    for (size_t done = n; done < total;) {
        size_t step = std::min(done, total - done);
        std::memcpy(out + done, out, step);
        done += step;
    }
}

void GrowBuffer(ByteBuffer &buffer, size_t more) {
    uint64_t needed = uint64_t(buffer.size) + more;
    if (needed > kLargestValue) ReportAllocationFailure(needed);
    size_t capacity = buffer.capacity < 64 ? 64 : buffer.capacity;
    while (capacity < needed) capacity = capacity > kLargestValue / 2 ? kLargestValue : capacity * 2;
    buffer.data = static_cast<uint8_t *>(rt::ReallocateMemory(buffer.data, capacity));
    buffer.capacity = capacity;
}

void FreeBuffer(ByteBuffer &buffer) {
    rt::FreeMemory(buffer.data);
    buffer = {};
}

char *TakeBufferAsText(ByteBuffer &buffer) {
    char *text = rt::MakeText(buffer.data, buffer.size);
    FreeBuffer(buffer);
    return text;
}

} // namespace cmd
