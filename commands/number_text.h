// How the runtime writes numbers as text: "%.6g" for single-precision values after
// rounding them to six significant digits, "%.13g" for doubles, the exponent always
// with at least three digits (1e+015). Independent of the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cmd {

// Enough for any of the forms below.
constexpr size_t kNumberTextSize = 48;

// Rounds to six significant digits so that representation error does not show
// through; non-finite values come back unchanged.
double RoundToSixDigits(float value);

// Writes `value` as "%.<precision>g" would, with a three-digit exponent; returns the
// length. Infinities and NaN are written as the platform's C library writes them.
size_t WriteReal(double value, int precision, char *out);
size_t WriteFloat(float value, char *out);   // rounded, then %.6g
size_t WriteDouble(double value, char *out); // %.13g

size_t WriteSigned(int64_t value, char *out);
size_t WriteUnsigned(uint64_t value, char *out);
size_t WriteHex(uint32_t value, char *out); // %X

} // namespace cmd
