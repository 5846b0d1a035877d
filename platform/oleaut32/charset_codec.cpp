// Charset conversion for the Stream component, over iconv.
#include "charset_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "ole_text.h"

namespace ole {

namespace {

struct CharsetName {
    const char16_t *name;
    const char *hostName;
    const char *byteOrderMark;
};

const CharsetName kCharsets[] = {
    {u"unicode", "UTF-16LE", "\xFF\xFE"},
    {u"utf-16", "UTF-16LE", "\xFF\xFE"},
    {u"utf-16le", "UTF-16LE", "\xFF\xFE"},
    {u"unicodeFFFE", "UTF-16BE", "\xFE\xFF"},
    {u"utf-16be", "UTF-16BE", "\xFE\xFF"},
    {u"utf-8", "UTF-8", "\xEF\xBB\xBF"},
    {u"gbk", "CP936", ""},
    {u"gb2312", "CP936", ""},
    {u"cp936", "CP936", ""},
    {u"windows-936", "CP936", ""},
    {u"gb18030", "GB18030", ""},
    {u"big5", "BIG5", ""},
    {u"us-ascii", "ASCII", ""},
    {u"ascii", "ASCII", ""},
    {u"iso-8859-1", "ISO-8859-1", ""},
    {u"windows-1252", "CP1252", ""},
};

// Runs iconv over the whole input; at a sequence it cannot convert, appends `replacement`
// and skips `skip` input bytes.
std::string Convert(const char *to, const char *from, const std::string &in, const std::string &replacement,
                    size_t skip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return std::string();
    std::string out;
    char buffer[4096];
    char *src = const_cast<char *>(in.data());
    size_t left = in.size();
    while (left > 0) {
        char *dst = buffer;
        size_t room = sizeof buffer;
        size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, size_t(dst - buffer));
        if (rc != size_t(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut short at the end): replace and go on.
        out += replacement;
        size_t step = skip < left ? skip : left;
        src += step;
        left -= step;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char *dst = buffer;
    size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buffer, size_t(dst - buffer));
    iconv_close(cd);
    return out;
}

bool IsUtf16(const Charset &c) { return c.hostName == "UTF-16LE"; }

} // namespace

bool FindCharset(const std::u16string &name, Charset &charset) {
    for (const CharsetName &c : kCharsets) {
        if (EqualsNoCase(c.name, name.c_str())) {
            charset = {c.hostName, c.byteOrderMark};
            return true;
        }
    }
    return false;
}

std::u16string DecodeText(const Charset &charset, const std::string &bytes) {
    std::string units;
    if (IsUtf16(charset)) units = bytes.substr(0, bytes.size() & ~size_t(1));
    else units = Convert("UTF-16LE", charset.hostName.c_str(), bytes, std::string("\xFD\xFF", 2), 1);
    std::u16string text(units.size() / 2, u'\0');
    std::memcpy(text.data(), units.data(), text.size() * 2);
    return text;
}

std::string EncodeText(const Charset &charset, const std::u16string &text) {
    std::string units(reinterpret_cast<const char *>(text.data()), text.size() * 2);
    if (IsUtf16(charset)) return units;
    return Convert(charset.hostName.c_str(), "UTF-16LE", units, "?", 2);
}

} // namespace ole
