// A byte stream over a global memory block. Clones share the block and its size and
// keep positions of their own; the block is freed with the last of them when the
// creator asked for it.
#include <objbase.h>
#include <winbase.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "com_object.h"

namespace {

struct SharedBlock {
    HGLOBAL memory = nullptr;
    bool freeOnRelease = false;
    ULONGLONG size = 0;
    ~SharedBlock() {
        if (freeOnRelease) GlobalFree(memory);
    }
};

class HGlobalStream final : public platform::ComObject<IStream> {
public:
    explicit HGlobalStream(std::shared_ptr<SharedBlock> block) : block_(std::move(block)) {}
    HGLOBAL Memory() const { return block_->memory; }

    bool Offers(REFIID riid) const override { return riid == IID_ISequentialStream || riid == IID_IStream; }

    HRESULT STDMETHODCALLTYPE Read(void *pv, ULONG cb, ULONG *pcbRead) override {
        if (!pv) return STG_E_INVALIDPOINTER;
        ULONG count = position_ >= block_->size ? 0 : ULONG(std::min<ULONGLONG>(cb, block_->size - position_));
        if (count) Copy(pv, count, false);
        if (pcbRead) *pcbRead = count;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Write(const void *pv, ULONG cb, ULONG *pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        if (!pv) return STG_E_INVALIDPOINTER;
        if (!cb) return S_OK;
        if (position_ + cb > block_->size && FAILED(Grow(position_ + cb))) return STG_E_MEDIUMFULL;
        Copy(const_cast<void *>(pv), cb, true);
        if (pcbWritten) *pcbWritten = cb;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER *newPosition) override {
        LONGLONG base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? LONGLONG(position_)
                        : origin == STREAM_SEEK_END ? LONGLONG(block_->size) : -1;
        if (base < 0) return STG_E_INVALIDFUNCTION;
        LONGLONG target = base + move.QuadPart;
        if (target < 0) return STG_E_INVALIDFUNCTION;
        position_ = ULONGLONG(target);
        if (newPosition) newPosition->QuadPart = position_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        if (size.QuadPart == block_->size) return S_OK;
        return Grow(size.QuadPart);
    }

    HRESULT STDMETHODCALLTYPE CopyTo(IStream *target, ULARGE_INTEGER cb, ULARGE_INTEGER *read,
                                     ULARGE_INTEGER *written) override {
        if (!target) return STG_E_INVALIDPOINTER;
        ULONGLONG total = 0, done = 0;
        char chunk[4096];
        while (total < cb.QuadPart) {
            ULONG got = 0, put = 0;
            Read(chunk, ULONG(std::min<ULONGLONG>(sizeof chunk, cb.QuadPart - total)), &got);
            if (!got) break;
            total += got;
            HRESULT hr = target->Write(chunk, got, &put);
            done += put;
            if (FAILED(hr)) break;
        }
        if (read) read->QuadPart = total;
        if (written) written->QuadPart = done;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }

    HRESULT STDMETHODCALLTYPE Stat(STATSTG *stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = block_->size;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Clone(IStream **out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        auto *copy = new HGlobalStream(block_);
        copy->position_ = position_;
        *out = copy;
        return S_OK;
    }

private:
    // The block only grows: a smaller size is the stream's, the memory stays.
    HRESULT Grow(ULONGLONG size) {
        if (size > SIZE_T(-1)) return E_OUTOFMEMORY;
        if (size > GlobalSize(block_->memory) && !GlobalReAlloc(block_->memory, SIZE_T(size), GMEM_MOVEABLE))
            return E_OUTOFMEMORY;
        block_->size = size;
        return S_OK;
    }

    void Copy(void *bytes, ULONG count, bool intoBlock) {
        char *data = static_cast<char *>(GlobalLock(block_->memory));
        if (intoBlock) std::memcpy(data + position_, bytes, count);
        else std::memcpy(bytes, data + position_, count);
        GlobalUnlock(block_->memory);
        position_ += count;
    }

    std::shared_ptr<SharedBlock> block_;
    ULONGLONG position_ = 0;
};

} // namespace

// A null block is replaced by a new empty movable one; the stream's size starts as the
// block's size.
extern "C" HRESULT WINAPI CreateStreamOnHGlobal(HGLOBAL memory, BOOL freeOnRelease, LPSTREAM *out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (memory && !GlobalLock(memory)) return E_INVALIDARG; // not a live block
    if (memory) GlobalUnlock(memory);
    auto block = std::make_shared<SharedBlock>();
    block->memory = memory ? memory : GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!block->memory) return E_OUTOFMEMORY;
    block->freeOnRelease = freeOnRelease;
    block->size = GlobalSize(block->memory);
    *out = new HGlobalStream(std::move(block));
    return S_OK;
}

extern "C" HRESULT WINAPI GetHGlobalFromStream(LPSTREAM stream, HGLOBAL *memory) {
    if (!memory) return E_INVALIDARG;
    auto *ours = dynamic_cast<HGlobalStream *>(stream);
    *memory = ours ? ours->Memory() : nullptr;
    return ours ? S_OK : E_INVALIDARG;
}
