#include "variant_array.h"

#include <cstring>

#include "com_blocks.h"
#include "variant_conversion.h"

namespace cmd {

bool SubscriptsOf(SAFEARRAY *array, int32_t index, std::vector<LONG> &subscripts) {
    UINT dimensions = array ? SafeArrayGetDim(array) : 0;
    if (!dimensions || index < 1) return false;
    subscripts.assign(dimensions, 0);
    uint64_t rest = uint64_t(index - 1);
    for (UINT d = 1; d <= dimensions; ++d) {
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(array, d, &lower);
        SafeArrayGetUBound(array, d, &upper);
        int64_t extent = int64_t(upper) - int64_t(lower) + 1;
        if (extent <= 0) return false;
        subscripts[d - 1] = LONG(lower + int64_t(rest % uint64_t(extent)));
        rest /= uint64_t(extent);
    }
    return rest == 0; // anything left over lies beyond the last element
}

SAFEARRAY *ArrayOf(const VARIANT &variant) {
    if (!(variant.vt & VT_ARRAY)) return nullptr;
    if (variant.vt & VT_BYREF) return variant.pparray ? *variant.pparray : nullptr;
    return variant.parray;
}

namespace {

SAFEARRAY *NewVector(VARTYPE vt, uint32_t count) {
    SAFEARRAYBOUND bound = {ULONG(count), 1};
    return SafeArrayCreate(vt, 1, &bound);
}

// How wide one element of a runtime array is: blocks and texts are pointers.
size_t ElementWidth(uint32_t type) {
    if (type == rt::kTypeVariant || IsObjectType(type)) return sizeof(void *);
    return rt::StorageSizeOf(type);
}

rt::TypedValue ElementValue(uint32_t type, const uint8_t *element) {
    rt::TypedValue value{0, 0, type};
    uint64_t bits = 0;
    std::memcpy(&bits, element, ElementWidth(type));
    value.SetBits(bits);
    return value;
}

// One element into its place in the safe array's data.
void StoreElement(const rt::TypedValue &value, VARTYPE vt, void *slot, size_t width) {
    if (vt == VT_UNKNOWN) {
        const ObjectBlock *block = value.Pointer<ObjectBlock>();
        IUnknown *object = block ? block->object : nullptr;
        if (object) object->AddRef();
        std::memcpy(slot, &object, sizeof object);
        return;
    }
    VARIANT v;
    VariantInit(&v);
    ValueToVariant(value, &v);
    if (vt == VT_VARIANT) std::memcpy(slot, &v, sizeof v); // the array takes it over
    else if (vt == VT_BSTR) std::memcpy(slot, &v.bstrVal, sizeof v.bstrVal);
    else std::memcpy(slot, &v.lVal, width); // numbers, booleans and dates lead the union
}

} // namespace

SAFEARRAY *SafeArrayOfValues(uint32_t elementType, const void *array, VARTYPE &vt) {
    elementType = rt::BaseType(elementType);
    vt = VariantTypeOfValue(elementType);
    if (vt == VT_EMPTY) return nullptr;
    rt::ArrayElements elements = rt::ArrayElementsOf(array);
    SAFEARRAY *result = NewVector(vt, elements.count);
    if (!result) return nullptr;
    UINT width = SafeArrayGetElemsize(result);
    void *data = nullptr;
    SafeArrayAccessData(result, &data);
    for (uint32_t i = 0; i < elements.count; ++i) {
        const uint8_t *element = static_cast<const uint8_t *>(elements.first) + i * ElementWidth(elementType);
        StoreElement(ElementValue(elementType, element), vt, static_cast<uint8_t *>(data) + size_t(i) * width,
                     width);
    }
    SafeArrayUnaccessData(result);
    return result;
}

SAFEARRAY *SafeArrayOfBytes(const uint8_t *byteSet) {
    uint32_t size = rt::ByteSetSize(byteSet);
    SAFEARRAY *result = NewVector(VT_UI1, size);
    if (!result || !size) return result;
    void *data = nullptr;
    SafeArrayAccessData(result, &data);
    std::memcpy(data, rt::ByteSetBytes(byteSet), size);
    SafeArrayUnaccessData(result);
    return result;
}

} // namespace cmd
