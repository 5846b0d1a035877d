// The pair scan: many window positions at once are tested for two of the needle's
// bytes, and only the candidates are compared in full, so texts full of the needle's
// first byte cost no more than others. Included by the scan modules, each compiled
// for its own instruction set; everything here has internal linkage so that no
// copy built for a wider set is shared with one built for a narrower set.
#pragma once

#include <cstring>

#include "text_search.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace cmd {
namespace {

inline uint8_t Fold(uint8_t b) { return (b >= 'A' && b <= 'Z') ? uint8_t(b | 0x20) : b; }

template <bool IgnoreCase> inline uint8_t Key(uint8_t b) {
    if constexpr (IgnoreCase) return Fold(b);
    return b;
}

template <bool IgnoreCase> inline bool SameBytes(const uint8_t *a, const uint8_t *b, size_t n) {
    if constexpr (!IgnoreCase) return std::memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

// The second byte of the pair: the last one, unless it equals the first (as in runs
// of one letter); then the last that differs, so that such runs give few candidates.
template <bool IgnoreCase> size_t PairOffset(const Needle &needle) {
    uint8_t first = Key<IgnoreCase>(needle.bytes[0]);
    for (size_t i = needle.length; i-- > 1;)
        if (Key<IgnoreCase>(needle.bytes[i]) != first) return i;
    return needle.length - 1;
}

#if defined(__AVX2__)
// 32 positions a step.
struct Lanes {
    static constexpr size_t kWidth = 32;
    __m256i first, second;
    Lanes(uint8_t a, uint8_t b) : first(_mm256_set1_epi8(char(a))), second(_mm256_set1_epi8(char(b))) {}

    template <bool IgnoreCase> static __m256i Keys(__m256i v) {
        if constexpr (!IgnoreCase) return v;
        // Bytes of 0x80 and above compare as negative, so they are never letters.
        __m256i upper = _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8('A' - 1)),
                                         _mm256_cmpgt_epi8(_mm256_set1_epi8('Z' + 1), v));
        return _mm256_or_si256(v, _mm256_and_si256(upper, _mm256_set1_epi8(0x20)));
    }
    static __m256i Load(const uint8_t *p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)); }

    // Bit i set when position i has the pair.
    template <bool IgnoreCase> uint32_t Candidates(const uint8_t *p, size_t pair) const {
        __m256i a = _mm256_cmpeq_epi8(Keys<IgnoreCase>(Load(p)), first);
        __m256i b = _mm256_cmpeq_epi8(Keys<IgnoreCase>(Load(p + pair)), second);
        return uint32_t(_mm256_movemask_epi8(_mm256_and_si256(a, b)));
    }
};
#elif defined(__SSE2__)
// 16 positions a step.
struct Lanes {
    static constexpr size_t kWidth = 16;
    __m128i first, second;
    Lanes(uint8_t a, uint8_t b) : first(_mm_set1_epi8(char(a))), second(_mm_set1_epi8(char(b))) {}

    template <bool IgnoreCase> static __m128i Keys(__m128i v) {
        if constexpr (!IgnoreCase) return v;
        __m128i upper =
            _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
        return _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
    }
    static __m128i Load(const uint8_t *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); }

    template <bool IgnoreCase> uint32_t Candidates(const uint8_t *p, size_t pair) const {
        __m128i a = _mm_cmpeq_epi8(Keys<IgnoreCase>(Load(p)), first);
        __m128i b = _mm_cmpeq_epi8(Keys<IgnoreCase>(Load(p + pair)), second);
        return uint32_t(_mm_movemask_epi8(_mm_and_si128(a, b)));
    }
};
#endif

#if defined(__SSE2__)
constexpr bool kHasLanes = true;
constexpr size_t kReadAhead = 16384; // the length of a piece the forward search measures ahead

// The first match among window positions from `from` on whose windows end by `end`,
// a whole step at a time; `*stop` is where a step no longer fits.
template <bool IgnoreCase>
size_t ScanForward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop) {
    size_t n = needle.length, pair = PairOffset<IgnoreCase>(needle);
    Lanes lanes(Key<IgnoreCase>(needle.bytes[0]), Key<IgnoreCase>(needle.bytes[pair]));
    size_t at = from;
    for (; at + n - 1 + Lanes::kWidth <= end; at += Lanes::kWidth) {
        // Two steps per test while nothing is found: fewer branches, more loads in flight.
        // Reading ahead keeps memory busy while the text's measuring (one piece ahead)
        // waits for the next piece. Reading ahead never faults.
        __builtin_prefetch(text + at + kReadAhead);
        if (at + n - 1 + 2 * Lanes::kWidth <= end && !(lanes.Candidates<IgnoreCase>(text + at, pair) |
                                                       lanes.Candidates<IgnoreCase>(text + at + Lanes::kWidth, pair))) {
            at += Lanes::kWidth;
            continue;
        }
        for (uint32_t mask = lanes.Candidates<IgnoreCase>(text + at, pair); mask; mask &= mask - 1) {
            size_t candidate = at + size_t(__builtin_ctz(mask));
            if (SameBytes<IgnoreCase>(text + candidate + 1, needle.bytes + 1, n - 1)) return candidate;
        }
    }
    *stop = at;
    return kNotFound;
}

// The last match in text[from, end), a whole step at a time from the end; `*stop` is
// the end of the part left to search.
template <bool IgnoreCase>
size_t ScanBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop) {
    size_t n = needle.length, pair = PairOffset<IgnoreCase>(needle);
    Lanes lanes(Key<IgnoreCase>(needle.bytes[0]), Key<IgnoreCase>(needle.bytes[pair]));
    size_t top = end - n + 1; // one past the last window position
    for (; top >= from + Lanes::kWidth; top -= Lanes::kWidth) {
        const uint8_t *block = text + top - Lanes::kWidth;
        for (uint32_t mask = lanes.Candidates<IgnoreCase>(block, pair); mask;) {
            unsigned bit = 31u - unsigned(__builtin_clz(mask));
            if (SameBytes<IgnoreCase>(block + bit + 1, needle.bytes + 1, n - 1)) return top - Lanes::kWidth + bit;
            mask &= ~(1u << bit);
        }
    }
    *stop = top + n - 1;
    return kNotFound;
}
#else
constexpr bool kHasLanes = false;

template <bool IgnoreCase> size_t ScanForward(const Needle &, const uint8_t *, size_t, size_t, size_t *) {
    return kNotFound;
}
template <bool IgnoreCase> size_t ScanBackward(const Needle &, const uint8_t *, size_t, size_t, size_t *) {
    return kNotFound;
}
#endif

} // namespace
} // namespace cmd
