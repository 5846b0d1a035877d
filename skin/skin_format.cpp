#include "skin_format.h"

#include <cstring>

namespace skin {
namespace {

void PutU16(std::string &out, uint16_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void PutU32(std::string &out, uint32_t v) {
    PutU16(out, uint16_t(v & 0xFFFF));
    PutU16(out, uint16_t(v >> 16));
}

uint16_t GetU16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t GetU32(const uint8_t *p) { return uint32_t(GetU16(p)) | uint32_t(GetU16(p + 2)) << 16; }

void PutField(std::string &body, Tag tag, const std::string &value) {
    body += char(tag);
    PutU16(body, uint16_t(value.size()));
    body += value;
}

std::string ColourBytes(Colour c) { return {char(c.red), char(c.green), char(c.blue)}; }

struct FieldReader {
    Skin skin;
    unsigned seen = 0; // bit per tag

    bool Take(uint8_t tag, const uint8_t *v, uint16_t n) {
        if (tag >= 32) return true; // unknown: skipped
        seen |= 1u << tag;
        switch (tag) {
        case kTagName: skin.name.assign(reinterpret_cast<const char *>(v), n); return true;
        case kTagFontFamily: skin.fontFamily.assign(reinterpret_cast<const char *>(v), n); return true;
        case kTagFrameWidth: return Byte(v, n, skin.frameWidth);
        case kTagRadius: return Byte(v, n, skin.radius);
        case kTagFontSize: return Byte(v, n, skin.fontSize) && skin.fontSize > 0;
        default: break;
        }
        if (Colour *c = ColourOf(tag)) return n == 3 && (*c = Colour{v[0], v[1], v[2]}, true);
        return true;
    }

    static bool Byte(const uint8_t *v, uint16_t n, uint8_t &out) { return n == 1 && (out = v[0], true); }

    Colour *ColourOf(uint8_t tag) {
        switch (tag) {
        case kTagWindow: return &skin.window;
        case kTagText: return &skin.text;
        case kTagBase: return &skin.base;
        case kTagButton: return &skin.button;
        case kTagButtonText: return &skin.buttonText;
        case kTagHighlight: return &skin.highlight;
        case kTagHighlightText: return &skin.highlightText;
        case kTagFrame: return &skin.frame;
        default: return nullptr;
        }
    }

    bool Complete() const {
        unsigned required = 1u << kTagName | 1u << kTagWindow | 1u << kTagText;
        return (seen & required) == required;
    }
};

bool ReadFields(const uint8_t *body, size_t size, uint16_t count, FieldReader &reader) {
    size_t at = 0;
    for (uint16_t i = 0; i < count; ++i) {
        if (size - at < 3) return false;
        uint8_t tag = body[at];
        uint16_t n = GetU16(body + at + 1);
        at += 3;
        if (size - at < n || !reader.Take(tag, body + at, n)) return false;
        at += n;
    }
    return at == size;
}

} // namespace

uint32_t Crc32(const uint8_t *data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string WriteSkinBlock(const Skin &s) {
    std::string body;
    PutField(body, kTagName, s.name);
    PutField(body, kTagWindow, ColourBytes(s.window));
    PutField(body, kTagText, ColourBytes(s.text));
    PutField(body, kTagBase, ColourBytes(s.base));
    PutField(body, kTagButton, ColourBytes(s.button));
    PutField(body, kTagButtonText, ColourBytes(s.buttonText));
    PutField(body, kTagHighlight, ColourBytes(s.highlight));
    PutField(body, kTagHighlightText, ColourBytes(s.highlightText));
    PutField(body, kTagFrame, ColourBytes(s.frame));
    PutField(body, kTagFrameWidth, std::string(1, char(s.frameWidth)));
    PutField(body, kTagRadius, std::string(1, char(s.radius)));
    PutField(body, kTagFontFamily, s.fontFamily);
    PutField(body, kTagFontSize, std::string(1, char(s.fontSize)));
    std::string block(kMagic, 4);
    PutU16(block, kVersion);
    PutU16(block, 13);
    PutU32(block, uint32_t(body.size()));
    PutU32(block, Crc32(reinterpret_cast<const uint8_t *>(body.data()), body.size()));
    return block + body;
}

std::optional<Skin> ReadSkinBlock(const uint8_t *data, size_t size) {
    if (!data || size < kHeaderSize || std::memcmp(data, kMagic, 4) != 0) return std::nullopt;
    if (GetU16(data + 4) != kVersion) return std::nullopt;
    uint32_t bodySize = GetU32(data + 8);
    if (bodySize != size - kHeaderSize) return std::nullopt;
    const uint8_t *body = data + kHeaderSize;
    if (Crc32(body, bodySize) != GetU32(data + 12)) return std::nullopt;
    FieldReader reader;
    if (!ReadFields(body, bodySize, GetU16(data + 6), reader) || !reader.Complete()) return std::nullopt;
    return reader.skin;
}

std::string ColourText(Colour c) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "#";
    for (uint8_t v : {c.red, c.green, c.blue}) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

std::optional<Colour> ParseColour(const std::string &text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    uint8_t v[3];
    for (int i = 0; i < 3; ++i) {
        unsigned x = 0;
        for (char ch : text.substr(size_t(1 + 2 * i), 2)) {
            int d = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
            if (d < 0) return std::nullopt;
            x = x * 16 + unsigned(d);
        }
        v[i] = uint8_t(x);
    }
    return Colour{v[0], v[1], v[2]};
}

} // namespace skin
