// Unit properties by number (helper slots 4 and 5): the common properties 0 to 7, the
// unit types' own properties converted by their value types, and menu items.
#pragma once

#include <cstdint>

namespace units {

constexpr int32_t kCoordinateLimit = 32627;

uint64_t ReadProperty(uint32_t window, uint32_t unit, int32_t property, int32_t index);
void WriteProperty(uint32_t window, uint32_t unit, int32_t property, int32_t index, uint32_t low, uint32_t high);

// Handlers 4 and 5: the object data of a unit type is its value, the window and unit
// identifiers; a value of any other type, or of another unit's type, has no properties.
uint64_t ReadObjectProperty(uint32_t type, uintptr_t object, int32_t property, int32_t index);
void WriteObjectProperty(uint32_t type, uintptr_t object, int32_t property, int32_t index, uint32_t low,
                         uint32_t high);

} // namespace units
