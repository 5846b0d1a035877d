// Conversions between the ANSI code page (GBK) and the host's UTF-8 and UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

} // namespace platform
