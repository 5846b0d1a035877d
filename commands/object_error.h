// The outcome of the last property or method call, kept per thread.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>

namespace cmd {

enum ObjectError : int32_t {
    kObjectOk = 0,
    kObjectEmpty = -1,
    kObjectNoDispatch = -2,
    kObjectNoMember = -3,
    kObjectNoTypeInfo = -4,
    kObjectTooManyArguments = -5,
    kObjectBadArgument = -7,
    kObjectBadResult = -8,
    kObjectBadParamCount = -9,
    kObjectBadVarType = -10,
    kObjectException = -11,
    kObjectMemberNotFound = -12,
    kObjectNoNamedArgs = -13,
    kObjectOverflow = -14,
    kObjectParamNotFound = -15,
    kObjectTypeMismatch = -16,
    kObjectParamNotOptional = -17,
    kObjectInvokeFailed = -18,
};

int32_t LastObjectError();
void SetLastObjectError(int32_t code);

// The code a failed IDispatch::Invoke leaves.
int32_t ObjectErrorOfInvoke(HRESULT result);

} // namespace cmd
