// ReplaceSubtext: matches at character starts are replaced, the rest is copied in
// runs; the result is built in one buffer and copied once.
#include <algorithm>

#include "byte_buffer.h"
#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

struct Replacement {
    TextView text;
    TextView sought;
    TextView replacement;
    size_t start;
    int32_t limit; // -1 and below: no limit
    bool ignoreCase;
};

Replacement ReadReplacement(int32_t count, rt::TypedValue *args) {
    Replacement r;
    r.text = TextOf(ArgumentAt(count, args, 0));
    r.sought = TextOf(ArgumentAt(count, args, 1));
    r.replacement = TextOf(ArgumentAt(count, args, 2));
    r.start = size_t(std::max(int64_t(IntegerOf(ArgumentAt(count, args, 3), 1)) - 1, int64_t(0)));
    r.limit = IntegerOf(ArgumentAt(count, args, 4), -1);
    rt::TypedValue caseSensitive = ArgumentAt(count, args, 5);
    r.ignoreCase = IsGiven(caseSensitive) && caseSensitive.low == 0;
    return r;
}

// Whether the walk, ending at the text's end, stood on a lead byte without trail
// byte; that byte is dropped.
bool EndsOnDanglingLead(const uint8_t *text, size_t at, size_t length, size_t soughtLength) {
    return soughtLength == 1 && at < length && IsLeadByte(text[length - 1]) &&
           StartsCharacter(text, at, length - 1);
}

char *Replace(Replacement &r) {
    const auto *text = reinterpret_cast<const uint8_t *>(r.text.bytes);
    size_t length = r.text.length;
    Needle needle = MakeNeedle(r.sought.bytes, r.sought.length, r.ignoreCase);
    ByteBuffer out;
    size_t at = r.start;
    AppendBytes(out, text, at);
    bool limitReached = false;
    while (!limitReached) {
        size_t found = FindNeedle(needle, text, at, length);
        if (found == kNotFound) break;
        AppendBytes(out, text + at, found - at);
        AppendBytes(out, r.replacement.bytes, r.replacement.length);
        at = found + r.sought.length;
        limitReached = r.limit > 0 && --r.limit == 0;
    }
    if (!limitReached && EndsOnDanglingLead(text, at, length, r.sought.length)) --length;
    AppendBytes(out, text + at, length - at);
    return TakeBufferAsText(out);
}

} // namespace

void ReplaceSubtext(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Replacement r = ReadReplacement(count, args);
    bool unchanged = r.text.length == 0 || r.sought.length == 0 || r.start >= r.text.length || r.limit == 0;
    SetTextResult(result, unchanged ? rt::MakeText(r.text.bytes, r.text.length) : Replace(r));
}

} // namespace cmd
