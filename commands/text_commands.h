// The core library's text and byte-set commands. Texts are GBK: a byte of 0x80 or
// above leads a two-byte character. Positions and lengths count bytes, from 1.
#pragma once

#include <cstdint>

#include "command_table.h"
#include "value.h"

namespace cmd {

void TextLength(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void TextLeft(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void TextRight(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void TextMiddle(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void CharFromCode(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void FindText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void FindTextReverse(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToUpperCase(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToLowerCase(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ToFullWidth(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
// Not a command of the library's table: the number commands use it before parsing.
void ToHalfWidth(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void TrimSpaces(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void RemoveAllSpaces(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ReplaceSubtext(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void SplitText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void SpaceText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void RepeatText(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

void ByteSetLength(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void ByteSetLeft(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void FindByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void BlankByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args);
void RepeatByteSet(rt::TypedValue *result, int32_t count, rt::TypedValue *args);

// The one conversion routine behind the four case and width commands.
enum TextConversion : int32_t {
    kToUpperCase = 0,
    kToLowerCase = 1,
    kToFullWidth = 2,
    kToHalfWidth = 3,
};
// A new text block (null when empty). `dropSpaces` (half width only) also drops ASCII
// spaces and those made from full-width ones.
char *ConvertText(const char *text, TextConversion mode, bool dropSpaces = false);

// The type code of SplitText's result: an array of texts.
constexpr uint32_t kTypeTextArray = rt::kTypeText | rt::kIndirectFlag;

// Name table of this family, ending with a null name.
extern const CommandEntry kTextCommands[];

} // namespace cmd
