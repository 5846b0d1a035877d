// Font properties (value type 1013): parts by element index over a 60-byte LOGFONT.
#pragma once

#include <cstdint>

#include "windows.h"

namespace units {

enum FontPart : int32_t {
    kFontWhole = -1,
    kFontAngle = 0,
    kFontBold = 1,
    kFontItalic = 2,
    kFontStrikeout = 3,
    kFontUnderline = 4,
    kFontSize = 5,
    kFontFace = 6,
};

// The whole font as the application holds it (pointer-sized face name last).
struct FontRecord {
    int32_t angle;
    int32_t bold;
    int32_t italic;
    int32_t strikeout;
    int32_t underline;
    int32_t size;
    const char *face;
};

// The font a unit's data give: its LOGFONT when they are 60 bytes, else the system's
// default GUI font.
LOGFONTA FontOf(const void *data, size_t size);
int PixelsPerInch();
// The value of a part read from `font` (texts and records are new blocks).
uint64_t ReadFontPart(const LOGFONTA &font, int32_t part);
// Changes `font` by writing one part; false when nothing is to be written.
bool WriteFontPart(LOGFONTA &font, int32_t part, uint32_t low, uint32_t high);

} // namespace units
