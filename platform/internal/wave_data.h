// Waveform sounds in RIFF WAVE form, read in place: the sample format and where the
// samples are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

enum class SampleEncoding { Unsigned8, Signed16, Signed24, Signed32, Float32, Float64 };

struct WaveFormat {
    SampleEncoding encoding = SampleEncoding::Signed16;
    uint16_t channels = 0;
    uint32_t framesPerSecond = 0;
    uint16_t bytesPerFrame = 0;
};

struct WaveData {
    WaveFormat format;
    const uint8_t *samples = nullptr;
    size_t frameCount = 0;
};

// The size of the RIFF image that starts at `header` (12 bytes readable): 8 plus the
// RIFF size; 0 when it is not a RIFF WAVE header.
size_t WaveImageSize(const uint8_t *header);
// Reads the image's "fmt " and "data" chunks. Sample data that the image cuts short
// is played as far as it goes; nothing for encodings without a player here (ADPCM,
// compressed) or a format that contradicts itself.
std::optional<WaveData> ReadWave(const uint8_t *image, size_t sizeBytes);

} // namespace platform
