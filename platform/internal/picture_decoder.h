// Picture data decoded for OleLoadPicture: BMP of any depth (RLE and bit fields too),
// JPEG, GIF (its first frame), PNG, icons and cursors. This is the one entry that
// turns untrusted picture bytes into pixels; fuzzing calls it directly.
#pragma once

#include <QImage>
#include <QPoint>

#include <cstddef>
#include <cstdint>

namespace platform {

// The largest picture accepted: no side above 16384 pixels and at most 16,777,216
// pixels in all (64 MiB decoded). A larger declared size is refused before any pixel
// memory is given to it; so is picture data above 64 MiB.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(16) * 1024 * 1024;
constexpr size_t kMaxPictureBytes = size_t(64) * 1024 * 1024;

struct DecodedPicture {
    QImage image; // premultiplied ARGB; null when the data do not decode
    bool icon = false;
    bool cursor = false;
    QPoint hotSpot;
};

DecodedPicture DecodePicture(const uint8_t *data, size_t size);

} // namespace platform
