#include "property_texts.h"

#include <cstring>

namespace units {

uint8_t *WalkLayoutTexts(const DataLayout &layout, StoredProperties props, const uint8_t *data, uint32_t *size,
                         TextVisitor visitor, void *parameter) {
    if (!size || !visitor || !ReadPropertyData(layout, data, *size, props)) {
        if (size) *size = 0;
        return nullptr;
    }
    for (const DataItem &item : layout.items)
        if (item.field == Field::Text) visitor(props.data[item.index], parameter);
    return WritePropertyData(layout, props, size);
}

uint8_t *HeapCopy(const std::string &bytes, uint32_t *size) {
    auto *block = new uint8_t[bytes.size() ? bytes.size() : 1];
    std::memcpy(block, bytes.data(), bytes.size());
    *size = uint32_t(bytes.size());
    return block;
}

} // namespace units
