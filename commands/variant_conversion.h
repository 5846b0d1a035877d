// The conversion table between runtime values and VARIANTs, both ways.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "value.h"

namespace cmd {

// The VARIANT type a runtime type converts to: objects VT_UNKNOWN, the variant type
// VT_VARIANT, types outside the table VT_EMPTY.
VARTYPE VariantTypeOfValue(uint32_t type);

// A value of a system type or a variant into `out` (initialised by the caller): texts as
// BSTR (the empty text as a null BSTR), long integers as their low 32 bits, variants
// copied with VariantCopyInd. Objects are not handled here. False for other types.
bool ValueToVariant(const rt::TypedValue &value, VARIANT *out);

// A VARIANT into a new runtime value of `type` (objects as a new block, variants as a
// new block, texts as a new text). False when it cannot be converted; `out` is then
// left untouched.
bool VariantToValue(const VARIANT &source, uint32_t type, rt::TypedValue &out);

// The same into the caller's variable of `type` at `variable`, replacing (and
// releasing) what it held.
bool WriteVariantBack(const VARIANT &source, uint32_t type, void *variable);

} // namespace cmd
