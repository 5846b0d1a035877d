// Regions over QRegion. Rectangles exclude their right and bottom edges, as Win32's
// do; ellipses and polygons are made of the pixel rows Qt fills for them.
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

#include "gdi_object.h"
#include "windows.h"

using namespace platform;

namespace {

HRGN AddRegion(const QRegion &region) {
    auto *o = new GdiObject{GdiKind::Region};
    o->region = region;
    return static_cast<HRGN>(AddGdiObject(o));
}

GdiObject *RegionOf(HRGN handle) {
    GdiObject *o = GdiObjectOf(handle);
    return o && o->kind == GdiKind::Region ? o : nullptr;
}

int Complexity(const QRegion &region) {
    if (region.isEmpty()) return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect Box(int x1, int y1, int x2, int y2) {
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// The pixels whose centres lie inside the path: the rows Qt fills for the outline.
QRegion Filled(const QPainterPath &path) {
    return QRegion(path.toFillPolygon().toPolygon(), path.fillRule());
}

} // namespace

extern "C" HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    if (x1 == x2 || y1 == y2) return AddRegion(QRegion());
    return AddRegion(QRegion(Box(x1, y1, x2, y2)));
}

extern "C" HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    if (x1 == x2 || y1 == y2) return AddRegion(QRegion());
    return AddRegion(QRegion(Box(x1, y1, x2, y2), QRegion::Ellipse));
}

extern "C" HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
    if (x1 == x2 || y1 == y2) return AddRegion(QRegion());
    QPainterPath path;
    QRect box = Box(x1, y1, x2, y2);
    path.addRoundedRect(QRectF(box), std::abs(w) / 2.0, std::abs(h) / 2.0);
    return AddRegion(Filled(path));
}

extern "C" HRGN WINAPI CreatePolygonRgn(const POINT *points, int count, int mode) {
    if (!points || count < 0 || (mode != ALTERNATE && mode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    QPolygon polygon;
    for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
    if (count < 3) return AddRegion(QRegion());
    return AddRegion(QRegion(polygon, mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

extern "C" int WINAPI CombineRgn(HRGN target, HRGN first, HRGN second, int mode) {
    GdiObject *out = RegionOf(target), *a = RegionOf(first), *b = RegionOf(second);
    if (!out || !a || (mode != RGN_COPY && !b)) return ERROR;
    switch (mode) {
    case RGN_AND: out->region = a->region.intersected(b->region); break;
    case RGN_OR: out->region = a->region.united(b->region); break;
    case RGN_XOR: out->region = a->region.xored(b->region); break;
    case RGN_DIFF: out->region = a->region.subtracted(b->region); break;
    case RGN_COPY: out->region = a->region; break;
    default: return ERROR;
    }
    return Complexity(out->region);
}

extern "C" int WINAPI OffsetRgn(HRGN handle, int x, int y) {
    GdiObject *o = RegionOf(handle);
    if (!o) return ERROR;
    o->region.translate(x, y);
    return Complexity(o->region);
}

extern "C" BOOL WINAPI PtInRegion(HRGN handle, int x, int y) {
    GdiObject *o = RegionOf(handle);
    return o && o->region.contains(QPoint(x, y));
}

extern "C" int WINAPI GetRgnBox(HRGN handle, LPRECT box) {
    GdiObject *o = RegionOf(handle);
    if (!o || !box) return ERROR;
    QRect r = o->region.boundingRect();
    *box = o->region.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return Complexity(o->region);
}
