#include "memory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "gbk.h"
#include "runtime_error.h"
#include "windows.h"

namespace rt {
namespace {

struct ImageRange {
    const uint8_t *start;
    const uint8_t *end;
};

std::mutex rangeLock;
std::vector<ImageRange> imageRanges;

[[noreturn]] void ReportAllocationFailure(size_t bytes) {
    std::string message = ToGbk("分配 " + std::to_string(bytes) + " 字节内存失败!");
    ReportRuntimeError(message.c_str(), 0);
}

} // namespace

void *AllocateMemoryPlain(size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

void *AllocateMemory(size_t bytes) {
    void *block = AllocateMemoryPlain(bytes);
    if (!block) ReportAllocationFailure(bytes);
    return block;
}

void *ReallocateMemory(void *block, size_t bytes) {
    if (!block) return AllocateMemory(bytes);
    if (const uint8_t *end = ImageRangeEnd(block)) {
        auto *copy = static_cast<uint8_t *>(AllocateMemory(bytes));
        size_t available = size_t(end - static_cast<const uint8_t *>(block));
        std::memcpy(copy, block, std::min(bytes, available));
        return copy;
    }
    void *moved = HeapReAlloc(GetProcessHeap(), 0, block, bytes);
    if (!moved) ReportAllocationFailure(bytes);
    return moved;
}

void FreeMemory(void *block) {
    if (!block || IsImageOwned(block)) return;
    HeapFree(GetProcessHeap(), 0, block);
}

void RegisterImageRange(const void *start, size_t size) {
    std::lock_guard lock(rangeLock);
    auto *s = static_cast<const uint8_t *>(start);
    imageRanges.push_back({s, s + size});
}

void ClearImageRanges() {
    std::lock_guard lock(rangeLock);
    imageRanges.clear();
}

const uint8_t *ImageRangeEnd(const void *p) {
    auto *q = static_cast<const uint8_t *>(p);
    std::lock_guard lock(rangeLock);
    for (const ImageRange &r : imageRanges)
        if (q >= r.start && q < r.end) return r.end;
    return nullptr;
}

} // namespace rt
