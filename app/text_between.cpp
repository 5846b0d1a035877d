#include "text_between.h"

#include <cstring>

#include "windows.h"

#include "image_data.h"
#include "runtime_calls.h"

namespace app {
namespace {

int32_t Length(const char *text) { return int32_t(CallDeclared(image::kDeclaredStringLength, {Word(text)})); }

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
unsigned char Folded(unsigned char c) { return IsAsciiLetter(c) ? (c | 0x20) : c; }

// Compares `sought` at `candidate` character by character: with `ignoreCase` an ASCII
// letter matches its other case, while both bytes of a two-byte character must match
// exactly.
bool MatchesAt(const unsigned char *candidate, const unsigned char *sought, int32_t length, bool ignoreCase) {
    for (int32_t i = 0; i < length; ++i) {
        if (sought[i] > 0x80 && i + 1 < length) {
            if (candidate[i] != sought[i] || candidate[i + 1] != sought[i + 1]) return false;
            ++i;
        } else if (candidate[i] != sought[i] && !(ignoreCase && Folded(candidate[i]) == Folded(sought[i]))) {
            return false;
        }
    }
    return true;
}

// The bytes from 1-based `start`, at most `count` of them, as a block from the process heap.
char *Substring(const char *text, int32_t start, int32_t count) {
    int32_t length = Length(text);
    if (start < 0 || start > length) return nullptr;
    double remaining = double(length) - double(start);
    if (double(count) - remaining > 1e-07) count = int32_t(remaining);
    if (count <= 0) return nullptr;
    auto *heap = reinterpret_cast<HANDLE>(CallDeclared(image::kDeclaredGetProcessHeap, {}));
    auto *copy = reinterpret_cast<char *>(
        CallDeclared(image::kDeclaredHeapAlloc, {Word(heap), Word(0), Word(int32_t(count + 1))}));
    std::memcpy(copy, text + start, size_t(count));
    copy[count] = '\0';
    return copy;
}

} // namespace

int32_t FindTextFrom(const char *text, const char *sought, int32_t start, bool ignoreCase) {
    int32_t textLength = Length(text), soughtLength = Length(sought);
    if (textLength == 0 || soughtLength == 0) return -1;
    int32_t from = start < 1 ? 0 : start - 1;
    const auto *t = reinterpret_cast<const unsigned char *>(text);
    const auto *s = reinterpret_cast<const unsigned char *>(sought);
    int32_t boundary = 0; // the first character start at or after `at`, walked from the text's start
    for (int32_t at = from; at <= textLength - soughtLength; ++at) {
        while (boundary < at) boundary += t[boundary] > 0x80 ? 2 : 1;
        if (boundary == at && MatchesAt(t + at, s, soughtLength, ignoreCase)) return at + 1;
    }
    return -1;
}

char *ExtractBetween(const char *text, const char *startMarker, const char *endMarker, int32_t &position) {
    int32_t found = FindTextFrom(text, startMarker, position, false);
    if (found == -1) {
        position = 0;
        return nullptr;
    }
    int32_t s = found + Length(startMarker);
    int32_t end = FindTextFrom(text, endMarker, s, false);
    if (end == -1) {
        position = 0;
        return nullptr;
    }
    position = end + Length(endMarker);
    return Substring(text, s - 1, end - s);
}

} // namespace app
