#include "text_numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace cmd {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWhite(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One two-byte character folded to a single byte, or 0 when it has no half form.
char HalfOf(uint8_t lead, uint8_t trail) {
    if (lead == 0xA1 && trail == 0xA1) return ' ';
    if (lead == 0xA1 && trail == 0xAB) return '~';
    if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return '*';
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return char(trail & 0x7F);
    return 0;
}

const char *SkipDigits(const char *p) {
    while (IsDigit(*p)) ++p;
    return p;
}

// The end of the decimal number at `p` (after its sign), or `p` when there is none.
const char *DecimalEnd(const char *p) {
    const char *end = SkipDigits(p);
    bool digits = end != p;
    if (*end == '.') {
        const char *fraction = SkipDigits(end + 1);
        digits = digits || fraction != end + 1;
        end = fraction;
    }
    if (!digits) return p;
    if (*end == 'e' || *end == 'E') {
        const char *e = end + 1;
        if (*e == '+' || *e == '-') ++e;
        if (IsDigit(*e)) end = SkipDigits(e);
    }
    return end;
}

// Whether a number that overflows the double range is large (not tiny).
bool IsHugeMagnitude(const char *begin, const char *end) {
    long exponent = 0;
    const char *e = static_cast<const char *>(std::memchr(begin, 'e', size_t(end - begin)));
    if (!e) e = static_cast<const char *>(std::memchr(begin, 'E', size_t(end - begin)));
    if (e) exponent = std::strtol(e + 1, nullptr, 10);
    const char *p = begin;
    while (p < end && (*p == '0' || *p == '.')) ++p;
    const char *dot = static_cast<const char *>(std::memchr(begin, '.', size_t(end - begin)));
    const char *mantissaEnd = e ? e : end;
    if (!dot || dot > mantissaEnd) dot = mantissaEnd;
    // The value is 0.ddd x 10^(exponent + shift).
    long shift = p <= dot ? long(dot - p) : long(dot - p) + 1;
    return exponent > -shift; // not exponent + shift: strtol saturates at the long's range
}

} // namespace

std::string HalfWidthOf(const char *text) {
    std::string out;
    out.reserve(std::strlen(text));
    for (const auto *p = reinterpret_cast<const uint8_t *>(text); *p; ++p) {
        if (*p < 0x80) {
            out.push_back(char(*p));
            continue;
        }
        if (!p[1]) break; // dangling lead byte
        char half = HalfOf(p[0], p[1]);
        if (half) out.push_back(half);
        else out.append(reinterpret_cast<const char *>(p), 2);
        ++p;
    }
    return out;
}

double ParseDecimalReal(const char *text) {
    const char *p = text;
    while (IsWhite(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    const char *end = DecimalEnd(p);
    if (end == p) return 0.0;
    double value = 0.0;
    auto r = std::from_chars(p, end, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) value = IsHugeMagnitude(p, end) ? HUGE_VAL : 0.0;
    else if (r.ec != std::errc()) value = 0.0;
    return negative ? -value : value;
}

int32_t ParseDecimalInteger(const char *text) {
    const char *p = text;
    while (IsWhite(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 2147483648LL) magnitude = 2147483648LL;
    }
    int64_t value = negative ? -magnitude : magnitude;
    return int32_t(value > INT32_MAX ? INT32_MAX : value);
}

} // namespace cmd
