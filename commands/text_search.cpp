#include "text_search.h"

#include <cstring>

namespace cmd {
namespace {

// Ranges shorter than this are searched without building a shift table.
constexpr size_t kShiftTableRange = 512;

inline uint8_t Fold(uint8_t b) { return (b >= 'A' && b <= 'Z') ? uint8_t(b | 0x20) : b; }

template <bool IgnoreCase> inline uint8_t Key(uint8_t b) {
    if constexpr (IgnoreCase) return Fold(b);
    return b;
}

template <bool IgnoreCase> bool SameBytes(const uint8_t *a, const uint8_t *b, size_t n) {
    if constexpr (!IgnoreCase) return std::memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

void BuildShiftTable(Needle &needle) {
    size_t n = needle.length;
    uint32_t full = n > UINT32_MAX ? UINT32_MAX : uint32_t(n);
    for (uint32_t &s : needle.shift) s = full;
    for (size_t i = 0; i + 1 < n; ++i) {
        uint8_t key = needle.ignoreCase ? Fold(needle.bytes[i]) : needle.bytes[i];
        needle.shift[key] = uint32_t(n - 1 - i);
        if (needle.ignoreCase && key >= 'a' && key <= 'z') needle.shift[key - 0x20] = uint32_t(n - 1 - i);
    }
    needle.shiftReady = true;
}

// Horspool: slide a window, keyed by its last byte.
template <bool IgnoreCase> size_t FindShifting(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t n = needle.length;
    uint8_t last = Key<IgnoreCase>(needle.bytes[n - 1]);
    for (size_t at = from; at + n <= end;) {
        uint8_t b = text[at + n - 1];
        if (Key<IgnoreCase>(b) == last && SameBytes<IgnoreCase>(text + at, needle.bytes, n - 1)) return at;
        at += needle.shift[b];
    }
    return kNotFound;
}

template <bool IgnoreCase> size_t FindStepping(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t n = needle.length;
    uint8_t first = Key<IgnoreCase>(needle.bytes[0]);
    for (size_t at = from; at + n <= end; ++at) {
        if constexpr (!IgnoreCase) {
            const void *hit = std::memchr(text + at, first, end - n + 1 - at);
            if (!hit) return kNotFound;
            at = size_t(static_cast<const uint8_t *>(hit) - text);
        } else if (Fold(text[at]) != first) {
            continue;
        }
        if (SameBytes<IgnoreCase>(text + at, needle.bytes, n)) return at;
    }
    return kNotFound;
}

template <bool IgnoreCase> size_t FindAny(Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (needle.length < 3 || end - from < kShiftTableRange)
        return FindStepping<IgnoreCase>(needle, text, from, end);
    if (!needle.shiftReady) BuildShiftTable(needle);
    return FindShifting<IgnoreCase>(needle, text, from, end);
}

} // namespace

Needle MakeNeedle(const void *bytes, size_t length, bool ignoreCase) {
    Needle needle;
    needle.bytes = static_cast<const uint8_t *>(bytes);
    needle.length = length;
    needle.ignoreCase = ignoreCase;
    needle.shiftReady = false;
    return needle;
}

bool StartsCharacter(const uint8_t *text, size_t known, size_t at) {
    // A byte below 0x80 always ends a character (alone or as a trail byte), so only
    // the run of high bytes just before `at` decides: they pair up from its start.
    size_t runStart = at;
    while (runStart > known && IsLeadByte(text[runStart - 1])) --runStart;
    return ((at - runStart) & 1) == 0;
}

size_t FindAnywhere(Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (from >= end || end - from < needle.length) return kNotFound;
    return needle.ignoreCase ? FindAny<true>(needle, text, from, end) : FindAny<false>(needle, text, from, end);
}

size_t FindNeedle(Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t known = from;
    for (;;) {
        size_t at = FindAnywhere(needle, text, known, end);
        if (at == kNotFound || StartsCharacter(text, known, at)) return at;
        // `at` is a trail byte, so the next byte starts a character.
        known = at + 1;
    }
}

} // namespace cmd
