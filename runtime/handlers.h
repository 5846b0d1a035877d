// The runtime handler table, reached through helper slot 12.
#pragma once

#include <cstdint>

namespace rt {

uint64_t DispatchHandler(int32_t number, const uintptr_t *args);

// Handler 0: the next file of a search, as a new text, or null when there is none.
char *FindNextMatchingFile(const char *pattern, uint32_t attributeFilter, bool anyFile, void **searchHandle);
// Handler 2: copies an array held in image memory to the heap before it is modified.
void MakeArrayWritable(uint32_t elementSize, void **arrayVariable);

} // namespace rt
