// Numbers read from texts: full-width forms folded to ASCII first, then the decimal
// prefix parsed independently of the C locale.
#pragma once

#include <cstdint>
#include <string>

namespace cmd {

// Full-width spaces, digits, letters and signs to their ASCII forms; a dangling lead
// byte is dropped. (The text family's width conversion in mode 3 does the same.)
std::string HalfWidthOf(const char *text);

// Leading white space, sign, digits, fraction, exponent; no number gives 0. Too
// large magnitudes give an infinity, too small ones 0.
double ParseDecimalReal(const char *text);
// Leading white space, sign, digits; no number gives 0; out of range saturates.
int32_t ParseDecimalInteger(const char *text);

} // namespace cmd
