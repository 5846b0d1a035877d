// Finding a sought text at character starts. A match is tried only where the walk
// over the text's characters (a byte of 0x80 or above takes the next byte with it)
// would stand, counted from where the walk began.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmd {

constexpr size_t kNotFound = size_t(-1);

inline bool IsLeadByte(uint8_t b) { return b >= 0x80; }

// What is sought.
struct Needle {
    const uint8_t *bytes;
    size_t length; // 1 or more
    bool ignoreCase; // ASCII letters only
};

Needle MakeNeedle(const void *bytes, size_t length, bool ignoreCase);

// Whether `at` starts a character, given that `known` (<= at) does.
bool StartsCharacter(const uint8_t *text, size_t known, size_t at);

// Offset of the first match starting a character within text[from, end), where
// `from` starts a character; kNotFound when there is none.
size_t FindNeedle(const Needle &needle, const uint8_t *text, size_t from, size_t end);

// As FindNeedle up to the text's terminating zero byte, where `from` is within the
// text: the text is measured only as far as the search goes.
size_t FindNeedleBeforeZero(const Needle &needle, const uint8_t *text, size_t from);

// Offset of the last match starting a character within text[from, end), where
// `from` starts a character; kNotFound when there is none.
size_t FindLastNeedle(const Needle &needle, const uint8_t *text, size_t from, size_t end);

// Offset of the first match at any byte of text[from, end).
size_t FindAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end);

// Offset of the last match at any byte of text[from, end).
size_t FindLastAnywhere(const Needle &needle, const uint8_t *text, size_t from, size_t end);

} // namespace cmd
