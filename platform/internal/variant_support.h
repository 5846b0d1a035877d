// Shared helpers of the variant, safe-array and conversion modules.
#pragma once

#include <oleauto.h>

namespace ole {

// Whether vt may stand in a VARIANT (with its VT_ARRAY / VT_BYREF bits).
bool IsValidVariantType(VARTYPE vt);

// Whether vt may be the element type of a safe array.
bool IsValidElementType(VARTYPE vt);

// Size in bytes of a value of base type vt in memory (0 for types without storage).
size_t ValueSize(VARTYPE vt);

// A shallow, non-owning view of what a VT_BYREF variant points to; a variant that is not
// by reference is copied bit for bit. False when the variant cannot be dereferenced.
bool DereferenceView(const VARIANT *source, VARIANT *view);

} // namespace ole
