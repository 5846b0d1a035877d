// The core library's data-type records for the unit types (and the object and
// variant types) the image uses, with their property tables.
#pragma once

#include "image.h"
#include "unit_interface.h"

namespace units {

// The unit types' interface routines; null for a type whose module is not linked.
struct CoreUnitInterfaces {
    UnitInterface window = nullptr;
    UnitInterface menuItem = nullptr;
    UnitInterface editBox = nullptr;
    UnitInterface label = nullptr;
    UnitInterface button = nullptr;
    UnitInterface commonDialog = nullptr;
};

// Fills the entries of the used types in the core library's 51-entry table.
void FillCoreDataTypes(rt::DataTypeInfo *table, const CoreUnitInterfaces &interfaces);

// Number of properties and the table of a unit type (common properties first).
const PropertyInfo *PropertiesOf(uint32_t typeCode, uint32_t &count);

} // namespace units
