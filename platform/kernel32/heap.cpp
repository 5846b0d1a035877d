// The process heap over malloc. Each block carries its requested size in front of it,
// because HeapSize answers with the size asked for, not the allocator's rounding.
#include <cstdlib>
#include <cstring>

#include "winbase.h"

namespace {

struct alignas(16) BlockHeader {
    size_t size;
};

HANDLE const processHeap = reinterpret_cast<HANDLE>(uintptr_t(0x00150000));

BlockHeader *HeaderOf(LPCVOID mem) {
    return const_cast<BlockHeader *>(static_cast<const BlockHeader *>(mem) - 1);
}

bool SizeFits(SIZE_T bytes) { return bytes <= SIZE_T(PTRDIFF_MAX) - sizeof(BlockHeader); }

} // namespace

extern "C" HANDLE WINAPI GetProcessHeap(void) { return processHeap; }

extern "C" LPVOID WINAPI HeapAlloc(HANDLE, DWORD flags, SIZE_T bytes) {
    if (!SizeFits(bytes)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void *raw = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                           : std::malloc(sizeof(BlockHeader) + bytes);
    if (!raw) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto *header = static_cast<BlockHeader *>(raw);
    header->size = bytes;
    return header + 1;
}

extern "C" LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID mem, SIZE_T bytes) {
    if (!mem) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t old = HeaderOf(mem)->size;
    if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
        if (bytes > old) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        HeaderOf(mem)->size = bytes;
        return mem;
    }
    if (!SizeFits(bytes)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void *raw = std::realloc(HeaderOf(mem), sizeof(BlockHeader) + bytes);
    if (!raw) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto *header = static_cast<BlockHeader *>(raw);
    header->size = bytes;
    if ((flags & HEAP_ZERO_MEMORY) && bytes > old) std::memset(reinterpret_cast<char *>(header + 1) + old, 0, bytes - old);
    (void)heap;
    return header + 1;
}

extern "C" BOOL WINAPI HeapFree(HANDLE, DWORD, LPVOID mem) {
    if (mem) std::free(HeaderOf(mem));
    return TRUE;
}

extern "C" SIZE_T WINAPI HeapSize(HANDLE, DWORD, LPCVOID mem) {
    if (!mem) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SIZE_T(-1);
    }
    return HeaderOf(mem)->size;
}
