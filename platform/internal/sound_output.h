// Where PlaySound's samples go: the sound card through ALSA, or whatever a test puts
// in its place to see what was played.
#pragma once

#include <functional>
#include <memory>

#include "wave_data.h"

namespace platform {

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Queues whole frames, waiting while the device is full; false when it failed.
    virtual bool Write(const uint8_t *frames, size_t frameCount) = 0;
    // Waits until the queued frames have been heard.
    virtual void Drain() = 0;
};

// Opens an output for the format; null when there is none.
using SoundOutputFactory = std::function<std::unique_ptr<SoundOutput>(const WaveFormat &)>;

// Replaces the sound card for every later sound; an empty factory restores it.
void SetSoundOutputFactory(SoundOutputFactory factory);
// The sound card: the ALSA device named by SORVEL_SOUND_DEVICE, or "default".
std::unique_ptr<SoundOutput> OpenSoundCard(const WaveFormat &format);

} // namespace platform
