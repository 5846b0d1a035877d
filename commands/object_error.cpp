#include "object_error.h"

namespace cmd {
namespace {

thread_local int32_t lastError = kObjectOk;

struct InvokeFailure {
    HRESULT result;
    int32_t code;
};

constexpr InvokeFailure kInvokeFailures[] = {
    {DISP_E_BADPARAMCOUNT, kObjectBadParamCount},   {DISP_E_BADVARTYPE, kObjectBadVarType},
    {DISP_E_EXCEPTION, kObjectException},           {DISP_E_MEMBERNOTFOUND, kObjectMemberNotFound},
    {DISP_E_NONAMEDARGS, kObjectNoNamedArgs},       {DISP_E_OVERFLOW, kObjectOverflow},
    {DISP_E_PARAMNOTFOUND, kObjectParamNotFound},   {DISP_E_TYPEMISMATCH, kObjectTypeMismatch},
    {DISP_E_PARAMNOTOPTIONAL, kObjectParamNotOptional},
};

} // namespace

int32_t LastObjectError() { return lastError; }
void SetLastObjectError(int32_t code) { lastError = code; }

int32_t ObjectErrorOfInvoke(HRESULT result) {
    for (const InvokeFailure &f : kInvokeFailures)
        if (f.result == result) return f.code;
    return kObjectInvokeFailed;
}

} // namespace cmd
