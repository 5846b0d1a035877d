// Reading serialized data from a memory buffer. A read past the end sets the failed
// flag and yields zeros, so a caller checks once at the end instead of at every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fw {

class MemoryArchive {
public:
    MemoryArchive(const void *data, size_t size) : data_(static_cast<const uint8_t *>(data)), size_(size) {}

    uint32_t ReadUInt32();
    int32_t ReadInt32() { return int32_t(ReadUInt32()); }
    // Copies `count` bytes, or nothing when they are not all there.
    bool ReadBytes(void *out, size_t count);
    // A pointer to the next `count` bytes inside the buffer, or null.
    const uint8_t *Borrow(size_t count);
    // A 32-bit length followed by that many bytes.
    std::string ReadCountedText();
    // Bytes up to a NUL, which is consumed.
    std::string ReadTerminatedText();
    bool Skip(size_t count) { return Borrow(count) != nullptr; }

    size_t Position() const { return position_; }
    size_t Remaining() const { return size_ - position_; }
    bool Failed() const { return failed_; }
    bool AtEnd() const { return position_ == size_; }

private:
    const uint8_t *data_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
};

} // namespace fw
