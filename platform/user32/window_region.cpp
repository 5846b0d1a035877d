// SetWindowRgn and GetWindowRgn: the window's visible shape in window coordinates
// (0,0 is the corner of its frame). Once set, the region belongs to the window, which
// deletes it when it is replaced or the window goes.
#include "gdi_object.h"
#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

using namespace platform;

namespace {

bool IsRegion(HRGN handle) {
    GdiObject *o = GdiObjectOf(handle);
    return o && o->kind == GdiKind::Region;
}

} // namespace

extern "C" int WINAPI SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    if (LRESULT r; hwnd && CallOnOwnerThread(hwnd, [&] { return LRESULT(SetWindowRgn(hwnd, region, redraw)); }, r))
        return int(r);
    auto record = FindWindowRecord(hwnd);
    if (!record) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (region && !IsRegion(region)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    HRGN old = record->region;
    record->region = region;
    SyncHostShape(*record);
    if (old && old != region) DeleteObject(old);
    if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
    return 1;
}

extern "C" int WINAPI GetWindowRgn(HWND hwnd, HRGN target) {
    auto record = FindWindowRecord(hwnd);
    if (!record || !record->region) return ERROR;
    return CombineRgn(target, record->region, nullptr, RGN_COPY);
}
