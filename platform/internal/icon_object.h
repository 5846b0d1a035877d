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
// Decodes icon, cursor or any picture data that Qt reads; of an icon file with several
// images, the one nearest `wantedSize` pixels wide (0: the first).
HICON IconFromData(const BYTE *data, size_t size, bool cursor, int wantedSize = 0);
// An icon, or with a hot spot a cursor, showing `image`.
HICON IconFromImage(const QImage &image, QPoint hotSpot = QPoint());
// The program's icon resource `name` (RT_GROUP_ICON, a whole .ico file) at the size
// nearest `wantedSize`, loaded once and shared; null with the last error set when the
// module has no such resource.
HICON ResourceIcon(HINSTANCE instance, LPCSTR name, int wantedSize);

} // namespace platform
