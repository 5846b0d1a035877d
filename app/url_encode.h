// Percent-encoding of a text for addresses.
#pragma once

#include <string>

namespace app {

// Every byte as "%" and two upper-case hex digits; with `keepSafe` the bytes "-", ".",
// 0-9, A-Z and a-z stay as they are. With `utf8` the text's UTF-8 bytes are encoded,
// otherwise its own (GBK) bytes.
std::string UrlEncode(const std::string &text, bool keepSafe, bool utf8);

} // namespace app
