// RIFF WAVE images built by tests, chunk by chunk.
#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

inline void PutLittleEndian(std::string &out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
}

// A chunk with its size, padded to an even length.
inline std::string WaveChunk(const char *id, const std::string &body) {
    std::string out(id, 4);
    PutLittleEndian(out, uint32_t(body.size()), 4);
    out += body;
    if (body.size() & 1) out += '\0';
    return out;
}

// The 16 bytes every "fmt " chunk has.
inline std::string WaveFormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string f;
    uint16_t frameBytes = uint16_t(channels * (bits / 8));
    PutLittleEndian(f, tag, 2), PutLittleEndian(f, channels, 2), PutLittleEndian(f, rate, 4);
    PutLittleEndian(f, rate * frameBytes, 4), PutLittleEndian(f, frameBytes, 2), PutLittleEndian(f, bits, 2);
    return f;
}

inline std::string RiffImage(const std::string &chunks) {
    std::string out = "RIFF";
    PutLittleEndian(out, uint32_t(chunks.size() + 4), 4);
    return out + "WAVE" + chunks;
}

// Mono 8-bit PCM samples at 8000 frames a second.
inline std::string MonoWave(const std::string &samples) {
    return RiffImage(WaveChunk("fmt ", WaveFormatBody(1, 1, 8000, 8)) + WaveChunk("data", samples));
}

} // namespace testsupport
