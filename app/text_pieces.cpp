#include "text_pieces.h"

#include <algorithm>
#include <vector>

#include "literals.h"
#include "text_calls.h"

namespace app {
namespace {

std::string WithQuotes(const std::string &marker) {
    return ReplaceAll(marker, Literal(image::kQuotePlaceholder), Literal(image::kDoubleQuote));
}

} // namespace

std::string TextBetween(const std::string &text, const std::string &startMarker, const std::string &endMarker,
                        int32_t start, bool caseSensitive) {
    std::string from = WithQuotes(startMarker), to = WithQuotes(endMarker);
    int32_t p = TextPosition(text, from, start, !caseSensitive);
    if (p > 0) p += TextLength(from);
    int32_t q = TextPosition(text, to, p, !caseSensitive);
    if (p <= 0 || q <= 0) return {};
    return TextMiddle(text, p, q - p);
}

std::string TextAfterColon(const std::string &text) {
    int32_t c = TextPosition(text, Literal(image::kColon));
    if (c <= 0) return {};
    return TrimSpaces(TextRight(text, TextLength(text) - c));
}

std::string RemoveDuplicateItems(const std::string &text, const std::string &separator) {
    std::vector<std::string> kept;
    std::string joined;
    for (const std::string &item : SplitText(text, separator)) {
        if (std::find(kept.begin(), kept.end(), item) != kept.end()) continue;
        kept.push_back(item);
        joined += item + separator;
    }
    return TextLeft(joined, TextLength(joined) - TextLength(separator));
}

} // namespace app
