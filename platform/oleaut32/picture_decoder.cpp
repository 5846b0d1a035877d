// Picture decoding over Qt's image readers, with the declared size checked first.
#include "picture_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace platform {
namespace {

bool IsIconFile(const uint8_t *d, size_t size) {
    return size >= 6 && d[0] == 0 && d[1] == 0 && (d[2] == 1 || d[2] == 2) && d[3] == 0;
}

bool WithinLimit(QSize size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide &&
           size.height() <= kMaxPictureSide && int64_t(size.width()) * size.height() <= kMaxPicturePixels;
}

// A cursor's hot spot sits in its first directory entry's planes and bit count fields.
QPoint CursorHotSpot(const uint8_t *d) { return QPoint(d[10] | d[11] << 8, d[12] | d[13] << 8); }

bool KnownFormat(const QByteArray &format) {
    return format == "bmp" || format == "jpeg" || format == "gif" || format == "png" || format == "ico";
}

QImage Read(QByteArray &bytes, bool icon) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, icon ? QByteArray("ico") : QByteArray());
    reader.setDecideFormatFromContent(!icon);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    // Top-down BMP rows are declared with a negative height.
    QSize declared = reader.size();
    if (!KnownFormat(reader.format()) || !WithinLimit(QSize(qAbs(declared.width()), qAbs(declared.height()))))
        return {};
    QImage image = reader.read();
    return WithinLimit(image.size()) ? image : QImage();
}

} // namespace

DecodedPicture DecodePicture(const uint8_t *data, size_t size) {
    DecodedPicture picture;
    if (!data || size < 4 || size > kMaxPictureBytes) return picture;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    picture.icon = IsIconFile(data, size);
    picture.cursor = picture.icon && data[2] == 2;
    // Qt's icon reader takes cursor files once they look like icon files.
    if (picture.cursor) bytes[2] = 1;
    QImage image = Read(bytes, picture.icon);
    if (image.isNull()) return DecodedPicture{};
    picture.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (picture.cursor && size >= 22) picture.hotSpot = CursorHotSpot(data);
    return picture;
}

} // namespace platform
