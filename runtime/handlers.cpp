#include "handlers.h"

#include <cstring>

#include "memory.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "value.h"

namespace rt {
namespace {

constexpr uint32_t kAllBits = 0xFFFFFFFF;

bool Accepts(uint32_t filter, const WIN32_FIND_DATAA &entry) {
    if (filter == kAllBits) return !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (filter != 0) return (entry.dwFileAttributes & filter) != 0;
    return entry.dwFileAttributes == 0;
}

void EndSearch(void **searchHandle) {
    if (*searchHandle) FindClose(*searchHandle);
    *searchHandle = nullptr;
}

} // namespace

char *FindNextMatchingFile(const char *pattern, uint32_t attributeFilter, bool anyFile, void **searchHandle) {
    uint32_t filter = anyFile ? kAllBits : (attributeFilter & 0x37);
    WIN32_FIND_DATAA entry;
    bool found;
    if (pattern && *pattern) {
        EndSearch(searchHandle);
        HANDLE h = FindFirstFileA(pattern, &entry);
        found = h != INVALID_HANDLE_VALUE;
        if (found) *searchHandle = h;
    } else {
        if (!*searchHandle) return nullptr;
        found = FindNextFileA(*searchHandle, &entry);
    }
    while (found && !Accepts(filter, entry)) found = FindNextFileA(*searchHandle, &entry);
    if (!found) {
        EndSearch(searchHandle);
        return nullptr;
    }
    return CopyText(entry.cFileName);
}

namespace {

// The bytes of the array literal at `array`, header and elements, when they all lie
// before `end`; 0 when its words claim more than the image holds.
size_t ArrayLiteralBytes(const void *array, const uint8_t *end, uint32_t elementSize) {
    size_t available = size_t(end - static_cast<const uint8_t *>(array));
    const auto *words = static_cast<const uint32_t *>(array);
    if (available < 4 || words[0] > (available - 4) / 4) return 0;
    uint64_t count = words[0] ? 1 : 0;
    for (uint32_t i = 0; i < words[0] && count <= available; ++i) count *= words[1 + i];
    uint64_t bytes = 4 + 4 * uint64_t(words[0]) + uint64_t(elementSize) * count;
    return count <= available && bytes <= available ? size_t(bytes) : 0;
}

void *NewEmptyArray() {
    auto *words = static_cast<uint32_t *>(AllocateMemory(8));
    words[0] = 1;
    words[1] = 0;
    return words;
}

} // namespace

// A literal that does not fit in the image it lies in becomes an empty array.
void MakeArrayWritable(uint32_t elementSize, void **arrayVariable) {
    void *array = *arrayVariable;
    const uint8_t *end = array ? ImageRangeEnd(array) : nullptr;
    if (!end) return;
    size_t bytes = ArrayLiteralBytes(array, end, elementSize);
    if (bytes == 0) {
        *arrayVariable = NewEmptyArray();
        return;
    }
    void *copy = AllocateMemory(bytes);
    std::memcpy(copy, array, bytes);
    *arrayVariable = copy;
}

uint64_t DispatchHandler(int32_t number, const uintptr_t *a) {
    RuntimeApp &app = App();
    switch (number) {
    case kHandlerFindNextFile:
        return uintptr_t(FindNextMatchingFile(reinterpret_cast<const char *>(a[0]), uint32_t(a[1]), a[2] != 0,
                                      reinterpret_cast<void **>(a[3])));
    case kHandlerEndFileSearch:
        if (a[0]) FindClose(reinterpret_cast<HANDLE>(a[0]));
        return 0;
    case kHandlerMakeArrayWritable: MakeArrayWritable(uint32_t(a[0]), reinterpret_cast<void **>(a[1])); return 0;
    case kHandlerRegisterCleanUp: app.cleanUpRoutine = reinterpret_cast<CleanUpRoutine>(a[0]); return 0;
    case kHandlerReadObjectProperty:
        return app.windowSet ? app.windowSet->readObjectProperty(uint32_t(a[0]), a[1], int32_t(a[2]), int32_t(a[3])) : 0;
    case kHandlerWriteObjectProperty:
        if (app.windowSet)
            app.windowSet->writeObjectProperty(uint32_t(a[0]), a[1], int32_t(a[2]), int32_t(a[3]), uint32_t(a[4]),
                                               uint32_t(a[5]));
        return 0;
    case kHandlerInitialize: InitializeRuntime(); return 0;
    default: return 0;
    }
}

} // namespace rt
