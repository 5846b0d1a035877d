// Case and width conversion: one routine, four modes. Two-byte characters are whole
// units; what a lead byte just before the end becomes depends on the mode.
#include "byte_buffer.h"
#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

// Modes 0 and 1 change single bytes in a copy; a dangling lead byte stays.
char *ChangeCase(const char *text, bool upper) {
    char *out = rt::CopyText(text);
    if (!out) return nullptr;
    uint8_t from = upper ? 'a' : 'A';
    for (auto *p = reinterpret_cast<uint8_t *>(out); *p; ++p) {
        if (IsLeadByte(*p)) {
            if (!p[1]) break;
            ++p;
        } else if (uint8_t(*p - from) < 26) {
            *p ^= 0x20;
        }
    }
    return out;
}

void AppendFullWidth(ByteBuffer &out, uint8_t b) {
    if (b == 0x20) return AppendTwoBytes(out, 0xA1, 0xA1);
    if (b >= 0x21 && b <= 0x7D) return AppendTwoBytes(out, 0xA3, uint8_t(b | 0x80));
    if (b == 0x7E) return AppendTwoBytes(out, 0xA1, 0xAB);
    AppendByte(out, b);
}

// The single byte a full-width character stands for, or 0 when it has none.
uint8_t HalfWidthOf(uint8_t lead, uint8_t trail) {
    if (lead == 0xA1) {
        if (trail == 0xA1) return 0x20;
        if (trail == 0xAB) return 0x7E;
        if (trail == 0xEE || trail == 0xEF) return 0x2A;
    }
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return uint8_t(trail & 0x7F);
    return 0;
}

void AppendHalfWidth(ByteBuffer &out, uint8_t lead, uint8_t trail, bool dropSpaces) {
    uint8_t half = HalfWidthOf(lead, trail);
    if (!half) return AppendTwoBytes(out, lead, trail);
    if (!(dropSpaces && half == 0x20)) AppendByte(out, half);
}

// Modes 2 and 3 change lengths, so they build into a buffer; a dangling lead is dropped.
char *ChangeWidth(const char *text, bool full, bool dropSpaces) {
    ByteBuffer out;
    for (auto *p = reinterpret_cast<const uint8_t *>(text); *p; ++p) {
        if (IsLeadByte(*p)) {
            if (!p[1]) break;
            if (full) AppendTwoBytes(out, p[0], p[1]);
            else AppendHalfWidth(out, p[0], p[1], dropSpaces);
            ++p;
        } else if (full) {
            AppendFullWidth(out, *p);
        } else if (!(dropSpaces && *p == 0x20)) {
            AppendByte(out, *p);
        }
    }
    return TakeBufferAsText(out);
}

void Convert(rt::TypedValue *result, int32_t count, rt::TypedValue *args, TextConversion mode) {
    SetTextResult(result, ConvertText(TextOf(ArgumentAt(count, args, 0)).bytes, mode));
}

} // namespace

char *ConvertText(const char *text, TextConversion mode, bool dropSpaces) {
    if (!text) return nullptr;
    switch (mode) {
    case kToUpperCase: return ChangeCase(text, true);
    case kToLowerCase: return ChangeCase(text, false);
    case kToFullWidth: return ChangeWidth(text, true, false);
    case kToHalfWidth: return ChangeWidth(text, false, dropSpaces);
    }
    return nullptr;
}

void ToUpperCase(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Convert(result, count, args, kToUpperCase);
}
void ToLowerCase(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Convert(result, count, args, kToLowerCase);
}
void ToFullWidth(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Convert(result, count, args, kToFullWidth);
}
void ToHalfWidth(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Convert(result, count, args, kToHalfWidth);
}

} // namespace cmd
