#include "text_search.h"

#include <algorithm>
#include <cstring>

namespace cmd {
namespace {

// Answers "does `at` start a character" for falling offsets, scanning each byte
// at most once: `runStart` starts a character and only high bytes lie between it
// and the lowest offset asked so far.
struct FallingStarts {
    size_t from;
    size_t runStart;
    size_t lowest;
};

bool StartsCharacterFalling(const uint8_t *text, FallingStarts &starts, size_t at) {
    if (at < starts.runStart || at > starts.lowest) {
        starts.runStart = at;
        while (starts.runStart > starts.from && IsLeadByte(text[starts.runStart - 1])) --starts.runStart;
    }
    starts.lowest = at;
    return ((at - starts.runStart) & 1) == 0;
}

} // namespace

Needle MakeNeedle(const void *bytes, size_t length, bool ignoreCase) {
    return {static_cast<const uint8_t *>(bytes), length, ignoreCase};
}

bool StartsCharacter(const uint8_t *text, size_t known, size_t at) {
    // A byte below 0x80 always ends a character (alone or as a trail byte), so only
    // the run of high bytes just before `at` decides: they pair up from its start.
    size_t runStart = at;
    while (runStart > known && IsLeadByte(text[runStart - 1])) --runStart;
    return ((at - runStart) & 1) == 0;
}

namespace {

// The first match at a character start in text[at, end), where `known` (<= at) starts
// a character; `known` moves on past trail bytes found on the way.
size_t FindFrom(const Needle &needle, const uint8_t *text, size_t &known, size_t at, size_t end) {
    for (;;) {
        size_t found = FindAnywhere(needle, text, at, end);
        if (found == kNotFound || StartsCharacter(text, known, found)) return found;
        // `found` is a trail byte, so the next byte starts a character.
        known = at = found + 1;
    }
}

} // namespace

size_t FindNeedle(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t known = from;
    return FindFrom(needle, text, known, from, end);
}

size_t FindNeedleBeforeZero(const Needle &needle, const uint8_t *text, size_t from) {
    // Measured a piece at a time just ahead of the search, so that the search reads
    // bytes the measuring has just brought into the cache: one pass over memory.
    constexpr size_t kPiece = 16384;
    size_t known = from, at = from, end = from;
    for (size_t more = kPiece; more == kPiece;) {
        more = strnlen(reinterpret_cast<const char *>(text) + end, kPiece);
        end += more;
        size_t found = FindFrom(needle, text, known, at, end);
        if (found != kNotFound) return found;
        // Windows that start here may end in the next piece.
        if (end - at >= needle.length) at = end - needle.length + 1;
        at = std::max(at, known);
    }
    return kNotFound;
}

} // namespace cmd

namespace cmd {

size_t FindLastNeedle(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    FallingStarts starts{from, end, end};
    for (size_t limit = end;;) {
        size_t at = FindLastAnywhere(needle, text, from, limit);
        if (at == kNotFound || StartsCharacterFalling(text, starts, at)) return at;
        limit = at + needle.length - 1; // windows starting before `at`
    }
}

} // namespace cmd
