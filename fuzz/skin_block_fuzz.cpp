// The skin block reader over arbitrary bytes, as they are and with the header's body
// length and checksum made right (so mutations reach the fields); a block it accepts
// must write back to a block that reads as the same skin.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin_format.h"

namespace {

void PutU32(uint8_t *at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(v >> (8 * i));
}

void Read(const uint8_t *data, size_t size) {
    std::optional<skin::Skin> skin = skin::ReadSkinBlock(data, size);
    if (!skin) return;
    std::string again = skin::WriteSkinBlock(*skin);
    std::optional<skin::Skin> reread = skin::ReadSkinBlock(reinterpret_cast<const uint8_t *>(again.data()), again.size());
    if (!reread || !(*reread == *skin)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Read(data, size);
    if (size < skin::kHeaderSize) return 0;
    std::vector<uint8_t> fixed(data, data + size);
    uint32_t bodySize = uint32_t(size - skin::kHeaderSize);
    PutU32(fixed.data() + 8, bodySize);
    PutU32(fixed.data() + 12, skin::Crc32(fixed.data() + skin::kHeaderSize, bodySize));
    Read(fixed.data(), fixed.size());
    return 0;
}
