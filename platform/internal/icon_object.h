// Icons and cursors: a system cursor shape or a decoded image with its hot spot.
#pragma once

#include <QImage>
#include <QPoint>

#include "windef.h"

namespace platform {

struct IconObject {
    int systemShape = -1; // a Qt::CursorShape, or -1 for an image
    QImage image;
    QPoint hotSpot;
    bool shared = false;  // system icons and cursors are never destroyed
};

IconObject *IconObjectOf(HICON handle);
// Decodes icon, cursor or any picture data that Qt reads.
HICON IconFromData(const BYTE *data, size_t size, bool cursor);

} // namespace platform
