// The byte form of a fuzz input that drives calls rather than one reader: small
// numbers, doubles and length-prefixed byte strings read from the front, each read
// giving zero or empty once the input runs out. FuzzWriter makes the same form for seeds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>

namespace fuzz {

class FuzzReader {
public:
    FuzzReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
    int32_t Integer() {
        uint32_t v = 0;
        Take(&v, sizeof v);
        return int32_t(v);
    }
    double Double() {
        double v = 0;
        Take(&v, sizeof v);
        return v;
    }
    // A byte string of up to 255 bytes.
    std::string Text() {
        std::string s(std::min<size_t>(Byte(), size_ - at_), '\0');
        Take(s.data(), s.size());
        return s;
    }
    std::string Rest() {
        std::string s(reinterpret_cast<const char *>(data_ + at_), size_ - at_);
        at_ = size_;
        return s;
    }

private:
    void Take(void *out, size_t n) {
        size_t have = std::min(n, size_ - at_);
        std::memcpy(out, data_ + at_, have);
        at_ += have;
    }
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

class FuzzWriter {
public:
    FuzzWriter &Byte(uint8_t v) { return Put(&v, 1); }
    FuzzWriter &Integer(int32_t v) { return Put(&v, sizeof v); }
    FuzzWriter &Double(double v) { return Put(&v, sizeof v); }
    FuzzWriter &Text(const std::string &s) {
        Byte(uint8_t(s.size()));
        return Put(s.data(), s.size());
    }
    FuzzWriter &Rest(const std::string &s) { return Put(s.data(), s.size()); }
    const std::string &Bytes() const { return bytes_; }

private:
    FuzzWriter &Put(const void *p, size_t n) {
        bytes_.append(static_cast<const char *>(p), n);
        return *this;
    }
    std::string bytes_;
};

} // namespace fuzz
