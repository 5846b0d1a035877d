#include "com_blocks.h"

#include <cstring>

#include "core_library.h"
#include "image.h"
#include "memory.h"
#include "ole_link.h"

namespace cmd {

bool IsObjectType(uint32_t type) {
    type = rt::BaseType(type);
    if (type == rt::kTypeComObject) return true;
    if (rt::TypeCategoryOf(type) != rt::kCategoryLibrary) return false;
    auto *info = reinterpret_cast<const rt::DataTypeInfo *>(CoreService(rt::kServiceDataTypeInfo, intptr_t(type)));
    return info && (info->flags & rt::kTypeFlagObjectLike);
}

namespace {

// How many bytes a variable of this type holds: blocks and texts are pointers.
size_t VariableSize(uint32_t type) {
    if (type == rt::kTypeVariant || IsObjectType(type)) return sizeof(void *);
    return rt::StorageSizeOf(type);
}

} // namespace

rt::TypedValue ValueBehind(const rt::TypedValue &argument) {
    if (!rt::IsIndirect(argument.type)) return argument;
    rt::TypedValue value{0, 0, rt::BaseType(argument.type)};
    const void *variable = argument.Pointer<const void>();
    size_t size = VariableSize(value.type);
    if (!variable || !size) return value;
    uint64_t bits = 0;
    std::memcpy(&bits, variable, size);
    value.SetBits(bits);
    return value;
}

ObjectBlock *ObjectBlockOf(const rt::TypedValue &argument) {
    if (!IsObjectType(argument.type)) return nullptr;
    return ValueBehind(argument).Pointer<ObjectBlock>();
}

VARIANT *VariantBlockOf(const rt::TypedValue &argument) {
    if (rt::BaseType(argument.type) != rt::kTypeVariant) return nullptr;
    return ValueBehind(argument).Pointer<VARIANT>();
}

ObjectBlock *NewObjectBlock(IUnknown *object) {
    auto *block = static_cast<ObjectBlock *>(rt::AllocateMemory(sizeof(ObjectBlock)));
    block->object = object;
    block->record = nullptr;
    return block;
}

VARIANT *NewVariantBlock() {
    auto *block = static_cast<VARIANT *>(rt::AllocateMemory(sizeof(VARIANT)));
    std::memset(block, 0, sizeof(VARIANT));
    VariantInit(block);
    return block;
}

rt::TypedValue MakeObjectValue(ObjectBlock *block) {
    rt::TypedValue value{0, 0, rt::kTypeComObject};
    value.SetPointer(block);
    return value;
}

rt::TypedValue MakeVariantValue(VARIANT *block) {
    rt::TypedValue value{0, 0, rt::kTypeVariant};
    value.SetPointer(block);
    return value;
}

void EmptyObjectBlock(ObjectBlock *block) { rt::ClearObjectHolder(reinterpret_cast<void **>(block)); }

void EmptyVariant(VARIANT *variant) {
    if (!variant) return;
    VariantClear(variant);
    std::memset(variant, 0, sizeof(VARIANT));
}

} // namespace cmd
