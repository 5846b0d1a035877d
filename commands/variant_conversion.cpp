#include "variant_conversion.h"

#include <cstring>

#include "bstr_text.h"
#include "com_blocks.h"
#include "core_library.h"
#include "memory.h"

namespace cmd {

VARTYPE VariantTypeOfValue(uint32_t type) {
    switch (type) {
    case rt::kTypeBoolean: return VT_BOOL;
    case rt::kTypeDateTime: return VT_DATE;
    case rt::kTypeText: return VT_BSTR;
    case rt::kTypeByte: return VT_UI1;
    case rt::kTypeShortInteger: return VT_I2;
    case rt::kTypeInteger:
    case rt::kTypeLongInteger: return VT_I4;
    case rt::kTypeFloat: return VT_R4;
    case rt::kTypeDouble: return VT_R8;
    case rt::kTypeVariant: return VT_VARIANT;
    default: return IsObjectType(type) ? VT_UNKNOWN : VT_EMPTY;
    }
}

bool ValueToVariant(const rt::TypedValue &value, VARIANT *out) {
    VARTYPE vt = VariantTypeOfValue(value.type);
    switch (vt) {
    case VT_BOOL: out->boolVal = value.low ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_DATE: out->date = value.AsDouble(); break;
    case VT_BSTR: out->bstrVal = BstrFromText(value.Pointer<const char>()); break;
    case VT_UI1: out->bVal = BYTE(value.low); break;
    case VT_I2: out->iVal = SHORT(value.low); break;
    case VT_I4: out->lVal = LONG(value.low); break;
    case VT_R4: out->fltVal = value.AsFloat(); break;
    case VT_R8: out->dblVal = value.AsDouble(); break;
    case VT_VARIANT: {
        const VARIANT *source = value.Pointer<const VARIANT>();
        return !source || SUCCEEDED(VariantCopyInd(out, SourceVariant(source)));
    }
    default: return false;
    }
    out->vt = vt;
    return true;
}

namespace {

bool IsRecord(const VARIANT &v) { return (v.vt & ~VT_BYREF) == VT_RECORD; }

// A copy of `source` changed into the VARIANT type of `type`.
bool ChangedCopy(const VARIANT &source, uint32_t type, VARIANT &out) {
    VARTYPE vt = VariantTypeOfValue(type);
    if (vt == VT_EMPTY || vt == VT_VARIANT) return false;
    if (FAILED(VariantCopyInd(&out, SourceVariant(&source)))) return false;
    if (out.vt == vt) return true;
    HRESULT hr = VariantChangeType(&out, &out, 0, vt);
    if (FAILED(hr)) VariantClear(&out);
    return SUCCEEDED(hr);
}

// The payload of a plain (not text, not object) value from its changed VARIANT.
uint64_t PlainBits(const VARIANT &v, uint32_t type) {
    switch (type) {
    case rt::kTypeBoolean: return v.boolVal ? 1 : 0;
    case rt::kTypeByte: return v.bVal;
    case rt::kTypeShortInteger: return uint16_t(v.iVal);
    case rt::kTypeInteger: return uint32_t(v.lVal);
    case rt::kTypeLongInteger: return uint64_t(int64_t(v.lVal));
    case rt::kTypeFloat: {
        uint32_t bits;
        std::memcpy(&bits, &v.fltVal, 4);
        return bits;
    }
    default: {
        uint64_t bits; // VT_R8 and VT_DATE: the double
        std::memcpy(&bits, &v.dblVal, 8);
        return bits;
    }
    }
}

// Takes over the interface the changed VARIANT holds.
IUnknown *TakeInterface(VARIANT &v) {
    IUnknown *object = v.punkVal;
    v.vt = VT_EMPTY;
    v.punkVal = nullptr;
    return object;
}

bool CopyIntoNewVariant(const VARIANT &source, rt::TypedValue &out) {
    VARIANT *block = NewVariantBlock();
    if (FAILED(VariantCopyInd(block, SourceVariant(&source)))) {
        rt::FreeMemory(block);
        return false;
    }
    out = MakeVariantValue(block);
    return true;
}

bool CopyIntoVariable(const VARIANT &source, void *variable) {
    VARIANT *block;
    std::memcpy(&block, variable, sizeof block);
    if (!block) {
        block = NewVariantBlock();
        std::memcpy(variable, &block, sizeof block);
    }
    EmptyVariant(block);
    return SUCCEEDED(VariantCopyInd(block, SourceVariant(&source)));
}

void StoreObjectInVariable(IUnknown *object, void *variable) {
    ObjectBlock *block;
    std::memcpy(&block, variable, sizeof block);
    if (!block) {
        std::memcpy(variable, &(block = NewObjectBlock(nullptr)), sizeof block);
    } else {
        CoreService(rt::kServiceClearObject, reinterpret_cast<intptr_t>(block));
        if (block->object) block->object->Release(); // before the runtime has started
    }
    block->object = object;
    block->record = nullptr;
}

void StoreTextInVariable(char *text, void *variable) {
    char *old;
    std::memcpy(&old, variable, sizeof old);
    rt::FreeMemory(old);
    std::memcpy(variable, &text, sizeof text);
}

} // namespace

bool VariantToValue(const VARIANT &source, uint32_t type, rt::TypedValue &out) {
    if (IsRecord(source)) return false;
    if (type == rt::kTypeVariant) return CopyIntoNewVariant(source, out);
    VARIANT v;
    VariantInit(&v);
    if (!ChangedCopy(source, type, v)) return false;
    out = rt::TypedValue{0, 0, type};
    if (v.vt == VT_UNKNOWN) out = MakeObjectValue(NewObjectBlock(TakeInterface(v)));
    else if (v.vt == VT_BSTR) out = rt::MakeTextValue(TextFromBstr(v.bstrVal));
    else out.SetBits(PlainBits(v, type));
    out.type = type;
    VariantClear(&v);
    return true;
}

bool WriteVariantBack(const VARIANT &source, uint32_t type, void *variable) {
    if (IsRecord(source) || !variable) return false;
    if (type == rt::kTypeVariant) return CopyIntoVariable(source, variable);
    VARIANT v;
    VariantInit(&v);
    if (!ChangedCopy(source, type, v)) return false;
    if (v.vt == VT_UNKNOWN) {
        StoreObjectInVariable(TakeInterface(v), variable);
    } else if (v.vt == VT_BSTR) {
        StoreTextInVariable(TextFromBstr(v.bstrVal), variable);
    } else {
        uint64_t bits = PlainBits(v, type);
        std::memcpy(variable, &bits, rt::StorageSizeOf(type));
    }
    VariantClear(&v);
    return true;
}

} // namespace cmd
