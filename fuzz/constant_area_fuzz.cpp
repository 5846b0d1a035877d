// The runtime's reads of the image's constant area: arbitrary bytes as the area, an
// array literal in it made writable before a change, a literal copied out of it to grow.
// Each read stays within the area whatever the words in it claim.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "handlers.h"
#include "memory.h"

namespace {

// A position in the area, on a 4-byte boundary as the image places its literals.
uint8_t *At(uint8_t *area, size_t size, uint32_t offset) { return area + (offset % size) / 4 * 4; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::FuzzReader in(data, size);
    uint32_t elementSize = in.Byte() % 17;
    uint32_t arrayAt = uint32_t(in.Integer()), literalAt = uint32_t(in.Integer());
    size_t grownSize = uint32_t(in.Integer()) % 4096 + 1;
    std::string bytes = in.Rest();
    if (bytes.empty()) return 0;
    // A block of exactly the area's size: a read past its end is a fault.
    auto *area = static_cast<uint8_t *>(std::malloc(bytes.size()));
    std::memcpy(area, bytes.data(), bytes.size());
    rt::RegisterImageRange(area, bytes.size());

    void *array = At(area, bytes.size(), arrayAt);
    rt::MakeArrayWritable(elementSize, &array);
    if (rt::IsImageOwned(array)) std::abort(); // the variable must now hold a block of its own
    rt::FreeMemory(array);
    rt::FreeMemory(rt::ReallocateMemory(At(area, bytes.size(), literalAt), grownSize));

    rt::ClearImageRanges();
    std::free(area);
    return 0;
}
