#include "sorvel_mock/charset.h"

#include <iconv.h>

#include <cstdio>

namespace sorvel_mock {

bool ConvertText(const std::string &text, const char *from, const char *to, std::string &out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(text.size() * 4 + 4, '\0');
    char *in = const_cast<char *>(text.data());
    size_t inLeft = text.size();
    char *dst = out.data();
    size_t outLeft = out.size();
    bool ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return ok;
}

std::string GbkToUtf8OrEscaped(const std::string &gbk) {
    std::string utf8;
    if (ConvertText(gbk, "GBK", "UTF-8", utf8)) return utf8;
    std::string escaped;
    char hex[4];
    for (unsigned char c : gbk) {
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        escaped += c < 0x80 && c != '%' ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return escaped;
}

std::string Utf8ToGbk(const std::string &utf8) {
    std::string gbk;
    return ConvertText(utf8, "UTF-8", "GBK", gbk) ? gbk : utf8;
}

}  // namespace sorvel_mock
