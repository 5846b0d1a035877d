#include "wave_data.h"

#include <cstring>

#include "mmsystem.h"

namespace platform {
namespace {

constexpr size_t kFormatBytes = 16;          // the fields every "fmt " chunk has
constexpr size_t kExtensibleFormatBytes = 40; // with the sub-format's GUID
constexpr uint32_t kMaxFramesPerSecond = 768000;
constexpr uint16_t kMaxChannels = 8;

uint16_t Word16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Word32(const uint8_t *p) { return uint32_t(Word16(p)) | uint32_t(Word16(p + 2)) << 16; }

std::optional<SampleEncoding> EncodingOf(uint16_t tag, uint16_t bits) {
    if (tag == WAVE_FORMAT_PCM) {
        switch (bits) {
        case 8: return SampleEncoding::Unsigned8;
        case 16: return SampleEncoding::Signed16;
        case 24: return SampleEncoding::Signed24;
        case 32: return SampleEncoding::Signed32;
        default: return std::nullopt;
        }
    }
    if (tag == WAVE_FORMAT_IEEE_FLOAT && bits == 32) return SampleEncoding::Float32;
    if (tag == WAVE_FORMAT_IEEE_FLOAT && bits == 64) return SampleEncoding::Float64;
    return std::nullopt;
}

std::optional<WaveFormat> ReadFormat(const uint8_t *chunk, size_t sizeBytes) {
    if (sizeBytes < kFormatBytes) return std::nullopt;
    uint16_t tag = Word16(chunk);
    uint16_t bits = Word16(chunk + 14);
    // The extensible form names the encoding in the first two bytes of its sub-format.
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (sizeBytes < kExtensibleFormatBytes) return std::nullopt;
        tag = Word16(chunk + 24);
    }
    std::optional<SampleEncoding> encoding = EncodingOf(tag, bits);
    WaveFormat f;
    f.channels = Word16(chunk + 2);
    f.framesPerSecond = Word32(chunk + 4);
    f.bytesPerFrame = Word16(chunk + 12);
    if (!encoding || f.channels == 0 || f.channels > kMaxChannels || f.framesPerSecond == 0 ||
        f.framesPerSecond > kMaxFramesPerSecond || f.bytesPerFrame != f.channels * (bits / 8))
        return std::nullopt;
    f.encoding = *encoding;
    return f;
}

} // namespace

size_t WaveImageSize(const uint8_t *header) {
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) return 0;
    return size_t(Word32(header + 4)) + 8;
}

std::optional<WaveData> ReadWave(const uint8_t *image, size_t sizeBytes) {
    if (!image || sizeBytes < 12 || WaveImageSize(image) == 0) return std::nullopt;
    std::optional<WaveFormat> format;
    size_t at = 12;
    while (sizeBytes - at >= 8) {
        const uint8_t *chunk = image + at + 8;
        size_t available = sizeBytes - at - 8;
        size_t chunkBytes = Word32(image + at + 4);
        if (std::memcmp(image + at, "fmt ", 4) == 0) {
            format = ReadFormat(chunk, chunkBytes < available ? chunkBytes : available);
            if (!format) return std::nullopt;
        } else if (std::memcmp(image + at, "data", 4) == 0) {
            if (!format) return std::nullopt; // the samples mean nothing without their format
            size_t bytes = chunkBytes < available ? chunkBytes : available;
            return WaveData{*format, chunk, bytes / format->bytesPerFrame};
        }
        if (chunkBytes >= available) break;
        at += 8 + chunkBytes + (chunkBytes & 1); // chunks are padded to even sizes
    }
    return std::nullopt;
}

} // namespace platform
