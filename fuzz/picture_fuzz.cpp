// Picture decoding: whatever it accepts stays within the stated limits, and every
// pixel of the image it gives can be read.
#include <cstdlib>

#include "picture_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    platform::DecodedPicture picture = platform::DecodePicture(data, size);
    const QImage &image = picture.image;
    if (image.isNull()) return 0;
    if (image.width() > platform::kMaxPictureSide || image.height() > platform::kMaxPictureSide ||
        int64_t(image.width()) * image.height() > platform::kMaxPicturePixels)
        std::abort();
    uint32_t sum = 0;
    for (int y = 0; y < image.height(); ++y) sum += image.constScanLine(y)[image.bytesPerLine() - 1];
    volatile uint32_t kept = sum;
    (void)kept;
    return 0;
}
