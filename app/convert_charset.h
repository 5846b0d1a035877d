// Re-encoding bytes from one character set to another through a stream object.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// `from` empty: "UTF-8"; `to` empty: "GBK". A start position (0 or more) skips that
// many bytes of the re-encoded output, such as a byte-order mark; -1 skips none. Any
// failed step gives empty bytes.
std::string ConvertCharset(const std::string &bytes, const std::string &from = {}, const std::string &to = {},
                           int32_t start = -1);

} // namespace app
