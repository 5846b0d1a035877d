#include "window_unit_store.h"

#include <cstring>

#include "core_unit_types.h"

namespace units {
namespace {

class DataReader {
public:
    DataReader(const uint8_t *data, uint32_t size) : data_(data), size_(size) {}
    bool Word(uint32_t &out) {
        if (size_ - used_ < 4) return false;
        std::memcpy(&out, data_ + used_, 4);
        used_ += 4;
        return true;
    }
    bool Counted(std::string &out) {
        uint32_t length;
        if (!Word(length) || length > size_ - used_) return false;
        out.assign(reinterpret_cast<const char *>(data_ + used_), length);
        used_ += length;
        return true;
    }

private:
    const uint8_t *data_;
    uint32_t size_;
    uint32_t used_ = 0;
};

void PutWord(std::string &out, uint32_t v) { out.append(reinterpret_cast<const char *>(&v), 4); }

uint16_t ValueTypeOf(uint32_t type, int index) {
    uint32_t count = 0;
    const PropertyInfo *table = PropertiesOf(type, count);
    return table && uint32_t(index + 8) < count ? table[index + 8].valueType : uint16_t(kValueInteger);
}

bool IsBytes(uint16_t t) {
    return t == kValuePicture || t == kValueIcon || t == kValuePointer || t == kValueSound || t == kValueFont ||
           t == kValueBytes1023 || t == kValueBytes1024;
}

bool IsNumber(uint16_t t) {
    return t == kValueInteger || t == kValuePixels || t == kValueLogical || t == kValuePick || t == kValueColour ||
           t == kValueColour2 || t == kValueColourOrSystem;
}

} // namespace

bool ReadPropertyData(const DataLayout &layout, const uint8_t *data, uint32_t size, StoredProperties &props) {
    if (!data || size == 0) return true;
    DataReader in(data, size);
    uint32_t version;
    if (!in.Word(version) || version > layout.maxVersion) return false;
    for (const DataItem &item : layout.items) {
        if (version < item.since) continue;
        if (item.field == Field::Word) {
            uint32_t v;
            if (!in.Word(v)) return false;
            props.number[item.index] = int32_t(v);
        } else if (!in.Counted(props.data[item.index])) {
            return false;
        }
    }
    return true;
}

uint8_t *WritePropertyData(const DataLayout &layout, const StoredProperties &props, uint32_t *size) {
    std::string out;
    PutWord(out, layout.maxVersion);
    for (const DataItem &item : layout.items) {
        if (item.field == Field::Word) {
            PutWord(out, uint32_t(props.number[item.index]));
            continue;
        }
        const std::string &d = props.data[item.index];
        PutWord(out, uint32_t(d.size()));
        out += d;
    }
    *size = uint32_t(out.size());
    auto *block = new uint8_t[out.size()];
    std::memcpy(block, out.data(), out.size());
    return block;
}

PropertyValue ValueOf(const StoredProperties &props, uint32_t type, int index) {
    uint16_t t = ValueTypeOf(type, index);
    const std::string &d = props.data[index + 8];
    if (IsNumber(t)) return {uint32_t(props.number[index + 8]), 0};
    if (IsBytes(t)) return {reinterpret_cast<uintptr_t>(d.data()), d.size()};
    return {reinterpret_cast<uintptr_t>(d.c_str()), 0};
}

void Store(StoredProperties &props, uint32_t type, int index, const PropertyValue &value, int32_t maxPick) {
    uint16_t t = ValueTypeOf(type, index);
    std::string &d = props.data[index + 8];
    if (IsNumber(t)) {
        int32_t v = int32_t(uint32_t(value.first));
        props.number[index + 8] = t == kValuePick && maxPick >= 0 ? LimitPick(v, maxPick) : v;
    } else if (IsBytes(t)) {
        d = value.first ? std::string(reinterpret_cast<const char *>(value.first), value.second) : std::string();
    } else {
        d = value.first ? reinterpret_cast<const char *>(value.first) : "";
    }
}

int32_t LimitPick(int32_t value, int32_t max) { return value < 0 ? 0 : value > max ? max : value; }

} // namespace units
