// The MIDI reader and renderer: arbitrary bytes give a playable WAV image or nothing.
#include <cstdlib>

#include "midi_render.h"
#include "wave_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    rt::IsMidi(data, size);
    std::optional<std::vector<uint8_t>> wav = rt::RenderMidi(data, size);
    if (wav && !platform::ReadWave(wav->data(), wav->size())) std::abort();
    return 0;
}
