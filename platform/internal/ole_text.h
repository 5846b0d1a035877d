// Small helpers for the UTF-16 names and texts of the COM modules.
#pragma once

#include <wtypes.h>

#include <string>

namespace ole {

inline char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

// Member names, ProgIDs and charsets compare without regard to ASCII letter case.
inline bool EqualsNoCase(const OLECHAR *a, const OLECHAR *b) {
    if (!a || !b) return a == b;
    for (; *a && *b; ++a, ++b)
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
    return *a == *b;
}

inline std::u16string ToU16(const char *ascii) { return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii)); }

} // namespace ole
