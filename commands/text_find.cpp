// FindText and FindTextReverse: the first or the last match at a character start of
// the searched range.
#include <algorithm>

#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

struct SearchRange {
    size_t from;
    size_t end;
};

// The bytes searched: forward from offset b, reverse the first min(L, b) bytes.
SearchRange RangeOf(const rt::TypedValue &start, size_t length, bool forward) {
    int64_t b = forward ? 0 : int64_t(length);
    if (IsGiven(start)) b = std::max<int64_t>(int64_t(IntegerOf(start, 0)) - 1, 0);
    if (forward) return {std::min(size_t(b), length), length};
    return {0, std::min(size_t(b), length)};
}

int32_t SearchText(int32_t count, rt::TypedValue *args, bool forward) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    TextView sought = TextOf(ArgumentAt(count, args, 1));
    SearchRange range = RangeOf(ArgumentAt(count, args, 2), text.length, forward);
    rt::TypedValue ignoreCase = ArgumentAt(count, args, 3);
    if (range.from >= range.end) return -1;
    if (sought.length == 0) return 1;
    Needle needle = MakeNeedle(sought.bytes, sought.length, IsGiven(ignoreCase) && ignoreCase.low == 1);
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.bytes);
    size_t found = forward ? FindNeedle(needle, bytes, range.from, range.end)
                           : FindLastNeedle(needle, bytes, range.from, range.end);
    return found == kNotFound ? -1 : int32_t(found + 1);
}

} // namespace

void FindText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, SearchText(count, args, true));
}

void FindTextReverse(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, SearchText(count, args, false));
}

} // namespace cmd
