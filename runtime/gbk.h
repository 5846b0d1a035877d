// Source files are UTF-8; texts the system shows or compares are in the ANSI code
// page (GBK). These turn a UTF-8 literal into its GBK bytes.
#pragma once

#include <string>
#include <string_view>

namespace rt {

std::string ToGbk(std::string_view utf8);
// Converted once and kept for the life of the process.
const char *GbkLiteral(const char *utf8);

} // namespace rt
