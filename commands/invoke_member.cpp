#include "invoke_member.h"

#include <windows.h>

#include <string>

#include "bstr_text.h"
#include "com_blocks.h"
#include "member_arguments.h"
#include "object_error.h"
#include "variant_conversion.h"

namespace cmd {
namespace {

// What one call holds until it ends.
struct MemberCall {
    IDispatch *dispatch = nullptr;
    LCID lcid = 0;
    MemberDescription member;
    CallArguments arguments;
    VARIANT result;
    MemberCall() { VariantInit(&result); }
    ~MemberCall() {
        VariantClear(&result);
        ClearArguments(arguments);
        ReleaseMember(member);
        if (dispatch) dispatch->Release();
    }
};

int32_t QueryDispatch(const rt::TypedValue &objectArgument, MemberCall &call) {
    const ObjectBlock *block = ObjectBlockOf(objectArgument);
    IUnknown *object = block ? block->object : nullptr;
    if (!object) return kObjectEmpty;
    if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&call.dispatch))) || !call.dispatch) {
        call.dispatch = nullptr;
        return kObjectNoDispatch;
    }
    call.lcid = GetUserDefaultLCID();
    return kObjectOk;
}

int32_t Invoke(MemberCall &call) {
    DISPID named = DISPID_PROPERTYPUT;
    bool put = call.member.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    DISPPARAMS params = {call.arguments.slots.data(), put ? &named : nullptr, UINT(call.arguments.slots.size()),
                         put ? 1u : 0u};
    HRESULT hr = call.dispatch->Invoke(call.member.id, IID_NULL, call.lcid, call.member.flags, &params, &call.result,
                                       nullptr, nullptr);
    return SUCCEEDED(hr) ? kObjectOk : ObjectErrorOfInvoke(hr);
}

int32_t Call(rt::TypedValue *result, int32_t count, rt::TypedValue *args, CallKind kind, MemberCall &call) {
    if (count < 1) return kObjectEmpty;
    rt::TypedValue nameValue = count > 1 ? ValueBehind(args[1]) : rt::TypedValue{0, 0, 0};
    OleText name = WideOf(nameValue.type == rt::kTypeText ? nameValue.Pointer<const char>() : nullptr);
    const rt::TypedValue *actual = count > 2 ? args + 2 : nullptr;
    int32_t passed = count > 2 ? count - 2 : 0;
    int32_t code = QueryDispatch(args[0], call);
    if (code == kObjectOk) code = BindMember(call.dispatch, name.c_str(), call.lcid, kind, call.member);
    if (code == kObjectOk) code = BuildArguments(call.member, actual, passed, call.arguments);
    if (code == kObjectOk) code = Invoke(call);
    if (code != kObjectOk) return code;
    if (actual) WriteBackArguments(call.member, actual, call.arguments);
    if (result->type == rt::kTypeNone) return kObjectOk;
    return VariantToValue(call.result, result->type, *result) ? kObjectOk : kObjectBadResult;
}

// The empty value of each result type: null text, zero, an empty object or variant block.
void SetEmptyResult(rt::TypedValue *result) {
    uint32_t type = result->type;
    *result = rt::TypedValue{0, 0, type};
    if (type == rt::kTypeVariant) *result = MakeVariantValue(NewVariantBlock());
    else if (IsObjectType(type)) result->SetPointer(NewObjectBlock(nullptr));
}

} // namespace

void InvokeMember(rt::TypedValue *result, int32_t count, rt::TypedValue *args, CallKind kind) {
    int32_t code;
    {
        MemberCall call;
        code = Call(result, count, args, kind, call);
    }
    if (code != kObjectOk && result->type != rt::kTypeNone) SetEmptyResult(result);
    SetLastObjectError(code);
}

} // namespace cmd
