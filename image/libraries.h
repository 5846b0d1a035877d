#pragma once

#include "image.h"

namespace image {

constexpr uint32_t kLibraryCount = 6;
const rt::LibraryInfo *const *LibraryPointers();
// The core library's data-type table, which the unit types fill in.
rt::DataTypeInfo *CoreDataTypes();

} // namespace image
