// Text in named character sets, as the Stream component reads and writes it.
#pragma once

#include <string>

namespace ole {

struct Charset {
    std::string hostName; // the name the host converter knows
    std::string byteOrderMark;
};

// Looks a charset name up ("UTF-8", "GBK", "GB2312", "unicode", ...); false when unknown.
bool FindCharset(const std::u16string &name, Charset &charset);

// Undecodable bytes become U+FFFD; unencodable characters become '?'.
std::u16string DecodeText(const Charset &charset, const std::string &bytes);
std::string EncodeText(const Charset &charset, const std::u16string &text);

} // namespace ole
