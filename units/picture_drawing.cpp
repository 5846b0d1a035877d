#include "picture_drawing.h"

#include "picture_data.h"

namespace units {
namespace {

// Draws the picture into rectangles of a DC; a bitmap through a memory DC made once,
// an icon with its transparency.
class PictureBrush {
public:
    PictureBrush(HDC dc, IPicture *picture) : dc_(dc), picture_(picture), icon_(rt::IsIconPicture(picture)) {
        size_ = rt::PicturePixels(picture);
        if (icon_) return;
        source_ = CreateCompatibleDC(dc);
        old_ = SelectObject(source_, rt::PictureHandle(picture));
        SetStretchBltMode(dc, COLORONCOLOR);
    }
    ~PictureBrush() {
        if (!source_) return;
        SelectObject(source_, old_);
        DeleteDC(source_);
    }
    SIZE Size() const { return size_; }
    void Draw(const RECT &r) const {
        int width = r.right - r.left, height = r.bottom - r.top;
        if (icon_)
            DrawIconEx(dc_, r.left, r.top, static_cast<HICON>(rt::PictureHandle(picture_)), width, height, 0, nullptr,
                       DI_NORMAL);
        else
            StretchBlt(dc_, r.left, r.top, width, height, source_, 0, 0, size_.cx, size_.cy, SRCCOPY);
    }

private:
    HDC dc_;
    IPicture *picture_;
    bool icon_;
    SIZE size_{};
    HDC source_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

void Tile(const PictureBrush &brush, const RECT &area) {
    SIZE size = brush.Size();
    for (LONG y = area.top; y < area.bottom; y += size.cy)
        for (LONG x = area.left; x < area.right; x += size.cx) brush.Draw({x, y, x + size.cx, y + size.cy});
}

} // namespace

IPicture *PictureFromData(const std::string &data) {
    return data.empty() ? nullptr : rt::LoadPicture(data.data(), data.size());
}

void ReleasePicture(IPicture *&picture) {
    if (picture) picture->Release();
    picture = nullptr;
}

RECT PictureRect(int layout, SIZE picture, SIZE client) {
    if (layout == 3) return {0, 0, client.cx, client.cy};
    if (layout != 2) return {0, 0, picture.cx, picture.cy};
    SIZE shown = picture;
    if (picture.cx > client.cx || picture.cy > client.cy) {
        // Shrink proportionally to the tighter side; never enlarge.
        if (int64_t(picture.cx) * client.cy > int64_t(picture.cy) * client.cx)
            shown = {client.cx, LONG(int64_t(picture.cy) * client.cx / picture.cx)};
        else
            shown = {LONG(int64_t(picture.cx) * client.cy / picture.cy), client.cy};
    }
    LONG left = (client.cx - shown.cx) / 2, top = (client.cy - shown.cy) / 2;
    return {left, top, left + shown.cx, top + shown.cy};
}

void DrawPicture(HDC dc, IPicture *picture, int layout, RECT area) {
    SIZE room = {area.right - area.left, area.bottom - area.top};
    if (!picture || room.cx <= 0 || room.cy <= 0) return;
    PictureBrush brush(dc, picture);
    if (brush.Size().cx <= 0 || brush.Size().cy <= 0) return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (layout == 1) {
        Tile(brush, area);
    } else {
        RECT r = PictureRect(layout, brush.Size(), room);
        OffsetRect(&r, area.left, area.top);
        brush.Draw(r);
    }
    RestoreDC(dc, saved);
}

} // namespace units
