// Pictures of windows, labels and buttons: loaded from property data and drawn in
// one of four layouts (0 top-left at natural size, 1 tiled, 2 centred and shrunk to
// fit, 3 stretched).
#pragma once

#include <windows.h>

#include <olectl.h>

#include <string>

namespace units {

// Null when the data are empty or do not decode; the caller releases the picture.
IPicture *PictureFromData(const std::string &data);
// Releases the picture and clears the pointer.
void ReleasePicture(IPicture *&picture);
// Where layout 0 to 3 draws a picture of the given size in a client area (layout 1
// tiles from the top-left corner of the returned first tile).
RECT PictureRect(int layout, SIZE picture, SIZE client);
// Draws a picture in `area` with layout 0 to 3, clipped to the area.
void DrawPicture(HDC dc, IPicture *picture, int layout, RECT area);

} // namespace units
