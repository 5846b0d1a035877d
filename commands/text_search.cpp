#include "text_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cmd {
namespace {

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

// One window position after another; the exact search skips to the first byte.
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

template <bool IgnoreCase>
size_t FindSteppingBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t n = needle.length;
    for (size_t at = end - n + 1; at-- > from;)
        if (Key<IgnoreCase>(text[at]) == Key<IgnoreCase>(needle.bytes[0]) && SameBytes<IgnoreCase>(text + at, needle.bytes, n))
            return at;
    return kNotFound;
}

#if defined(__SSE2__)
template <bool IgnoreCase> inline __m128i Keys(__m128i v) {
    if constexpr (!IgnoreCase) return v;
    // Bytes of 0x80 and above compare as negative, so they are never letters.
    __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}

// Bit i set when window position at + i has the needle's first and last bytes.
template <bool IgnoreCase>
inline unsigned CandidateMask(const uint8_t *text, size_t at, size_t n, __m128i first, __m128i last) {
    __m128i heads = Keys<IgnoreCase>(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at)));
    __m128i tails = Keys<IgnoreCase>(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + n - 1)));
    return unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, first), _mm_cmpeq_epi8(tails, last))));
}

// Sixteen window positions at a time: only those whose first and last bytes both
// match are compared in full.
template <bool IgnoreCase> size_t FindWide(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t n = needle.length; // 2 or more
    __m128i first = _mm_set1_epi8(char(Key<IgnoreCase>(needle.bytes[0])));
    __m128i last = _mm_set1_epi8(char(Key<IgnoreCase>(needle.bytes[n - 1])));
    size_t at = from;
    for (; at + n + 15 <= end; at += 16) {
        for (unsigned mask = CandidateMask<IgnoreCase>(text, at, n, first, last); mask; mask &= mask - 1) {
            size_t candidate = at + size_t(__builtin_ctz(mask));
            if (SameBytes<IgnoreCase>(text + candidate + 1, needle.bytes + 1, n - 2)) return candidate;
        }
    }
    return FindStepping<IgnoreCase>(needle, text, at, end);
}

template <bool IgnoreCase> size_t FindWideBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t n = needle.length; // 2 or more
    __m128i first = _mm_set1_epi8(char(Key<IgnoreCase>(needle.bytes[0])));
    __m128i last = _mm_set1_epi8(char(Key<IgnoreCase>(needle.bytes[n - 1])));
    size_t top = end - n + 1; // one past the last window position
    for (; top >= from + 16; top -= 16) {
        for (unsigned mask = CandidateMask<IgnoreCase>(text, top - 16, n, first, last); mask;) {
            unsigned bit = 31u - unsigned(__builtin_clz(mask));
            size_t candidate = top - 16 + bit;
            if (SameBytes<IgnoreCase>(text + candidate + 1, needle.bytes + 1, n - 2)) return candidate;
            mask &= ~(1u << bit);
        }
    }
    return FindSteppingBackward<IgnoreCase>(needle, text, from, top + n - 1);
}
#endif

template <bool IgnoreCase> size_t FindAny(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
#if defined(__SSE2__)
    if (needle.length >= 2) return FindWide<IgnoreCase>(needle, text, from, end);
#endif
    return FindStepping<IgnoreCase>(needle, text, from, end);
}

template <bool IgnoreCase> size_t FindAnyBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
#if defined(__SSE2__)
    if (needle.length >= 2) return FindWideBackward<IgnoreCase>(needle, text, from, end);
#endif
    return FindSteppingBackward<IgnoreCase>(needle, text, from, end);
}

// The last match at any byte of text[from, end).
size_t FindLastAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (from >= end || end - from < needle.length) return kNotFound;
    return needle.ignoreCase ? FindAnyBackward<true>(needle, text, from, end)
                             : FindAnyBackward<false>(needle, text, from, end);
}

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

size_t FindAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (from >= end || end - from < needle.length) return kNotFound;
    return needle.ignoreCase ? FindAny<true>(needle, text, from, end) : FindAny<false>(needle, text, from, end);
}

size_t FindNeedle(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t known = from;
    for (;;) {
        size_t at = FindAnywhere(needle, text, known, end);
        if (at == kNotFound || StartsCharacter(text, known, at)) return at;
        // `at` is a trail byte, so the next byte starts a character.
        known = at + 1;
    }
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
