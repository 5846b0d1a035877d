// The actual arguments of a member call: checked against the formal parameters, turned
// into VARIANTs (by value or by reference), and written back to the caller's variables
// after the call.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "member_binding.h"
#include "value.h"

namespace cmd {

struct CallArguments {
    std::vector<VARIANT> slots;      // last argument first, as DISPPARAMS wants them
    std::vector<VARIANT> temporaries; // per argument, in argument order; by-reference slots point here
    std::vector<bool> byReference;   // per argument: its slot refers to its temporary
    std::vector<bool> borrowed;      // per argument: holds the caller's record, not to be cleared
};

// Steps from the actual arguments (after the object and the name) to the slots;
// 0 or an object error code. `arguments` must be cleared in every case.
int32_t BuildArguments(const MemberDescription &member, const rt::TypedValue *actual, int32_t count,
                       CallArguments &arguments);

// After a successful call: out parameters passed by reference go back to the variables
// whose addresses the caller passed.
void WriteBackArguments(const MemberDescription &member, const rt::TypedValue *actual, CallArguments &arguments);

void ClearArguments(CallArguments &arguments);

} // namespace cmd
