// FindText and FindTextReverse: the first or the last match at a character start of
// the searched range.
#include <algorithm>
#include <cstring>

#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

struct SearchRange {
    size_t from;
    size_t end;
};

// The first min(L, b) bytes, or all of them without a start.
SearchRange ReverseRange(const rt::TypedValue &start, size_t length) {
    int64_t b = int64_t(length);
    if (IsGiven(start)) b = std::max<int64_t>(int64_t(IntegerOf(start, 0)) - 1, 0);
    return {0, std::min(size_t(b), length)};
}

Needle NeedleOf(TextView sought, const rt::TypedValue &ignoreCase) {
    return MakeNeedle(sought.bytes, sought.length, IsGiven(ignoreCase) && ignoreCase.low == 1);
}

int32_t Position(size_t found) { return found == kNotFound ? -1 : int32_t(found + 1); }

// Forward from offset b. The text is measured only as far as the search goes, so a
// long text is read once, not once to measure and once to search.
int32_t SearchForward(int32_t count, rt::TypedValue *args) {
    const auto *text = reinterpret_cast<const uint8_t *>(TextBytesOf(ArgumentAt(count, args, 0)));
    TextView sought = TextOf(ArgumentAt(count, args, 1));
    rt::TypedValue start = ArgumentAt(count, args, 2);
    size_t from = IsGiven(start) ? size_t(std::max<int32_t>(IntegerOf(start, 0), 1) - 1) : 0;
    if (strnlen(reinterpret_cast<const char *>(text), from + 1) <= from) return -1; // b at or past the end
    if (sought.length == 0) return 1;
    return Position(FindNeedleBeforeZero(NeedleOf(sought, ArgumentAt(count, args, 3)), text, from));
}

int32_t SearchReverse(int32_t count, rt::TypedValue *args) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    TextView sought = TextOf(ArgumentAt(count, args, 1));
    SearchRange range = ReverseRange(ArgumentAt(count, args, 2), text.length);
    if (range.from >= range.end) return -1;
    if (sought.length == 0) return 1;
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.bytes);
    return Position(FindLastNeedle(NeedleOf(sought, ArgumentAt(count, args, 3)), bytes, range.from, range.end));
}

} // namespace

void FindText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, SearchForward(count, args));
}

void FindTextReverse(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    SetIntegerResult(result, SearchReverse(count, args));
}

} // namespace cmd
