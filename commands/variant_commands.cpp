#include "variant_commands.h"

#include <cstring>
#include <vector>

#include "bstr_text.h"
#include "com_blocks.h"
#include "value_numbers.h"
#include "variant_array.h"
#include "variant_conversion.h"

namespace cmd {
namespace {

// SetVariantType's numbers 1 to 13.
constexpr VARTYPE kVariantTypes[] = {
    VT_I4, VT_BSTR, VT_BOOL, VT_DATE, VT_DISPATCH, VT_ERROR,
    VT_ARRAY | VT_I4, VT_ARRAY | VT_BSTR, VT_ARRAY | VT_BOOL, VT_ARRAY | VT_DATE, VT_ARRAY | VT_DISPATCH,
    VT_ARRAY | VT_ERROR, VT_ARRAY | VT_VARIANT,
};

// CreateVariantArray's element type numbers 1 to 10.
constexpr VARTYPE kElementTypes[] = {VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8, VT_BSTR, VT_BOOL, VT_DATE, VT_UNKNOWN, VT_VARIANT};

bool Given(int32_t count, const rt::TypedValue *args, int32_t index) {
    return index < count && args[index].type != rt::kTypeNone;
}

int32_t IntegerArgument(const rt::TypedValue *args, int32_t index) { return IntegerOf(ValueBehind(args[index])); }

// Where SafeArrayGetElement and SafeArrayPutElement find an element's value in a VARIANT.
void *ElementData(VARIANT &v, VARTYPE elementType) {
    if (elementType == VT_VARIANT) return &v;
    if (elementType == VT_DECIMAL) return &v.decVal;
    return &v.lVal;
}

// Element `index` (from 1) of the array, as a VARIANT of its own.
bool FetchElement(SAFEARRAY *array, int32_t index, VARIANT &out) {
    std::vector<LONG> subscripts;
    VARTYPE vt = VT_EMPTY;
    if (!SubscriptsOf(array, index, subscripts) || FAILED(SafeArrayGetVartype(array, &vt))) return false;
    if (FAILED(SafeArrayGetElement(array, subscripts.data(), ElementData(out, vt)))) return false;
    if (vt != VT_VARIANT) out.vt = vt;
    return true;
}

// The bytes of an array of one-byte elements; null (the empty byte set) for others.
uint8_t *BytesOfArray(const VARIANT &v) {
    SAFEARRAY *array = ArrayOf(v);
    VARTYPE element = VARTYPE(v.vt & VT_TYPEMASK);
    if (!array || (element != VT_UI1 && element != VT_I1)) return nullptr;
    size_t count = 1;
    for (UINT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
    void *data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return nullptr;
    uint8_t *bytes = rt::MakeByteSet(data, count);
    SafeArrayUnaccessData(array);
    return bytes;
}

// The value in the target type: as it is, or a changed copy held in `scratch`.
const VARIANT *InTargetType(const VARIANT &source, VARTYPE target, VARIANT &scratch) {
    if (source.vt == target) return &source;
    if (FAILED(VariantChangeType(&scratch, SourceVariant(&source), 0, target))) return nullptr;
    return &scratch;
}

// VariantToText and VariantToByteSet: the value (or one element) in the target type.
void ReadVariant(rt::TypedValue *result, int32_t count, rt::TypedValue *args, VARTYPE target) {
    bool text = target == VT_BSTR;
    *result = text ? rt::MakeTextValue(nullptr) : rt::MakeByteSetValue(nullptr);
    const VARIANT *block = count > 0 ? VariantBlockOf(args[0]) : nullptr;
    if (!block) return;
    VARIANT element, scratch;
    VariantInit(&element);
    VariantInit(&scratch);
    const VARIANT *source = block;
    SAFEARRAY *array = ArrayOf(*block);
    bool usable = true;
    if (array && Given(count, args, 1)) {
        usable = FetchElement(array, IntegerArgument(args, 1), element);
        source = &element;
    } else if (array) {
        if (!text) *result = rt::MakeByteSetValue(BytesOfArray(*block));
        return;
    }
    const VARIANT *value = usable ? InTargetType(*source, target, scratch) : nullptr;
    if (value && text) *result = rt::MakeTextValue(TextFromBstr(value->bstrVal));
    else if (value) *result = rt::MakeByteSetValue(BytesOfArray(*value));
    VariantClear(&scratch);
    VariantClear(&element);
}

// An array value (a runtime array, or a byte set) as a VARIANT holding a new safe array.
bool ArrayVariant(const rt::TypedValue &value, VARIANT &out) {
    VARTYPE vt = VT_UI1;
    SAFEARRAY *array = value.type == rt::kTypeByteSet ? SafeArrayOfBytes(value.Pointer<const uint8_t>())
                                                     : SafeArrayOfValues(value.type, value.Pointer<const void>(), vt);
    if (!array) return false;
    out.vt = VARTYPE(VT_ARRAY | vt);
    out.parray = array;
    return true;
}

// A single value by the table; an object goes as its IUnknown, or stays empty.
bool SingleVariant(const rt::TypedValue &argument, VARIANT &out) {
    rt::TypedValue value = ValueBehind(argument);
    if (!IsObjectType(value.type)) return ValueToVariant(value, &out);
    const ObjectBlock *block = value.Pointer<ObjectBlock>();
    IUnknown *unknown = nullptr;
    if (block && block->object &&
        SUCCEEDED(block->object->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown))) && unknown) {
        out.vt = VT_UNKNOWN;
        out.punkVal = unknown;
    }
    return true;
}

// Puts `value` as element `subscripts` of the array, changed to its element type first.
bool PutElement(SAFEARRAY *array, std::vector<LONG> &subscripts, VARIANT &value) {
    VARTYPE vt = VT_EMPTY;
    bool stored = SUCCEEDED(SafeArrayGetVartype(array, &vt));
    if (stored && vt != VT_VARIANT && value.vt != vt) stored = SUCCEEDED(VariantChangeType(&value, &value, 0, vt));
    if (stored) {
        void *data = ElementData(value, vt);
        if (vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH) data = value.byref; // the pointer itself
        stored = SUCCEEDED(SafeArrayPutElement(array, subscripts.data(), data));
    }
    VariantClear(&value);
    return stored;
}

bool IsArrayValue(const rt::TypedValue &value) { return rt::IsIndirect(value.type) || value.type == rt::kTypeByteSet; }

// The value as a VARIANT of its own.
bool ConvertValue(const rt::TypedValue &value, VARIANT &out) {
    if (!IsArrayValue(value)) return SingleVariant(value, out);
    return ArrayVariant(rt::TypedValue{value.low, value.high, rt::BaseType(value.type)}, out);
}

// Without an index the whole variant is replaced. The value is converted before the
// variant is cleared, so that a variant assigned to itself keeps its value.
bool AssignWhole(VARIANT *block, const rt::TypedValue &value) {
    VARIANT converted;
    VariantInit(&converted);
    bool made = ConvertValue(value, converted);
    EmptyVariant(block);
    if (made) *block = converted;
    return made;
}

bool AssignElement(VARIANT *block, const rt::TypedValue &value, int32_t index) {
    SAFEARRAY *target = ArrayOf(*block);
    VARTYPE vt = VT_EMPTY;
    if (!target || (IsArrayValue(value) && (FAILED(SafeArrayGetVartype(target, &vt)) || vt != VT_VARIANT))) return false;
    std::vector<LONG> subscripts;
    if (!SubscriptsOf(target, index, subscripts)) return false;
    VARIANT converted;
    VariantInit(&converted);
    return ConvertValue(value, converted) && PutElement(target, subscripts, converted);
}

} // namespace

void ClearVariant(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    if (count > 0) EmptyVariant(VariantBlockOf(args[0]));
}

void SetVariantType(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    *result = rt::MakeBoolean(false);
    VARIANT *block = count > 0 ? VariantBlockOf(args[0]) : nullptr;
    if (!block) return;
    EmptyVariant(block);
    int32_t number = count > 1 ? IntegerArgument(args, 1) : 0;
    if (number < 0 || number > 13) return;
    if (number == 0) return void(*result = rt::MakeBoolean(true));
    VARIANT empty;
    VariantInit(&empty);
    *result = rt::MakeBoolean(SUCCEEDED(VariantChangeType(block, &empty, 0, kVariantTypes[number - 1])));
}

void VariantToText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    ReadVariant(result, count, args, VT_BSTR);
}

void VariantToByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    ReadVariant(result, count, args, VT_ARRAY | VT_UI1);
}

void AssignVariant(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    VARIANT *block = count > 1 ? VariantBlockOf(args[0]) : nullptr;
    if (!block) return void(*result = rt::MakeBoolean(false));
    bool stored = Given(count, args, 2) ? AssignElement(block, args[1], IntegerArgument(args, 2)) : AssignWhole(block, args[1]);
    *result = rt::MakeBoolean(stored);
}

void CreateVariantArray(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    *result = rt::MakeBoolean(false);
    VARIANT *block = count > 0 ? VariantBlockOf(args[0]) : nullptr;
    int32_t number = count > 1 ? IntegerArgument(args, 1) : 0;
    int32_t elements = count > 2 ? IntegerArgument(args, 2) : 0;
    if (!block || number < 1 || number > 10 || elements < 0) return;
    VARTYPE vt = kElementTypes[number - 1];
    SAFEARRAYBOUND bound = {ULONG(elements), 1};
    SAFEARRAY *array = SafeArrayCreate(vt, 1, &bound);
    if (!array) return;
    EmptyVariant(block);
    block->vt = VARTYPE(VT_ARRAY | vt);
    block->parray = array;
    *result = rt::MakeBoolean(true);
}

const CommandEntry kVariantCommands[] = {
    {"ClearVariant", ClearVariant, 1},   {"SetVariantType", SetVariantType, 1},
    {"VariantToText", VariantToText, 1}, {"VariantToByteSet", VariantToByteSet, 1},
    {"AssignVariant", AssignVariant, 1}, {"CreateVariantArray", CreateVariantArray, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
