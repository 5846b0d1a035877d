#include "memory_archive.h"

#include <cstring>

namespace fw {

const uint8_t *MemoryArchive::Borrow(size_t count) {
    if (failed_ || count > size_ - position_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t *p = data_ + position_;
    position_ += count;
    return p;
}

bool MemoryArchive::ReadBytes(void *out, size_t count) {
    const uint8_t *p = Borrow(count);
    if (p && count) std::memcpy(out, p, count);
    return p != nullptr;
}

uint32_t MemoryArchive::ReadUInt32() {
    uint32_t v = 0;
    if (!ReadBytes(&v, 4)) return 0;
    return v;
}

std::string MemoryArchive::ReadCountedText() {
    uint32_t n = ReadUInt32();
    const uint8_t *p = Borrow(n);
    return p ? std::string(reinterpret_cast<const char *>(p), n) : std::string();
}

std::string MemoryArchive::ReadTerminatedText() {
    if (failed_) return {};
    const void *nul = std::memchr(data_ + position_, 0, size_ - position_);
    if (!nul) {
        failed_ = true;
        return {};
    }
    size_t n = size_t(static_cast<const uint8_t *>(nul) - (data_ + position_));
    std::string text(reinterpret_cast<const char *>(data_ + position_), n);
    position_ += n + 1;
    return text;
}

} // namespace fw
