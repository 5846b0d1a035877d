// Finding a sought text at any byte: the widest pair scan this processor runs, and
// single steps over what is left at the edges.
#include <cstring>

#include "text_pair_scan.h"
#include "text_search.h"
#include "text_wide_scan.h"

namespace cmd {
namespace {

const bool kWide = CanScanWide();

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
    uint8_t first = Key<IgnoreCase>(needle.bytes[0]);
    for (size_t at = end - n + 1; at-- > from;)
        if (Key<IgnoreCase>(text[at]) == first && SameBytes<IgnoreCase>(text + at, needle.bytes, n)) return at;
    return kNotFound;
}

template <bool IgnoreCase> size_t FindAny(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    // One exact byte: the C library's byte search is as wide as a pair scan.
    if (IgnoreCase || needle.length > 1) {
        size_t found = kWide ? ScanWideForward(needle, text, from, end, &from)
                             : ScanForward<IgnoreCase>(needle, text, from, end, &from);
        if (found != kNotFound) return found;
    }
    return FindStepping<IgnoreCase>(needle, text, from, end);
}

template <bool IgnoreCase> size_t FindAnyBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    size_t found = kWide ? ScanWideBackward(needle, text, from, end, &end)
                         : ScanBackward<IgnoreCase>(needle, text, from, end, &end);
    if (found != kNotFound) return found;
    return FindSteppingBackward<IgnoreCase>(needle, text, from, end);
}

} // namespace

size_t FindAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (from >= end || end - from < needle.length) return kNotFound;
    return needle.ignoreCase ? FindAny<true>(needle, text, from, end) : FindAny<false>(needle, text, from, end);
}

size_t FindLastAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end) {
    if (from >= end || end - from < needle.length) return kNotFound;
    return needle.ignoreCase ? FindAnyBackward<true>(needle, text, from, end)
                             : FindAnyBackward<false>(needle, text, from, end);
}

} // namespace cmd
