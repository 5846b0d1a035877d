// Object and variant variables as the application holds them: each is the address of
// a block on the runtime heap (an object block: interface and record pointers; a
// variant block: one VARIANT). Emptied through the commands, freed through slot 8.
#pragma once

#include "runtime_calls.h"

namespace app {

struct ObjectVariable {
    void *block;
};
struct VariantVariable {
    void *block;
};

ObjectVariable NewObjectVariable();
VariantVariable NewVariantVariable();
// ClearObject or ClearVariant, then the block back to the runtime.
void Release(ObjectVariable &variable);
void Release(VariantVariable &variable);
// Assigns a command's object or variant result: the variable's old block is released
// and the result's block taken.
void Assign(ObjectVariable &variable, rt::TypedValue result);
void Assign(VariantVariable &variable, rt::TypedValue result);
ObjectVariable TakeObject(rt::TypedValue result);
VariantVariable TakeVariant(rt::TypedValue result);

inline rt::TypedValue Arg(const ObjectVariable &variable) { return ObjectArg(variable.block); }
inline rt::TypedValue Arg(const VariantVariable &variable) { return VariantArg(variable.block); }

} // namespace app
