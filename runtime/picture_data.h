// Pictures through the Win32 picture interface: picture data are loaded as a Win32
// program loads them (a stream over global memory given to OleLoadPicture), and the
// runtime services 1003 and 2034 convert between picture data and bitmaps.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <olectl.h>

#include <cstddef>
#include <cstdint>

namespace rt {

// BMP, JPEG, GIF (its first frame), PNG, icon or cursor data; null when they do not
// decode. The caller releases the picture, which owns its handle.
IPicture *LoadPicture(const void *bytes, size_t size);
// The picture's handle: an HICON for icons and cursors, else an HBITMAP.
HANDLE PictureHandle(IPicture *picture);
bool IsIconPicture(IPicture *picture);
// The picture's size in pixels.
SIZE PicturePixels(IPicture *picture);
// Service 1003: a bitmap of the caller's own; an icon is drawn on white.
HBITMAP BitmapFromPictureData(const void *bytes, size_t size);
// Service 2034: a byte-set block holding a 24-bit BMP file of the bitmap; null when
// the handle is no bitmap.
uint8_t *PictureDataFromBitmap(HBITMAP bitmap);

} // namespace rt
