// SplitText: cuts a text at every delimiter that starts a character. The element
// pointers are gathered in a buffer behind room for the array header, so the buffer
// becomes the array block without another copy.
#include <algorithm>

#include "byte_buffer.h"
#include "memory.h"
#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

void AppendElement(ByteBuffer &elements, const char *bytes, size_t length) {
    AppendPointer(elements, rt::MakeText(bytes, length));
}

constexpr size_t kArrayHeaderSize = 8; // dimension count 1, element count

void *ArrayOfElements(ByteBuffer &elements) {
    uint32_t header[2] = {1, uint32_t((elements.size - kArrayHeaderSize) / sizeof(void *))};
    std::memcpy(elements.data, header, sizeof header);
    void *array = rt::ReallocateMemory(elements.data, elements.size);
    elements = {};
    return array;
}

// Cuts at each delimiter; `parts` (-1 = no limit) bounds the element count.
void Split(ByteBuffer &elements, TextView text, TextView delimiter, int32_t parts) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.bytes);
    Needle needle = MakeNeedle(delimiter.bytes, delimiter.length, false);
    size_t cut = 0;
    for (;;) {
        size_t found = FindNeedle(needle, bytes, cut, text.length);
        if (found == kNotFound) break;
        AppendElement(elements, text.bytes + cut, found - cut);
        cut = found + delimiter.length;
        if (parts > 0 && --parts == 0) return;
    }
    if (cut < text.length) AppendElement(elements, text.bytes + cut, text.length - cut);
}

} // namespace

void SplitText(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    TextView text = TextOf(ArgumentAt(count, args, 0));
    rt::TypedValue delimiterArg = ArgumentAt(count, args, 1);
    TextView delimiter = IsGiven(delimiterArg) ? TextOf(delimiterArg) : TextView{",", 1};
    rt::TypedValue partsArg = ArgumentAt(count, args, 2);
    int32_t parts = IsGiven(partsArg) ? std::max(IntegerOf(partsArg, 0), 0) : -1;
    ByteBuffer elements;
    ReserveBytes(elements, kArrayHeaderSize);
    if (text.length && parts != 0) {
        if (delimiter.length == 0) AppendElement(elements, text.bytes, text.length);
        else Split(elements, text, delimiter, parts);
    }
    result->type = kTypeTextArray;
    result->SetPointer(ArrayOfElements(elements));
}

} // namespace cmd
