#include "app_globals.h"

#include <cstdint>
#include <cstring>

#include "collector.h"
#include "runtime_calls.h"

namespace app {

void *KeywordList = nullptr;

// An empty one-dimensional array: dimension count 1, size 0.
void *NewEmptyArray() {
    auto *block = static_cast<uint32_t *>(rt::RuntimeHelpers.allocate(8));
    block[0] = 1;
    block[1] = 0;
    return block;
}

namespace {

// Frees a Text array's elements, then the array (through the runtime's free slot).
void FreeTextArray(void *array) {
    if (!array) return;
    const auto *words = static_cast<const uint32_t *>(array);
    uint32_t count = 1;
    for (uint32_t d = 0; d < words[0]; ++d) count *= words[1 + d];
    const uint8_t *first = reinterpret_cast<const uint8_t *>(words + 1 + words[0]);
    for (uint32_t i = 0; i < count; ++i) {
        void *text;
        std::memcpy(&text, first + i * sizeof(void *), sizeof text);
        rt::RuntimeHelpers.free(text);
    }
    rt::RuntimeHelpers.free(array);
}

} // namespace

void CreateGlobals() { KeywordList = NewEmptyArray(); }

void ReleaseKeywordList() {
    FreeTextArray(KeywordList);
    KeywordList = nullptr;
}

// A job may still read its keyword while the program ends: the list then stays as it
// is to the end of the process instead of being freed under it.
void ReleaseGlobals() {
    if (Current(JobsRunning) == 0) ReleaseKeywordList();
}

} // namespace app
