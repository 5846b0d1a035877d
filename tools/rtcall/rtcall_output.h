// rtcall's result notation: one line for the result (more for an array of texts).
#pragma once

#include <string>

#include "value.h"

namespace rtcall {

// The lines describing `result`, each ending in a newline.
std::string DescribeResult(const rt::TypedValue &result);
// Frees the blocks a result owns (text, byte set, array).
void ReleaseResult(rt::TypedValue &result);

} // namespace rtcall
