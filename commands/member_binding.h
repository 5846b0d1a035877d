// Finding a member by name through the object's type information, and what its
// description says about the call: dispatch identifier, invoke flags, formal parameters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <oleauto.h>

#include <vector>

namespace cmd {

enum class CallKind { kRead, kWrite, kMethod };

struct MemberDescription {
    ITypeInfo *owner = nullptr; // the type information the description came from
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR desc = {};
    DISPID id = 0;
    WORD flags = 0;
    std::vector<const ELEMDESC *> formals; // point into the description
    bool variadic = false;                 // the last formal gathers further arguments
};

// Binds `name` on the object for the call kind; 0 or an object error code. The
// description is filled on success and must be released in every case.
int32_t BindMember(IDispatch *object, const OLECHAR *name, LCID lcid, CallKind kind, MemberDescription &member);
void ReleaseMember(MemberDescription &member);

// The VARIANT type a formal of this declared type takes: VT_BYREF for pointers, VT_ARRAY
// for safe and fixed arrays, user-defined types resolved through `owner`.
VARTYPE ResolveFormalType(ITypeInfo *owner, const TYPEDESC &type);

} // namespace cmd
