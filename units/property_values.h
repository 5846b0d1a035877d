// Converting between the application's 64-bit property values and the value records
// of the unit types' property requests, by property value type.
#pragma once

#include <cstdint>
#include <string>

#include "unit_interface.h"

namespace units {

bool IsByteDataType(uint16_t type);
bool IsIntegerType(uint16_t type);
bool IsTextType(uint16_t type);

// The application's value read from a unit's value record.
uint64_t ValueFromRecord(uint16_t type, const PropertyValue &record);

// A value record for a write; `storage` keeps converted bytes alive for the call.
PropertyValue RecordFromValue(uint16_t type, uint32_t low, uint32_t high, std::string &storage);

// The bytes of a byte set given as a 64-bit value (none for null or empty).
std::string BytesOfValue(uint32_t low, uint32_t high);
const char *TextOfValue(uint32_t low, uint32_t high);
uint64_t NewByteSetValue(const std::string &bytes);
uint64_t NewTextValue(const std::string &text);

} // namespace units
