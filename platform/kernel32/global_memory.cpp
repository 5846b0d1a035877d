// Global memory blocks. A fixed block's handle is its own address; a movable block's
// handle is a record that GlobalLock turns into the current address and whose lock count
// it keeps. Every live handle is registered, so a stale or foreign one gets an error.
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "winbase.h"

namespace {

struct Block {
    void *data = nullptr;
    size_t size = 0;
    unsigned locks = 0;
    bool movable = false;
    ~Block() { std::free(data); }
};

std::mutex lock;
std::map<HGLOBAL, std::unique_ptr<Block>> &Blocks() {
    static auto *blocks = new std::map<HGLOBAL, std::unique_ptr<Block>>;
    return *blocks;
}

Block *Find(HGLOBAL handle) {
    auto it = Blocks().find(handle);
    if (it != Blocks().end()) return it->second.get();
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// malloc(0) may give null; a block always gets an address of its own.
void *Reserve(size_t bytes, bool zero) { return zero ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1); }

bool Resize(Block &block, size_t bytes, bool zero) {
    void *moved = std::realloc(block.data, bytes ? bytes : 1);
    if (!moved) return false;
    if (zero && bytes > block.size) std::memset(static_cast<char *>(moved) + block.size, 0, bytes - block.size);
    block.data = moved;
    block.size = bytes;
    return true;
}

HGLOBAL Register(std::unique_ptr<Block> block) {
    HGLOBAL handle = block->movable ? static_cast<HGLOBAL>(block.get()) : block->data;
    Blocks()[handle] = std::move(block);
    return handle;
}

} // namespace

extern "C" HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    block->movable = flags & GMEM_MOVEABLE;
    block->size = bytes;
    block->data = bytes <= SIZE_T(PTRDIFF_MAX) ? Reserve(bytes, flags & GMEM_ZEROINIT) : nullptr;
    if (!block->data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::lock_guard guard(lock);
    return Register(std::move(block));
}

// A movable block keeps its handle when it grows; a fixed one may only move when the
// caller allows it with GMEM_MOVEABLE, and a locked movable one not at all.
extern "C" HGLOBAL WINAPI GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    std::lock_guard guard(lock);
    Block *block = Find(handle);
    if (!block) return nullptr;
    if (flags & GMEM_MODIFY) return handle;
    bool mayMove = block->movable ? block->locks == 0 : (flags & GMEM_MOVEABLE) != 0;
    if (!mayMove) {
        // Shrinking in place: the memory stays where a lock holder sees it.
        if (bytes > block->size) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        block->size = bytes;
        return handle;
    }
    if (bytes > SIZE_T(PTRDIFF_MAX) || !Resize(*block, bytes, flags & GMEM_ZEROINIT)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (block->movable || block->data == handle) return handle;
    auto owned = std::move(Blocks()[handle]);
    Blocks().erase(handle);
    return Register(std::move(owned));
}

extern "C" LPVOID WINAPI GlobalLock(HGLOBAL handle) {
    std::lock_guard guard(lock);
    Block *block = Find(handle);
    if (!block) return nullptr;
    if (block->movable) ++block->locks;
    return block->data;
}

// Nonzero while the block stays locked; zero with NO_ERROR once it is unlocked.
extern "C" BOOL WINAPI GlobalUnlock(HGLOBAL handle) {
    std::lock_guard guard(lock);
    Block *block = Find(handle);
    if (!block) return FALSE;
    if (!block->movable) return TRUE;
    if (block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return --block->locks > 0;
}

// Null when freed; the handle itself when it is not a live block.
extern "C" HGLOBAL WINAPI GlobalFree(HGLOBAL handle) {
    std::lock_guard guard(lock);
    if (!handle) return nullptr;
    if (!Find(handle)) return handle;
    Blocks().erase(handle);
    return nullptr;
}

extern "C" SIZE_T WINAPI GlobalSize(HGLOBAL handle) {
    std::lock_guard guard(lock);
    Block *block = Find(handle);
    return block ? block->size : 0;
}
