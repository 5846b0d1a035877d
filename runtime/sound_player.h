// The runtime's sound player: background sound data played in the background,
// repeated or once. Only one sound plays at a time; a new one replaces it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

enum SoundPlayMode : int32_t {
    kSoundRepeat = 0,
    kSoundOnce = 1,
    kSoundSilent = 2,
};

// Starts `bytes` (WAV or MIDI data) in `mode`; true when it plays.
bool PlaySoundData(const uint8_t *bytes, size_t sizeBytes, int32_t mode);
void StopSoundData();

} // namespace rt
