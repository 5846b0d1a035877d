// The stored properties of the window, label and button units: a number or a block
// of bytes per property index, read from and written to template property data by a
// per-type layout, and exchanged with the framework as value records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "unit_interface.h"

namespace units {

enum class Field : uint8_t { Word, Bytes, Text };

// One item of a type's property data, present from `since` on.
struct DataItem {
    Field field;
    uint8_t index;
    uint8_t since = 0;
};

struct DataLayout {
    uint32_t maxVersion;
    std::vector<DataItem> items;
};

struct StoredProperties {
    int32_t number[32] = {};
    std::string data[32]; // texts and byte data
};

// Reads property data over the defaults already in `props`; false for a version
// above the maximum or data that end early. Empty data leave the defaults.
bool ReadPropertyData(const DataLayout &layout, const uint8_t *data, uint32_t size, StoredProperties &props);
// Writes the data at the layout's highest version (heap block freed with delete[]).
uint8_t *WritePropertyData(const DataLayout &layout, const StoredProperties &props, uint32_t *size);
// The value record of property `index` for request 6.
PropertyValue ValueOf(const StoredProperties &props, uint32_t type, int index);
// Stores a request 4 value; pick values are limited to `maxPick` when given.
void Store(StoredProperties &props, uint32_t type, int index, const PropertyValue &value, int32_t maxPick = -1);
// Limits a pick value: negative gives 0, above the maximum the maximum.
int32_t LimitPick(int32_t value, int32_t max);

} // namespace units
