#include "host_text.h"

#include "code_page_codec.h"

namespace platform {

std::u16string GbkToUtf16(std::string_view gbk) {
    std::u16string wide;
    DecodeGbk(gbk, wide, false);
    return wide;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    std::string out;
    EncodeGbk(utf16, out, nullptr, nullptr);
    return out;
}

std::string GbkToUtf8(std::string_view gbk) {
    std::string out;
    EncodeUtf8(GbkToUtf16(gbk), out, false);
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::u16string wide;
    DecodeUtf8(utf8, wide, false);
    return Utf16ToGbk(wide);
}

} // namespace platform
