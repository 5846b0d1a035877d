#include "font_properties.h"

#include <cstdlib>
#include <cstring>

#include "gbk.h"
#include "memory.h"
#include "value.h"

namespace units {
namespace {

constexpr int kDefaultPixelsPerInch = 96;

void SetFace(LOGFONTA &font, const char *face) {
    size_t n = face ? std::strlen(face) : 0;
    if (n < 1 || n > 31) face = rt::GbkLiteral("宋体"), n = std::strlen(face);
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, face, n);
}

LONG HeightOfPoints(int32_t points) {
    int ppi = PixelsPerInch();
    return -LONG((int64_t(std::abs(points)) * ppi + 36) / 72);
}

int32_t PointsOfHeight(LONG height) {
    int ppi = PixelsPerInch();
    return int32_t((int64_t(std::labs(height)) * 72 + ppi / 2) / ppi);
}

uint64_t NewFontRecord(const LOGFONTA &font) {
    auto *record = static_cast<FontRecord *>(rt::AllocateMemory(sizeof(FontRecord)));
    record->angle = font.lfEscapement;
    record->bold = font.lfWeight >= FW_BOLD;
    record->italic = font.lfItalic != 0;
    record->strikeout = font.lfStrikeOut != 0;
    record->underline = font.lfUnderline != 0;
    record->size = PointsOfHeight(font.lfHeight);
    record->face = rt::MakeText(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    return uint64_t(uintptr_t(record));
}

LOGFONTA FreshFont(const FontRecord &r) {
    LOGFONTA font{};
    WriteFontPart(font, kFontAngle, uint32_t(r.angle), 0);
    font.lfWeight = r.bold ? FW_BOLD : 0;
    font.lfItalic = r.italic != 0;
    font.lfStrikeOut = r.strikeout != 0;
    font.lfUnderline = r.underline != 0;
    font.lfHeight = HeightOfPoints(r.size < 0 ? 0 : r.size);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    SetFace(font, r.face);
    return font;
}

} // namespace

int PixelsPerInch() {
    HDC dc = GetDC(nullptr);
    int ppi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : kDefaultPixelsPerInch;
}

LOGFONTA FontOf(const void *data, size_t size) {
    LOGFONTA font{};
    if (data && size == sizeof(LOGFONTA)) std::memcpy(&font, data, sizeof font);
    else GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

uint64_t ReadFontPart(const LOGFONTA &font, int32_t part) {
    switch (part) {
    case kFontAngle: return uint32_t(font.lfEscapement);
    case kFontBold: return font.lfWeight >= FW_BOLD;
    case kFontItalic: return font.lfItalic != 0;
    case kFontStrikeout: return font.lfStrikeOut != 0;
    case kFontUnderline: return font.lfUnderline != 0;
    case kFontSize: return uint32_t(PointsOfHeight(font.lfHeight));
    case kFontFace: return uint64_t(uintptr_t(rt::MakeText(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE))));
    case kFontWhole: return NewFontRecord(font);
    default: return 0;
    }
}

bool WriteFontPart(LOGFONTA &font, int32_t part, uint32_t low, uint32_t high) {
    int32_t v = int32_t(low);
    switch (part) {
    case kFontAngle: {
        int32_t angle = v % 3600;
        if (angle < 0) angle += 3600;
        font.lfEscapement = font.lfOrientation = angle;
        return true;
    }
    case kFontBold: font.lfWeight = v ? FW_BOLD : 0; return true;
    case kFontItalic: font.lfItalic = v != 0; return true;
    case kFontStrikeout: font.lfStrikeOut = v != 0; return true;
    case kFontUnderline: font.lfUnderline = v != 0; return true;
    case kFontSize: font.lfHeight = HeightOfPoints(v); return true;
    case kFontFace: SetFace(font, reinterpret_cast<const char *>(uintptr_t((uint64_t(high) << 32) | low))); return true;
    case kFontWhole: {
        auto *record = reinterpret_cast<const FontRecord *>(uintptr_t((uint64_t(high) << 32) | low));
        if (!record) return false;
        font = FreshFont(*record);
        return true;
    }
    default: return false;
    }
}

} // namespace units
