// Device contexts: a window's DC paints with the QPainter of its paint in progress; a
// memory DC paints on its selected bitmap; a window DC outside painting only measures.
#include <QPainter>
#include <QScreen>
#include <QGuiApplication>
#include <QWidget>

#include <mutex>
#include <set>
#include <vector>

#include "gdi_object.h"
#include "qt_host.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {

std::mutex dcLock;
std::set<DeviceContext *> &Contexts() {
    static auto *contexts = new std::set<DeviceContext *>;
    return *contexts;
}

void InitialObjects(DeviceContext &dc) {
    dc.brush = GetStockObject(WHITE_BRUSH);
    dc.pen = GetStockObject(BLACK_PEN);
    dc.font = GetStockObject(SYSTEM_FONT);
    dc.textColor = RGB(0, 0, 0);
    dc.bkColor = RGB(255, 255, 255);
}

struct SavedState {
    HDC hdc;
    DeviceContext state;
};
std::vector<SavedState> &SavedStates() {
    static std::vector<SavedState> states;
    return states;
}

void EndMemoryPainter(DeviceContext &dc) {
    if (dc.ownsPainter && dc.painter) {
        dc.painter->end();
        delete dc.painter;
    }
    dc.painter = nullptr;
    dc.ownsPainter = false;
}

} // namespace

DeviceContext *DeviceContextOf(HDC hdc) {
    std::lock_guard lock(dcLock);
    auto *dc = reinterpret_cast<DeviceContext *>(hdc);
    return Contexts().count(dc) ? dc : nullptr;
}

HDC AddDeviceContext(DeviceContext *dc) {
    std::lock_guard lock(dcLock);
    Contexts().insert(dc);
    return reinterpret_cast<HDC>(dc);
}

void RemoveDeviceContext(HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return;
    {
        std::lock_guard lock(dcLock);
        Contexts().erase(dc);
    }
    EndMemoryPainter(*dc);
    delete dc;
}

HDC OpenPaintDC(HWND hwnd, QWidget *widget, QPainter *painter) {
    auto *dc = new DeviceContext;
    InitialObjects(*dc);
    dc->hwnd = hwnd;
    dc->widget = widget;
    dc->painter = painter;
    dc->device = widget;
    return AddDeviceContext(dc);
}

void ClosePaintDC(HDC hdc) { RemoveDeviceContext(hdc); }

} // namespace platform

using namespace platform;

extern "C" HDC WINAPI GetDC(HWND hwnd) {
    if (hwnd && !IsWindow(hwnd)) return nullptr;
    auto *dc = new DeviceContext;
    InitialObjects(*dc);
    dc->hwnd = hwnd;
    dc->widget = hwnd ? HostOf(hwnd) : nullptr;
    return AddDeviceContext(dc);
}

extern "C" HDC WINAPI GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

extern "C" int WINAPI ReleaseDC(HWND, HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || dc->memory) return 0;
    RemoveDeviceContext(hdc);
    return 1;
}

extern "C" HDC WINAPI CreateCompatibleDC(HDC) {
    auto *dc = new DeviceContext;
    InitialObjects(*dc);
    dc->memory = true;
    dc->bitmap = GetStockObject(DEFAULT_PALETTE);
    return AddDeviceContext(dc);
}

extern "C" BOOL WINAPI DeleteDC(HDC hdc) {
    if (!DeviceContextOf(hdc)) return FALSE;
    RemoveDeviceContext(hdc);
    return TRUE;
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ handle) {
    DeviceContext *dc = DeviceContextOf(hdc);
    GdiObject *o = GdiObjectOf(handle);
    if (!dc || !o) return nullptr;
    HGDIOBJ old = nullptr;
    switch (o->kind) {
    case GdiKind::Brush: old = dc->brush, dc->brush = handle; break;
    case GdiKind::Pen: old = dc->pen, dc->pen = handle; break;
    case GdiKind::Font: old = dc->font, dc->font = handle; break;
    case GdiKind::Bitmap:
        if (!dc->memory) return nullptr;
        EndMemoryPainter(*dc);
        old = dc->bitmap, dc->bitmap = handle;
        break;
    case GdiKind::Region: return nullptr; // clipping regions are not kept
    }
    return old;
}

extern "C" HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_BRUSH: return dc->brush;
    case OBJ_PEN: return dc->pen;
    case OBJ_FONT: return dc->font;
    case OBJ_BITMAP: return dc->bitmap;
    default: return nullptr;
    }
}

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->textColor;
    dc->textColor = color;
    return old;
}

extern "C" COLORREF WINAPI GetTextColor(HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

extern "C" COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->bkColor;
    dc->bkColor = color;
    return old;
}

extern "C" COLORREF WINAPI GetBkColor(HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    return dc ? dc->bkColor : CLR_INVALID;
}

extern "C" int WINAPI SetBkMode(HDC hdc, int mode) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}

extern "C" int WINAPI GetBkMode(HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    return dc ? dc->bkMode : 0;
}

extern "C" int WINAPI SetStretchBltMode(HDC hdc, int mode) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return 0;
    int old = dc->stretchMode;
    dc->stretchMode = mode;
    return old;
}

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (hdc && !DeviceContextOf(hdc)) return 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
    }
}

extern "C" int WINAPI SaveDC(HDC hdc) {
    DeviceContext *dc = DeviceContextOf(hdc);
    if (!dc) return 0;
    SavedStates().push_back(SavedState{hdc, *dc});
    if (QPainter *painter = PainterOf(dc)) painter->save();
    int level = 0;
    for (auto &s : SavedStates()) level += s.hdc == hdc;
    return level;
}

extern "C" BOOL WINAPI RestoreDC(HDC hdc, int level) {
    DeviceContext *dc = DeviceContextOf(hdc);
    auto &states = SavedStates();
    if (!dc) return FALSE;
    for (auto it = states.rbegin(); it != states.rend(); ++it) {
        if (it->hdc != hdc) continue;
        DeviceContext saved = it->state;
        states.erase(std::next(it).base());
        if (dc->painter) dc->painter->restore();
        dc->brush = saved.brush, dc->pen = saved.pen, dc->font = saved.font;
        dc->textColor = saved.textColor, dc->bkColor = saved.bkColor, dc->bkMode = saved.bkMode;
        if (level == -1) return TRUE;
        --level;
        if (level <= 0) return TRUE;
    }
    return FALSE;
}
