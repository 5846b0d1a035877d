// OleLoadPicture and the picture object it makes: a bitmap, or an icon for icon and
// cursor data, owned by the picture, with its size in HIMETRIC units (0.01 mm).
#include <olectl.h>
#include <windows.h>

#include <vector>

#include "com_object.h"
#include "gdi_object.h"
#include "icon_object.h"
#include "picture_decoder.h"

namespace {

constexpr LONG kHimetricPerInch = 2540;
constexpr LONG kPixelsPerInch = 96;

LONG ToHimetric(LONG pixels) { return LONG((int64_t(pixels) * kHimetricPerInch + kPixelsPerInch / 2) / kPixelsPerInch); }
LONG ToPixels(LONG himetric, LONG pixels, LONG himetricSize) {
    return himetricSize ? LONG(int64_t(himetric) * pixels / himetricSize) : 0;
}

class PictureObject final : public platform::ComObject<IPicture> {
public:
    PictureObject(HANDLE handle, SHORT type, SIZE pixels) : handle_(handle), type_(type), pixels_(pixels) {}
    ~PictureObject() override {
        if (type_ == PICTYPE_ICON) DestroyIcon(static_cast<HICON>(handle_));
        else DeleteObject(handle_);
    }

    bool Offers(REFIID riid) const override { return riid == IID_IPicture; }

    HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE *out) override { return Give(out, OLE_HANDLE(handle_)); }
    HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE *out) override { return Give(out, OLE_HANDLE(0)); }
    HRESULT STDMETHODCALLTYPE get_Type(SHORT *out) override { return Give(out, type_); }
    HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC *out) override { return Give(out, ToHimetric(pixels_.cx)); }
    HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC *out) override {
        return Give(out, ToHimetric(pixels_.cy));
    }
    HRESULT STDMETHODCALLTYPE get_Attributes(DWORD *out) override {
        return Give(out, DWORD(type_ == PICTYPE_ICON ? PICTURE_TRANSPARENT : 0));
    }
    HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL *out) override { return Give(out, BOOL(FALSE)); }
    HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PictureChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurDC(HDC *out) override { return Give(out, HDC(nullptr)); }
    HRESULT STDMETHODCALLTYPE SelectPicture(HDC, HDC *, OLE_HANDLE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM, BOOL, LONG *) override { return E_NOTIMPL; }

    // The source rectangle counts HIMETRIC units up from the bottom edge, so the usual
    // whole-picture call passes (0, height, width, -height).
    HRESULT STDMETHODCALLTYPE Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                     OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                     LPCRECT) override {
        if (!dc || !cx || !cy) return E_INVALIDARG;
        if (type_ == PICTYPE_ICON)
            return DrawIconEx(dc, x, y, static_cast<HICON>(handle_), cx, cy, 0, nullptr, DI_NORMAL) ? S_OK : E_FAIL;
        LONG width = ToHimetric(pixels_.cx), height = ToHimetric(pixels_.cy);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, handle_);
        BOOL done = StretchBlt(dc, x, y, cx, cy, source, ToPixels(xSrc, pixels_.cx, width),
                               ToPixels(height - ySrc, pixels_.cy, height), ToPixels(cxSrc, pixels_.cx, width),
                               ToPixels(-cySrc, pixels_.cy, height), SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return done ? S_OK : E_FAIL;
    }

private:
    template <typename T> static HRESULT Give(T *out, T value) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }

    HANDLE handle_;
    SHORT type_;
    SIZE pixels_;
};

// The bytes to decode: `size` of them, or with 0 the rest of the stream. A size above
// the picture limit is refused before anything is read; memory grows only as bytes
// actually arrive.
bool ReadPictureBytes(IStream *stream, LONG size, std::vector<uint8_t> &bytes) {
    ULONGLONG wanted = ULONGLONG(size);
    if (size <= 0) {
        STATSTG stat{};
        ULARGE_INTEGER at{};
        LARGE_INTEGER none{};
        if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(none, STREAM_SEEK_CUR, &at))) return false;
        wanted = stat.cbSize.QuadPart > at.QuadPart ? stat.cbSize.QuadPart - at.QuadPart : 0;
    }
    if (wanted == 0 || wanted > platform::kMaxPictureBytes) return false;
    uint8_t chunk[65536];
    while (bytes.size() < wanted) {
        ULONG got = 0;
        ULONG ask = ULONG(std::min<ULONGLONG>(sizeof chunk, wanted - bytes.size()));
        if (FAILED(stream->Read(chunk, ask, &got)) || got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return !bytes.empty();
}

} // namespace

extern "C" HRESULT WINAPI OleLoadPicture(LPSTREAM stream, LONG size, BOOL, REFIID riid, LPVOID *out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!stream) return E_POINTER;
    std::vector<uint8_t> bytes;
    if (!ReadPictureBytes(stream, size, bytes)) return CTL_E_INVALIDPICTURE;
    platform::DecodedPicture decoded = platform::DecodePicture(bytes.data(), bytes.size());
    if (decoded.image.isNull()) return CTL_E_INVALIDPICTURE;
    SIZE pixels{decoded.image.width(), decoded.image.height()};
    HANDLE handle = decoded.icon ? HANDLE(platform::IconFromImage(decoded.image, decoded.hotSpot))
                                 : HANDLE(platform::BitmapFromImage(decoded.image));
    auto *picture = new PictureObject(handle, decoded.icon ? SHORT(PICTYPE_ICON) : SHORT(PICTYPE_BITMAP), pixels);
    HRESULT hr = picture->QueryInterface(riid, out);
    picture->Release();
    return hr;
}
