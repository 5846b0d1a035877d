#include "picture_data.h"

#include <cstring>
#include <vector>

#include "value.h"

namespace rt {
namespace {

constexpr LONG kHimetricPerInch = 2540;

LONG ToPixels(LONG himetric, int dpi) { return LONG((int64_t(himetric) * dpi + kHimetricPerInch / 2) / kHimetricPerInch); }

IStream *StreamOver(const void *bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void *at = GlobalLock(memory);
    std::memcpy(at, bytes, size);
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) GlobalFree(memory);
    return stream;
}

// Draws the picture over white into a new bitmap of its size.
HBITMAP CopyOf(IPicture *picture) {
    SIZE size = PicturePixels(picture);
    HDC screen = GetDC(nullptr);
    HBITMAP copy = size.cx > 0 && size.cy > 0 ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr;
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, copy);
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (IsIconPicture(picture)) {
        DrawIconEx(dc, 0, 0, static_cast<HICON>(PictureHandle(picture)), size.cx, size.cy, 0, nullptr, DI_NORMAL);
    } else {
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ oldSource = SelectObject(source, PictureHandle(picture));
        BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, oldSource);
        DeleteDC(source);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return copy;
}

void Put(std::vector<uint8_t> &out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + size_t(i)] = uint8_t(value >> (8 * i));
}

} // namespace

IPicture *LoadPicture(const void *bytes, size_t size) {
    if (!bytes || !size || size > 0x7fffffff) return nullptr;
    IStream *stream = StreamOver(bytes, size);
    if (!stream) return nullptr;
    IPicture *picture = nullptr;
    if (FAILED(OleLoadPicture(stream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void **>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

HANDLE PictureHandle(IPicture *picture) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    return reinterpret_cast<HANDLE>(UINT_PTR(handle));
}

bool IsIconPicture(IPicture *picture) {
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    return type == PICTYPE_ICON;
}

SIZE PicturePixels(IPicture *picture) {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    HDC screen = GetDC(nullptr);
    SIZE size{ToPixels(width, GetDeviceCaps(screen, LOGPIXELSX)), ToPixels(height, GetDeviceCaps(screen, LOGPIXELSY))};
    ReleaseDC(nullptr, screen);
    return size;
}

HBITMAP BitmapFromPictureData(const void *bytes, size_t size) {
    IPicture *picture = LoadPicture(bytes, size);
    if (!picture) return nullptr;
    HBITMAP copy = CopyOf(picture);
    picture->Release();
    return copy;
}

uint8_t *PictureDataFromBitmap(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != int(sizeof bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    const size_t header = 14 + sizeof(BITMAPINFOHEADER);
    size_t stride = (size_t(bm.bmWidth) * 3 + 3) & ~size_t(3);
    if (stride * size_t(bm.bmHeight) > 0x7fffffff - header) return nullptr;
    std::vector<uint8_t> file(header + stride * size_t(bm.bmHeight));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, bm.bmHeight, 1, 24, BI_RGB, DWORD(file.size() - header), 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), file.data() + header, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight) return nullptr;
    file[0] = 'B', file[1] = 'M';
    Put(file, 2, uint32_t(file.size()), 4);
    Put(file, 10, uint32_t(header), 4);
    std::memcpy(file.data() + 14, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    return MakeByteSet(file.data(), file.size());
}

} // namespace rt
