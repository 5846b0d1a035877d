#include "number_text.h"

#include "c_library_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace cmd {
namespace {

// Exact powers of ten; a float's decimal exponent stays within 0..39 here.
constexpr double kPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
    1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27,
    1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38, 1e39};

int BinaryExponent(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return int((bits >> 23) & 0xFF) - 127;
}

// "e+15" becomes "e+015"; three or more digits stay as they are.
size_t WidenExponent(char *text, size_t length) {
    char *e = static_cast<char *>(std::memchr(text, 'e', length));
    if (!e) return length;
    char *digits = e + 2;
    size_t count = size_t(text + length - digits);
    if (count >= 3) return length;
    size_t pad = 3 - count;
    std::memmove(digits + pad, digits, count);
    std::memset(digits, '0', pad);
    return length + pad;
}

} // namespace

double RoundToSixDigits(float value) {
    if (!std::isfinite(value)) return value;
    int d = int(BinaryExponent(value) * 0.30102999566398120); // truncated toward zero
    double p = kPowersOfTen[d < 0 ? -d : d];
    double magnitude = std::fabs(double(value));
    double y = d > 0 ? magnitude / p : magnitude * p;
    if (y >= 10) {
        p *= 10, d += 1, y *= 10000;
    } else if (y >= 1) {
        y *= 100000;
    } else {
        p *= 10, d -= 1, y *= 1000000;
    }
    double g;
    if (std::modf(y, &g) >= 0.5) g += 1;
    if (value < 0) p = -p;
    return d > 0 ? g * p * 0.00001 : g / (p * 100000);
}

size_t WriteReal(double value, int precision, char *out) {
    if (!std::isfinite(value)) return WriteWithCLibrary(value, precision, out, kNumberTextSize);
    auto r = std::to_chars(out, out + kNumberTextSize - 1, value, std::chars_format::general, precision);
    size_t length = WidenExponent(out, size_t(r.ptr - out));
    out[length] = '\0';
    return length;
}

size_t WriteFloat(float value, char *out) { return WriteReal(RoundToSixDigits(value), 6, out); }
size_t WriteDouble(double value, char *out) { return WriteReal(value, 13, out); }

size_t WriteSigned(int64_t value, char *out) {
    auto r = std::to_chars(out, out + kNumberTextSize - 1, value);
    *r.ptr = '\0';
    return size_t(r.ptr - out);
}

size_t WriteUnsigned(uint64_t value, char *out) {
    auto r = std::to_chars(out, out + kNumberTextSize - 1, value);
    *r.ptr = '\0';
    return size_t(r.ptr - out);
}

size_t WriteHex(uint32_t value, char *out) {
    auto r = std::to_chars(out, out + kNumberTextSize - 1, value, 16);
    for (char *c = out; c < r.ptr; ++c)
        if (*c >= 'a') *c = char(*c - 'a' + 'A');
    *r.ptr = '\0';
    return size_t(r.ptr - out);
}

} // namespace cmd
