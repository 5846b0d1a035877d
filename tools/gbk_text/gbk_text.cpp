#include "gbk_text.h"

#include <iconv.h>

#include <stdexcept>

namespace tools {

std::string ToGbk(const std::string &utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    if (cd == iconv_t(-1)) throw std::runtime_error("no GBK converter");
    std::string out(utf8.size() * 2 + 4, '\0');
    char *in = const_cast<char *>(utf8.data());
    char *dst = out.data();
    size_t left = utf8.size(), room = out.size();
    size_t r = iconv(cd, &in, &left, &dst, &room);
    iconv_close(cd);
    if (r == size_t(-1)) throw std::runtime_error("text not representable in GBK: " + utf8);
    out.resize(out.size() - room);
    return out;
}

} // namespace tools
