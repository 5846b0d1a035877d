#include "url_encode.h"

#include <cstdint>

#include "conversion_commands.h"
#include "literals.h"
#include "runtime_calls.h"
#include "text_calls.h"
#include "wide_text.h"

namespace app {
namespace {

bool IsSafe(uint8_t b) {
    return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

std::string TwoDigitHex(uint8_t b) {
    std::string hex = HexText(b);
    return TextLength(hex) < 2 ? Literal(image::kZeroDigit) + hex : hex;
}

} // namespace

std::string UrlEncode(const std::string &text, bool keepSafe, bool utf8) {
    std::string source = utf8 ? Utf8Text(text) : text;
    std::string bytes = TakeByteSet(CallCommand(cmd::ToByteSet, {TextArg(source.c_str())}));
    std::string encoded;
    for (char c : bytes) {
        uint8_t b = uint8_t(c);
        if (keepSafe && IsSafe(b)) encoded += c;
        else encoded += Literal(image::kPercent) + TwoDigitHex(b);
    }
    return encoded;
}

} // namespace app
