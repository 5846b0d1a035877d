// MultiByteToWideChar / WideCharToMultiByte for code pages 0 and 936 (GBK, over iconv)
// and 65001 (UTF-8), with Win32's measuring, buffer and failure rules.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

// Converts as much of `in` as iconv takes, writing at `out` and moving it on; returns
// the input bytes taken. iconv stops at the first sequence it cannot convert.
size_t ConvertRun(iconv_t cd, const char *in, size_t inBytes, char *&out, size_t room) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *src = const_cast<char *>(in);
    size_t left = inBytes;
    iconv(cd, &src, &left, &out, &room);
    return inBytes - left;
}

// Plain ASCII is the same in both encodings and most of a page: it is copied by hand,
// and iconv sees only the stretches between, which end before an ASCII byte that is no
// trail byte of a double-byte character.
size_t AsciiRun(std::string_view in, size_t i) {
    size_t k = i;
    while (k < in.size() && static_cast<unsigned char>(in[k]) < 0x80) ++k;
    return k - i;
}

size_t DoubleByteRun(std::string_view in, size_t i) {
    size_t k = i;
    for (unsigned char b; k < in.size() && (b = static_cast<unsigned char>(in[k])) >= 0x80;)
        k += (b == 0x80 || b == 0xFF) ? 1 : 2; // single bytes, else a lead byte and its trail
    return std::min(k, in.size()) - i;
}

} // namespace

// Each byte gives at most one UTF-16 unit: room for all of them is made first, then iconv
// converts runs and stops only at a byte of its own choosing.
bool DecodeGbk(std::string_view in, std::u16string &out, bool strict) {
    iconv_t cd = Codec().toUtf16;
    size_t start = out.size();
    out.resize(start + in.size());
    char16_t *to = out.data() + start, *end = out.data() + out.size();
    bool ok = true;
    for (size_t i = 0; i < in.size();) {
        for (size_t n = AsciiRun(in, i); n; --n) *to++ = char16_t(in[i++]);
        size_t run = DoubleByteRun(in, i);
        char *at = reinterpret_cast<char *>(to);
        size_t taken = ConvertRun(cd, in.data() + i, run, at, size_t(end - to) * sizeof *to);
        to = reinterpret_cast<char16_t *>(at);
        i += taken;
        if (taken == run) continue;
        // A byte that starts no character: the euro sign of code page 936, else a failure
        // or a question mark.
        bool euro = static_cast<unsigned char>(in[i]) == 0x80;
        if (!euro && strict) {
            ok = false;
            break;
        }
        *to++ = euro ? u'\u20AC' : u'?';
        ++i;
    }
    out.resize(size_t(to - out.data()));
    return ok;
}

// Each unit gives at most two bytes, or the default character.
bool EncodeGbk(std::u16string_view in, std::string &out, const char *defaultChar, bool *usedDefault) {
    iconv_t cd = Codec().fromUtf16;
    std::string_view fallback = defaultChar ? defaultChar : "?";
    size_t start = out.size();
    out.resize(start + in.size() * std::max<size_t>(2, fallback.size()));
    char *at = out.data() + start;
    const char *units = reinterpret_cast<const char *>(in.data());
    for (size_t i = 0; i < in.size();) {
        for (; i < in.size() && in[i] < 0x80; ++i) *at++ = char(in[i]);
        size_t run = 0;
        while (i + run < in.size() && in[i + run] >= 0x80) ++run;
        size_t room = size_t(out.data() + out.size() - at);
        size_t taken = ConvertRun(cd, units + 2 * i, 2 * run, at, room) / 2;
        i += taken;
        if (taken == run) continue;
        char16_t c = in[i];
        if (c == u'\u20AC') {
            *at++ = char(0x80);
            ++i;
            continue;
        }
        // A high surrogate takes the unit after it along into the default character.
        i += (c >= 0xD800 && c < 0xDC00 && i + 1 < in.size()) ? 2 : 1;
        at = std::copy(fallback.begin(), fallback.end(), at);
        if (usedDefault) *usedDefault = true;
    }
    out.resize(size_t(at - out.data()));
    return true;
}

bool DecodeUtf8(std::string_view in, std::u16string &out, bool strict) {
    out.reserve(out.size() + in.size());
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
    out.reserve(out.size() + in.size());
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
