// Safe arrays as the variant commands see them: an element by a flat index counted
// from 1, and a runtime array (or byte set) turned into a one-dimensional safe array.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "value.h"

namespace cmd {

// The subscripts of element `index` (from 1, the first dimension varying fastest);
// false when the index lies outside the array.
bool SubscriptsOf(SAFEARRAY *array, int32_t index, std::vector<LONG> &subscripts);

// The array a variant holds, directly or by reference; null when it holds none.
SAFEARRAY *ArrayOf(const VARIANT &variant);

// A new safe array (lower bound 1) of a runtime array whose elements have
// `elementType`, with its VARIANT element type; null for element types it cannot hold.
SAFEARRAY *SafeArrayOfValues(uint32_t elementType, const void *array, VARTYPE &vt);
// The same of a byte set, as VT_UI1 elements.
SAFEARRAY *SafeArrayOfBytes(const uint8_t *byteSet);

} // namespace cmd
