// The WAV reader: whatever it accepts must describe samples that lie inside the image.
#include <cstdlib>

#include "wave_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size >= 12) platform::WaveImageSize(data);
    std::optional<platform::WaveData> wave = platform::ReadWave(data, size);
    if (!wave) return 0;
    size_t bytes = wave->frameCount * wave->format.bytesPerFrame;
    if (wave->format.bytesPerFrame == 0 || wave->samples < data || wave->samples + bytes > data + size) std::abort();
    uint8_t sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += wave->samples[i]; // every sample byte must be readable
    volatile uint8_t kept = sum;
    (void)kept;
    return 0;
}
