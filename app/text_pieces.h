// Pieces of texts the web page routines cut out: the text between two markers, the
// text after a colon, and a list without repeated items.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// The text between the first `startMarker` at or after `start` (from 1) and the next
// `endMarker`; empty when either is missing. "#引号" in a marker stands for a double quote.
std::string TextBetween(const std::string &text, const std::string &startMarker, const std::string &endMarker,
                        int32_t start = 1, bool caseSensitive = false);
// The text after the first ":", trimmed; empty without one.
std::string TextAfterColon(const std::string &text);
// The items of `text` cut at `separator`, each exact text kept once, joined again.
std::string RemoveDuplicateItems(const std::string &text, const std::string &separator);

} // namespace app
