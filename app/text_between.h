// The collector's text helpers: a byte search from a position that never matches on
// the second byte of a two-byte character, and the text between two markers.
#pragma once

#include <cstdint>

namespace app {

// The 1-based position of `sought` at or after `start` in `text`, or -1.
int32_t FindTextFrom(const char *text, const char *sought, int32_t start, bool ignoreCase);

// The text between the first `startMarker` at or after `position` and the next
// `endMarker`; `position` becomes the byte after the end marker, or 0 when either
// marker is missing (and the result is null). The caller owns the result.
char *ExtractBetween(const char *text, const char *startMarker, const char *endMarker, int32_t &position);

} // namespace app
