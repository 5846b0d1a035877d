// Trimming and removing spaces: the ASCII space and the full-width space A1 A1.
#include "byte_buffer.h"
#include "text_arguments.h"
#include "text_commands.h"
#include "text_search.h"

namespace cmd {
namespace {

// The byte count of the space character at p, or 0 when p holds none.
size_t SpaceAt(const uint8_t *p) {
    if (p[0] == 0x20) return 1;
    return (p[0] == 0xA1 && p[1] == 0xA1) ? 2 : 0;
}

// Where the kept part ends: before a trailing run of spaces, and before a lead byte
// that has no trail byte (a run just before that one is kept).
const uint8_t *KeptEnd(const uint8_t *p) {
    const uint8_t *runStart = nullptr;
    while (*p) {
        if (IsLeadByte(*p) && !p[1]) return p;
        size_t space = SpaceAt(p);
        if (space && !runStart) runStart = p;
        if (!space) runStart = nullptr;
        p += space ? space : (IsLeadByte(*p) ? 2 : 1);
    }
    return runStart ? runStart : p;
}

} // namespace

void TrimSpaces(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    auto *p = reinterpret_cast<const uint8_t *>(TextOf(ArgumentAt(count, args, 0)).bytes);
    while (size_t space = SpaceAt(p)) p += space;
    SetTextResult(result, rt::MakeText(p, size_t(KeptEnd(p) - p)));
}

void RemoveAllSpaces(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    auto *p = reinterpret_cast<const uint8_t *>(TextOf(ArgumentAt(count, args, 0)).bytes);
    ByteBuffer out;
    while (*p) {
        if (IsLeadByte(*p) && !p[1]) break;
        size_t step = SpaceAt(p);
        if (!step) {
            step = IsLeadByte(*p) ? 2 : 1;
            AppendBytes(out, p, step);
        }
        p += step;
    }
    SetTextResult(result, TakeBufferAsText(out));
}

} // namespace cmd
