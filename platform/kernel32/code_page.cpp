// MultiByteToWideChar / WideCharToMultiByte for code pages 0 and 936 (GBK, over iconv)
// and 65001 (UTF-8), with Win32's measuring, buffer and failure rules.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "code_page_codec.h"
#include "winbase.h"
#include "winnls.h"

namespace platform {
namespace {

// iconv descriptors are not thread-safe: one pair per thread.
struct GbkCodec {
    iconv_t toUtf16 = iconv_open("UTF-16LE", "CP936");
    iconv_t fromUtf16 = iconv_open("CP936", "UTF-16LE");
    ~GbkCodec() {
        if (toUtf16 != iconv_t(-1)) iconv_close(toUtf16);
        if (fromUtf16 != iconv_t(-1)) iconv_close(fromUtf16);
    }
};
GbkCodec &Codec() {
    thread_local GbkCodec codec;
    return codec;
}

// Runs one iconv step over a single character of `in`; the output goes to `out`.
bool ConvertOne(iconv_t cd, const char *in, size_t inBytes, char *out, size_t &outBytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *src = const_cast<char *>(in);
    char *dst = out;
    size_t left = inBytes, room = outBytes;
    if (iconv(cd, &src, &left, &dst, &room) == size_t(-1) || left != 0) return false;
    outBytes = outBytes - room;
    return true;
}

} // namespace

bool DecodeGbk(std::string_view in, std::u16string &out, bool strict) {
    iconv_t cd = Codec().toUtf16;
    for (size_t i = 0; i < in.size();) {
        auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out.push_back(char16_t(b));
            ++i;
            continue;
        }
        char buf[8];
        size_t got = sizeof buf;
        size_t len = (b == 0x80 || b == 0xFF || i + 1 >= in.size()) ? 1 : 2;
        if (len == 2 && ConvertOne(cd, in.data() + i, 2, buf, got) && got == 2) {
            out.push_back(char16_t(uint8_t(buf[0]) | (uint8_t(buf[1]) << 8)));
            i += 2;
            continue;
        }
        if (b == 0x80) { // the euro sign of code page 936
            out.push_back(u'\u20AC');
            ++i;
            continue;
        }
        if (strict) return false;
        out.push_back(u'?');
        i += 1;
    }
    return true;
}

bool EncodeGbk(std::u16string_view in, std::string &out, const char *defaultChar, bool *usedDefault) {
    iconv_t cd = Codec().fromUtf16;
    for (size_t i = 0; i < in.size();) {
        char16_t c = in[i];
        if (c < 0x80) {
            out.push_back(char(c));
            ++i;
            continue;
        }
        size_t units = (c >= 0xD800 && c < 0xDC00 && i + 1 < in.size()) ? 2 : 1;
        char src[4];
        for (size_t k = 0; k < units; ++k) {
            src[2 * k] = char(in[i + k] & 0xFF);
            src[2 * k + 1] = char(in[i + k] >> 8);
        }
        char buf[8];
        size_t got = sizeof buf;
        if (c == u'\u20AC') {
            out.push_back(char(0x80));
        } else if (ConvertOne(cd, src, units * 2, buf, got) && got <= 2) {
            out.append(buf, got);
        } else {
            out.append(defaultChar ? defaultChar : "?");
            if (usedDefault) *usedDefault = true;
        }
        i += units;
    }
    return true;
}

bool DecodeUtf8(std::string_view in, std::u16string &out, bool strict) {
    for (size_t i = 0; i < in.size();) {
        auto b = static_cast<unsigned char>(in[i]);
        uint32_t cp;
        size_t len;
        if (b < 0x80) { cp = b; len = 1; }
        else if (b >= 0xC2 && b < 0xE0) { cp = b & 0x1F; len = 2; }
        else if (b >= 0xE0 && b < 0xF0) { cp = b & 0x0F; len = 3; }
        else if (b >= 0xF0 && b < 0xF5) { cp = b & 0x07; len = 4; }
        else { len = 0; cp = 0; }
        bool ok = len > 0 && i + len <= in.size();
        for (size_t k = 1; ok && k < len; ++k) {
            auto t = static_cast<unsigned char>(in[i + k]);
            ok = (t & 0xC0) == 0x80;
            cp = (cp << 6) | (t & 0x3F);
        }
        if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
            ok = false;
        if (!ok) {
            if (strict) return false;
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += len;
    }
    return true;
}

bool EncodeUtf8(std::u16string_view in, std::string &out, bool strict) {
    for (size_t i = 0; i < in.size(); ++i) {
        uint32_t cp = in[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            if (strict) return false;
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return true;
}

} // namespace platform

namespace {

bool IsGbkPage(UINT cp) { return cp == CP_ACP || cp == CP_OEMCP || cp == 936; }

size_t MeasureMulti(LPCSTR s, int n) { return n < 0 ? std::char_traits<char>::length(s) + 1 : size_t(n); }
size_t MeasureWide(LPCWSTR s, int n) { return n < 0 ? std::char_traits<char16_t>::length(s) + 1 : size_t(n); }

template <typename Out, typename T>
int Deliver(const Out &converted, T *buffer, int capacity) {
    if (converted.size() > size_t(INT32_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int needed = int(converted.size());
    if (capacity == 0) return needed;
    if (needed > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::char_traits<T>::copy(buffer, converted.data(), converted.size());
    return needed;
}

} // namespace

extern "C" UINT WINAPI GetACP(void) { return 936; }
extern "C" LCID WINAPI GetUserDefaultLCID(void) { return 0x0804; }
extern "C" BOOL WINAPI IsDBCSLeadByte(BYTE b) { return b >= 0x81 && b <= 0xFE; }

extern "C" int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR in, int inBytes, LPWSTR out, int outUnits) {
    if (!in || inBytes == 0 || outUnits < 0 || (outUnits > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool strict = flags & MB_ERR_INVALID_CHARS;
    if ((codePage == CP_UTF8 && (flags & ~DWORD(MB_ERR_INVALID_CHARS))) ||
        (flags & ~DWORD(MB_ERR_INVALID_CHARS | MB_PRECOMPOSED))) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    std::string_view src(in, MeasureMulti(in, inBytes));
    std::u16string converted;
    bool ok;
    if (codePage == CP_UTF8) ok = platform::DecodeUtf8(src, converted, strict);
    else if (IsGbkPage(codePage)) ok = platform::DecodeGbk(src, converted, strict);
    else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!ok) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return Deliver(converted, out, outUnits);
}

extern "C" int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR in, int inUnits, LPSTR out, int outBytes,
                                          LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (!in || inUnits == 0 || outBytes < 0 || (outBytes > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string_view src(in, MeasureWide(in, inUnits));
    std::string converted;
    if (codePage == CP_UTF8) {
        if (defaultChar || usedDefaultChar) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (flags & ~DWORD(WC_ERR_INVALID_CHARS)) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (!platform::EncodeUtf8(src, converted, flags & WC_ERR_INVALID_CHARS)) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
    } else if (IsGbkPage(codePage)) {
        bool used = false;
        platform::EncodeGbk(src, converted, defaultChar, &used);
        if (usedDefaultChar) *usedDefaultChar = used;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Deliver(converted, out, outBytes);
}
