// The one routine behind every property and method command: binds the member by name,
// passes the arguments, calls IDispatch::Invoke and converts the result.
#pragma once

#include "member_binding.h"
#include "value.h"

namespace cmd {

// `result->type` names the result wanted (Text, Double, object, variant or none);
// args: object, member name, then the member's own arguments. Leaves the outcome as
// the thread's last object error; on failure the result is the type's empty value.
void InvokeMember(rt::TypedValue *result, int32_t count, rt::TypedValue *args, CallKind kind);

} // namespace cmd
