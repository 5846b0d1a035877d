// The codecs behind the code-page functions, shared with the host-text helpers.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool DecodeGbk(std::string_view in, std::u16string &out, bool strict);
bool EncodeGbk(std::u16string_view in, std::string &out, const char *defaultChar, bool *usedDefault);
bool DecodeUtf8(std::string_view in, std::u16string &out, bool strict);
bool EncodeUtf8(std::u16string_view in, std::string &out, bool strict);

} // namespace platform
