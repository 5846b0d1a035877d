// Runtime error reports, the exit operation and the runtime clean-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rt {

enum RuntimeErrorNumber : int32_t {
    kErrorIndexOutOfRange = 1,
    kErrorNotNumeric = 2,
    kErrorDimensionMismatch = 3,
    kErrorIndexBelowOne = 4,
    kErrorTypeMismatch = 5,
    kErrorStackAfterDllCall = 6,
    kErrorSubroutineResult = 7,
    kErrorCompareOnlyEqual = 8,
    kErrorChoiceIndex = 9,
    kErrorRedimension = 10,
    kErrorArgumentType = 11,
};

// The table text of error `number`, or null outside 1..11.
const char *RuntimeErrorMessage(int32_t number);
// The text the report box shows (GBK).
std::string BuildReportText(const char *message, int32_t code);

// Shows the report, drops the application clean-up routine and exits with -1.
[[noreturn]] void ReportRuntimeError(const char *message, int32_t code);
[[noreturn]] void ReportRuntimeErrorNumber(int32_t number);
[[noreturn]] void ExitProgram(int32_t code);
void RuntimeCleanUp(int32_t code);

} // namespace rt
