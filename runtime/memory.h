// The runtime heap: the process heap, aware of the image-owned constant area.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

// Never null: a failure is reported ("分配 %d 字节内存失败!") and ends the program.
void *AllocateMemory(size_t bytes);
// May return null.
void *AllocateMemoryPlain(size_t bytes);
// A null block allocates; an image-owned block is copied, never touched.
void *ReallocateMemory(void *block, size_t bytes);
// Ignores null and image-owned blocks.
void FreeMemory(void *block);

void RegisterImageRange(const void *start, size_t size);
void ClearImageRanges();
// The end of the image-owned range holding `p`, or null when `p` is not image-owned.
const uint8_t *ImageRangeEnd(const void *p);
inline bool IsImageOwned(const void *p) { return ImageRangeEnd(p) != nullptr; }

} // namespace rt
