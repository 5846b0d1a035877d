#include "com_variables.h"

#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "object_commands.h"
#include "variant_commands.h"

namespace app {
namespace {

constexpr intptr_t kObjectBlockSize = 2 * sizeof(void *);

void *ZeroedBlock(intptr_t size) {
    void *block = rt::RuntimeHelpers.allocate(size);
    std::memset(block, 0, size_t(size));
    return block;
}

} // namespace

ObjectVariable NewObjectVariable() { return {ZeroedBlock(kObjectBlockSize)}; }
VariantVariable NewVariantVariable() { return {ZeroedBlock(sizeof(VARIANT))}; }

void Release(ObjectVariable &variable) {
    if (!variable.block) return;
    CallCommand(cmd::ClearObject, {Arg(variable)});
    rt::RuntimeHelpers.free(variable.block);
    variable.block = nullptr;
}

void Release(VariantVariable &variable) {
    if (!variable.block) return;
    CallCommand(cmd::ClearVariant, {Arg(variable)});
    rt::RuntimeHelpers.free(variable.block);
    variable.block = nullptr;
}

ObjectVariable TakeObject(rt::TypedValue result) {
    void *block = result.Pointer<void>();
    return block ? ObjectVariable{block} : NewObjectVariable();
}

VariantVariable TakeVariant(rt::TypedValue result) {
    void *block = result.Pointer<void>();
    return block ? VariantVariable{block} : NewVariantVariable();
}

void Assign(ObjectVariable &variable, rt::TypedValue result) {
    Release(variable);
    variable = TakeObject(result);
}

void Assign(VariantVariable &variable, rt::TypedValue result) {
    Release(variable);
    variable = TakeVariant(result);
}

} // namespace app
