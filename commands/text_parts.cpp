// Length, parts and repeated texts. Parts count plain bytes and may cut a two-byte
// character in half.
#include <algorithm>

#include "byte_buffer.h"
#include "memory.h"
#include "text_arguments.h"
#include "text_commands.h"

namespace cmd {

void TextLength(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, int32_t(TextOf(ArgumentAt(count, args, 0)).length));
}

void TextLeft(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    int32_t n = IntegerOf(ArgumentAt(count, args, 1), 0);
    size_t take = n <= 0 ? 0 : std::min(size_t(n), text.length);
    SetTextResult(result, rt::MakeText(text.bytes, take));
}

void TextRight(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    int32_t n = IntegerOf(ArgumentAt(count, args, 1), 0);
    size_t take = n <= 0 ? 0 : std::min(size_t(n), text.length);
    SetTextResult(result, rt::MakeText(text.bytes + text.length - take, take));
}

void TextMiddle(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    int64_t start = int64_t(IntegerOf(ArgumentAt(count, args, 1), 0)) - 1;
    int32_t n = IntegerOf(ArgumentAt(count, args, 2), 0);
    if (start < 0 || uint64_t(start) >= text.length || n <= 0) return SetTextResult(result, nullptr);
    size_t take = std::min(size_t(n), text.length - size_t(start));
    SetTextResult(result, rt::MakeText(text.bytes + start, take));
}

void CharFromCode(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    char code = char(ArgumentAt(count, args, 0).low & 0xFF);
    SetTextResult(result, rt::MakeText(&code, code ? 1 : 0));
}

void SpaceText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t n = IntegerOf(ArgumentAt(count, args, 0), 0);
    if (n < 1) return SetTextResult(result, nullptr);
    auto *text = static_cast<char *>(rt::AllocateMemory(size_t(n) + 1));
    std::memset(text, ' ', size_t(n));
    text[n] = '\0';
    SetTextResult(result, text);
}

void RepeatText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    int32_t times = std::max(IntegerOf(ArgumentAt(count, args, 0), 0), 0);
    TextView text = TextOf(ArgumentAt(count, args, 1));
    if (times == 0 || text.length == 0) return SetTextResult(result, nullptr);
    // Sized without wrapping, so a huge count ends in the allocation failure report.
    uint64_t length = SaturatedSize(text.length, uint64_t(times), 0);
    if (length > kLargestValue) ReportAllocationFailure(SaturatedSize(length, 1, 1));
    auto *out = static_cast<char *>(rt::AllocateMemory(size_t(length) + 1));
    FillRepeated(reinterpret_cast<uint8_t *>(out), text.bytes, text.length, size_t(times));
    out[length] = '\0';
    SetTextResult(result, out);
}

} // namespace cmd
