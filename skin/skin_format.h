// The skin block: our own small, versioned description of a look.
//
//   0  ".SHE"
//   4  u16 version (1)
//   6  u16 field count
//   8  u32 body length
//  12  u32 CRC-32 of the body
//  16  body: fields of (u8 tag, u16 length, bytes); all numbers little-endian
//
// Unknown tags are skipped, so a later version may add fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace skin {

constexpr char kMagic[4] = {'.', 'S', 'H', 'E'};
constexpr uint16_t kVersion = 1;
constexpr size_t kHeaderSize = 16;

struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour &) const = default;
};

enum Tag : uint8_t {
    kTagName = 1,
    kTagWindow = 2,
    kTagText = 3,
    kTagBase = 4,
    kTagButton = 5,
    kTagButtonText = 6,
    kTagHighlight = 7,
    kTagHighlightText = 8,
    kTagFrame = 9,
    kTagFrameWidth = 10,
    kTagRadius = 11,
    kTagFontFamily = 12,
    kTagFontSize = 13,
};

struct Skin {
    std::string name;       // UTF-8
    Colour window, text;    // window background and text
    Colour base;            // edit boxes
    Colour button, buttonText;
    Colour highlight, highlightText;
    Colour frame;           // borders of boxes and buttons
    uint8_t frameWidth = 1; // pixels
    uint8_t radius = 0;     // corner radius, pixels
    std::string fontFamily; // UTF-8, empty = the system's
    uint8_t fontSize = 9;   // points
    bool operator==(const Skin &) const = default;
};

uint32_t Crc32(const uint8_t *data, size_t size);

std::string WriteSkinBlock(const Skin &skin);
// A well-formed block of a known version with at least name, window and text colours;
// anything else gives nothing.
std::optional<Skin> ReadSkinBlock(const uint8_t *data, size_t size);

// "#rrggbb"
std::string ColourText(Colour c);
std::optional<Colour> ParseColour(const std::string &text);

} // namespace skin
