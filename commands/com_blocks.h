// The blocks behind object and variant values, and how an argument of either kind
// leads to its block: directly, or through the address of the caller's variable.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "value.h"

namespace cmd {

// An object value points to this block: the interface (one reference, or null), and
// the data of a user-defined record when the block stands for one.
struct ObjectBlock {
    IUnknown *object;
    void *record;
};
static_assert(sizeof(ObjectBlock) == 2 * sizeof(void *), "the runtime empties it as two pointer words");

// Whether values of this type are handled as objects: the object type itself, or a
// library type whose descriptor carries the object-like flag.
bool IsObjectType(uint32_t type);

// A value as it stands, or read through the caller's variable when the argument
// carries its address (bit 29); the result is borrowed and has no indirect bit.
rt::TypedValue ValueBehind(const rt::TypedValue &argument);

// The block an object or variant argument stands for; null when there is none.
ObjectBlock *ObjectBlockOf(const rt::TypedValue &argument);
VARIANT *VariantBlockOf(const rt::TypedValue &argument);

// A variant given as a copy source. Some SDK headers declare that argument of
// VariantCopyInd and VariantChangeType without const; it is only read.
inline VARIANT *SourceVariant(const VARIANT *source) { return const_cast<VARIANT *>(source); }

// New blocks on the runtime heap. The object block takes over the reference.
ObjectBlock *NewObjectBlock(IUnknown *object);
VARIANT *NewVariantBlock();
rt::TypedValue MakeObjectValue(ObjectBlock *block);
rt::TypedValue MakeVariantValue(VARIANT *block);

// Releases what the block holds (record data destroyed through its record
// information) and leaves it empty.
void EmptyObjectBlock(ObjectBlock *block);

// VariantClear, then all bytes zero.
void EmptyVariant(VARIANT *variant);

} // namespace cmd
