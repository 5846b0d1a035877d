// The runtime's MIDI player renders a standard MIDI file into a WAV image, which then
// plays like any other sound: a plain synthesizer with one voice per note (a tone for
// the melodic channels, a noise burst for the percussion channel), enough for a
// window's background music.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace rt {

constexpr uint32_t kMidiFramesPerSecond = 22050;
constexpr double kMidiLongestSeconds = 300; // longer songs are cut off here

bool IsMidi(const uint8_t *bytes, size_t sizeBytes);
// Mono 16-bit WAV image of the song; nothing when the data are no MIDI file or hold
// no note. Tracks cut short play as far as they go.
std::optional<std::vector<uint8_t>> RenderMidi(const uint8_t *bytes, size_t sizeBytes);

} // namespace rt
