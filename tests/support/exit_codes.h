// The exit code a runtime error report ends a program with, as a death test sees it:
// -1, which a Linux parent reads as 255.
#pragma once

namespace testsupport {

#ifdef _WIN32
constexpr int kRuntimeErrorExit = -1;
#else
constexpr int kRuntimeErrorExit = 255;
#endif

} // namespace testsupport
