#include "member_arguments.h"

#include "com_blocks.h"
#include "object_error.h"
#include "variant_conversion.h"

namespace cmd {
namespace {

// Trailing omitted arguments are not passed at all.
int32_t PassedCount(const rt::TypedValue *actual, int32_t count) {
    while (count > 0 && actual[count - 1].type == rt::kTypeNone) --count;
    return count;
}

const ELEMDESC *FormalOf(const MemberDescription &member, int32_t index) {
    if (size_t(index) < member.formals.size()) return member.formals[size_t(index)];
    return member.formals.back(); // a variable argument list
}

void SetMissing(VARIANT &v) {
    VariantClear(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
}

// An object as the formal wants it: VT_UNKNOWN with a reference, VT_DISPATCH when it
// offers IDispatch, else a null VT_UNKNOWN. A record block goes as VT_RECORD, borrowed.
void ObjectToVariant(const ObjectBlock *block, VARTYPE formal, VARIANT &out, bool &borrowed) {
    IUnknown *object = block ? block->object : nullptr;
    out.vt = VT_UNKNOWN;
    out.punkVal = nullptr;
    if (block && block->record) {
        out.vt = VT_RECORD;
        out.pvRecord = block->record;
        out.pRecInfo = static_cast<IRecordInfo *>(object);
        borrowed = true;
    } else if (object && formal == VT_UNKNOWN) {
        object->AddRef();
        out.punkVal = object;
    } else if (object && formal == VT_DISPATCH) {
        IDispatch *dispatch = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&dispatch))) && dispatch) {
            out.vt = VT_DISPATCH;
            out.pdispVal = dispatch;
        }
    }
}

// One actual argument by the conversion table; false for a type that cannot be passed.
bool ConvertActual(const rt::TypedValue &actual, VARTYPE formal, VARIANT &out, bool &borrowed) {
    if (actual.type == rt::kTypeNone) return SetMissing(out), true;
    rt::TypedValue value = ValueBehind(actual);
    if (IsObjectType(value.type)) return ObjectToVariant(value.Pointer<ObjectBlock>(), formal, out, borrowed), true;
    if (!ValueToVariant(value, &out)) return false;
    if (out.vt == VT_EMPTY) SetMissing(out);
    return true;
}

// Types whose value a VT_BYREF slot can point to.
bool CanReference(VARTYPE vt) {
    switch (vt) {
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR:
    case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_DECIMAL: case VT_I1:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8:
        return true;
    default: return false;
    }
}

void *DataOf(VARIANT &v) { return v.vt == VT_DECIMAL ? static_cast<void *>(&v.decVal) : static_cast<void *>(&v.lVal); }

// Points the slot at the temporary in the form the formal asks for; false when the
// value must go by value instead.
bool ReferTo(VARIANT &temporary, VARTYPE formal, VARIANT &slot) {
    if (temporary.vt == VT_ERROR) return false;
    if ((formal & VT_ARRAY) && (temporary.vt & VT_ARRAY) && !(temporary.vt & VT_BYREF)) {
        slot.vt = VARTYPE(VT_BYREF | temporary.vt);
        slot.pparray = &temporary.parray;
        return true;
    }
    if (formal == VT_VARIANT) {
        slot.vt = VT_BYREF | VT_VARIANT;
        slot.pvarVal = &temporary;
        return true;
    }
    if (formal == VT_RECORD || !CanReference(formal)) return false;
    if (temporary.vt != formal && FAILED(VariantChangeType(&temporary, &temporary, 0, formal))) return false;
    slot.vt = VARTYPE(VT_BYREF | formal);
    slot.byref = DataOf(temporary);
    return true;
}

int32_t BuildOne(const MemberDescription &member, const rt::TypedValue &actual, int32_t index, CallArguments &arguments) {
    VARTYPE formal = ResolveFormalType(member.owner, FormalOf(member, index)->tdesc);
    size_t n = arguments.temporaries.size();
    VARIANT &slot = arguments.slots[n - 1 - size_t(index)];
    VARIANT &temporary = arguments.temporaries[size_t(index)];
    bool borrowed = false;
    bool byReference = formal & VT_BYREF;
    VARTYPE base = VARTYPE(formal & ~VT_BYREF);
    bool converted = ConvertActual(actual, base, byReference ? temporary : slot, borrowed);
    arguments.borrowed[size_t(index)] = borrowed;
    if (!converted) return kObjectBadArgument;
    if (!byReference) return kObjectOk;
    if (ReferTo(temporary, base, slot)) {
        arguments.byReference[size_t(index)] = true;
    } else {
        slot = temporary; // by value: the slot takes the temporary over
        VariantInit(&temporary);
    }
    return kObjectOk;
}

void ClearOrDrop(VARIANT &v, bool borrowed) {
    if (borrowed) VariantInit(&v);
    else VariantClear(&v);
}

} // namespace

int32_t BuildArguments(const MemberDescription &member, const rt::TypedValue *actual, int32_t count,
                       CallArguments &arguments) {
    int32_t passed = PassedCount(actual, count);
    bool extraAllowed = member.variadic && member.kind == DESCKIND_FUNCDESC;
    if (size_t(passed) > member.formals.size() && !extraAllowed) return kObjectTooManyArguments;
    arguments.slots.resize(size_t(passed));
    arguments.temporaries.resize(size_t(passed));
    arguments.byReference.assign(size_t(passed), false);
    arguments.borrowed.assign(size_t(passed), false);
    for (VARIANT &v : arguments.slots) VariantInit(&v);
    for (VARIANT &v : arguments.temporaries) VariantInit(&v);
    // Built in reverse, as the slots are ordered.
    for (int32_t i = passed - 1; i >= 0; --i) {
        int32_t code = BuildOne(member, actual[i], i, arguments);
        if (code != kObjectOk) return code;
    }
    return kObjectOk;
}

void WriteBackArguments(const MemberDescription &member, const rt::TypedValue *actual, CallArguments &arguments) {
    for (size_t i = 0; i < arguments.temporaries.size(); ++i) {
        if (!arguments.byReference[i] || !rt::IsIndirect(actual[i].type)) continue;
        if (!(FormalOf(member, int32_t(i))->paramdesc.wParamFlags & PARAMFLAG_FOUT)) continue;
        WriteVariantBack(arguments.temporaries[i], rt::BaseType(actual[i].type), actual[i].Pointer<void>());
    }
}

void ClearArguments(CallArguments &arguments) {
    size_t n = arguments.temporaries.size();
    for (size_t i = 0; i < n; ++i) {
        bool borrowed = i < arguments.borrowed.size() && arguments.borrowed[i];
        ClearOrDrop(arguments.slots[n - 1 - i], borrowed);
        ClearOrDrop(arguments.temporaries[i], borrowed);
    }
    arguments = CallArguments{};
}

} // namespace cmd
