#include "sound_player.h"

#include <cstring>
#include <vector>

#include "midi_render.h"
#include "windows.h"

namespace rt {
namespace {

constexpr size_t kRiffHeaderBytes = 12;

uint32_t RiffSize(const uint8_t *header) {
    return uint32_t(header[4]) | uint32_t(header[5]) << 8 | uint32_t(header[6]) << 16 | uint32_t(header[7]) << 24;
}

bool IsWave(const uint8_t *bytes, size_t sizeBytes) {
    return sizeBytes >= kRiffHeaderBytes && std::memcmp(bytes, "RIFF", 4) == 0 &&
           std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

bool PlayImage(const uint8_t *image, DWORD flags) {
    return PlaySoundA(reinterpret_cast<LPCSTR>(image), nullptr, flags) != FALSE;
}

} // namespace

bool PlaySoundData(const uint8_t *bytes, size_t sizeBytes, int32_t mode) {
    if (mode != kSoundRepeat && mode != kSoundOnce) return false;
    DWORD flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (mode == kSoundRepeat ? SND_LOOP : 0);
    if (IsMidi(bytes, sizeBytes)) {
        std::optional<std::vector<uint8_t>> rendered = RenderMidi(bytes, sizeBytes);
        return rendered && PlayImage(rendered->data(), flags);
    }
    if (!bytes || !IsWave(bytes, sizeBytes) || sizeBytes > UINT32_MAX) return false;
    // PlaySoundA trusts the header's size; data cut short get a header that tells the truth.
    if (size_t(RiffSize(bytes)) + 8 <= sizeBytes) return PlayImage(bytes, flags);
    std::vector<uint8_t> whole(bytes, bytes + sizeBytes);
    uint32_t size = uint32_t(sizeBytes - 8);
    for (int i = 0; i < 4; ++i) whole[4 + size_t(i)] = uint8_t(size >> (8 * i));
    return PlayImage(whole.data(), flags);
}

void StopSoundData() { PlaySoundA(nullptr, nullptr, 0); }

} // namespace rt
