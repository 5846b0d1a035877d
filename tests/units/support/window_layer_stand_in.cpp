// Weak stand-ins for the window-layer functions the unit framework calls, over the
// platform's window records, so that the framework's tests run before the window
// layer is part of the platform. A real definition of any of them replaces its
// stand-in at link time.
#include <algorithm>
#include <cstring>
#include <utility>

#include "window_registry.h"
#include "windows.h"

using platform::FindWindowRecord;

#define STAND_IN extern "C" __attribute__((weak))

namespace {

thread_local HWND focus = nullptr;
thread_local HWND active = nullptr;

void Unlink(const std::shared_ptr<platform::WindowRecord> &r) {
    if (auto p = FindWindowRecord(r->parent)) {
        auto &c = p->children;
        c.erase(std::remove(c.begin(), c.end(), r->handle), c.end());
    }
}

POINT ScreenOrigin(HWND h) {
    POINT at{0, 0};
    for (auto r = FindWindowRecord(h); r; r = (r->style & WS_CHILD) ? FindWindowRecord(r->parent) : nullptr) {
        at.x += r->rect.left;
        at.y += r->rect.top;
    }
    return at;
}

void Restack(const std::shared_ptr<platform::WindowRecord> &r, HWND after) {
    auto p = (r->style & WS_CHILD) ? FindWindowRecord(r->parent) : nullptr;
    if (!p) return;
    auto &c = p->children;
    c.erase(std::remove(c.begin(), c.end(), r->handle), c.end());
    auto at = c.begin();
    if (after == HWND_BOTTOM) at = c.end();
    else if (after != HWND_TOP) {
        auto found = std::find(c.begin(), c.end(), after);
        at = found == c.end() ? c.begin() : found + 1;
    }
    c.insert(at, r->handle);
}

} // namespace

STAND_IN BOOL WINAPI ShowWindow(HWND h, int cmd) {
    auto r = FindWindowRecord(h);
    if (!r) return FALSE;
    BOOL was = (r->style & WS_VISIBLE) != 0;
    if (cmd == SW_HIDE) r->style &= ~WS_VISIBLE;
    else r->style |= WS_VISIBLE;
    if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED) r->style |= WS_MINIMIZE;
    if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) r->style &= ~WS_MINIMIZE;
    return was;
}

STAND_IN BOOL WINAPI IsWindowVisible(HWND h) {
    for (auto r = FindWindowRecord(h); r; r = (r->style & WS_CHILD) ? FindWindowRecord(r->parent) : nullptr)
        if (!(r->style & WS_VISIBLE)) return FALSE;
    return FindWindowRecord(h) != nullptr;
}

STAND_IN BOOL WINAPI IsWindowEnabled(HWND h) {
    auto r = FindWindowRecord(h);
    return r && !(r->style & WS_DISABLED);
}

STAND_IN BOOL WINAPI EnableWindow(HWND h, BOOL enable) {
    auto r = FindWindowRecord(h);
    if (!r) return FALSE;
    BOOL wasDisabled = (r->style & WS_DISABLED) != 0;
    if (enable) r->style &= ~WS_DISABLED;
    else r->style |= WS_DISABLED;
    return wasDisabled;
}

STAND_IN BOOL WINAPI IsIconic(HWND h) {
    auto r = FindWindowRecord(h);
    return r && (r->style & WS_MINIMIZE);
}

STAND_IN BOOL WINAPI IsChild(HWND parent, HWND h) {
    for (auto r = FindWindowRecord(h); r && (r->style & WS_CHILD); r = FindWindowRecord(r->parent))
        if (r->parent == parent) return TRUE;
    return FALSE;
}

STAND_IN HWND WINAPI SetParent(HWND child, HWND parent) {
    auto r = FindWindowRecord(child);
    if (!r) return nullptr;
    HWND old = r->parent;
    Unlink(r);
    r->parent = parent;
    if (auto p = FindWindowRecord(parent)) p->children.insert(p->children.begin(), child);
    return old;
}

STAND_IN HWND WINAPI GetWindow(HWND h, UINT cmd) {
    auto r = FindWindowRecord(h);
    if (!r) return nullptr;
    if (cmd == GW_CHILD) return r->children.empty() ? nullptr : r->children.front();
    if (cmd == GW_OWNER) return r->owner;
    auto p = FindWindowRecord(r->parent);
    if (!p) return nullptr;
    auto &c = p->children;
    auto at = std::find(c.begin(), c.end(), h);
    if (cmd == GW_HWNDNEXT) return at != c.end() && at + 1 != c.end() ? *(at + 1) : nullptr;
    if (cmd == GW_HWNDPREV) return at != c.begin() && at != c.end() ? *(at - 1) : nullptr;
    if (cmd == GW_HWNDFIRST) return c.front();
    if (cmd == GW_HWNDLAST) return c.back();
    return nullptr;
}

STAND_IN BOOL WINAPI SetWindowPos(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags) {
    auto r = FindWindowRecord(h);
    if (!r) return FALSE;
    if (!(flags & SWP_NOMOVE)) {
        r->rect.right += x - r->rect.left;
        r->rect.bottom += y - r->rect.top;
        r->rect.left = x;
        r->rect.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r->rect.right = r->rect.left + cx;
        r->rect.bottom = r->rect.top + cy;
    }
    if (after == HWND_TOPMOST) r->exStyle |= WS_EX_TOPMOST;
    else if (after == HWND_NOTOPMOST) r->exStyle &= ~WS_EX_TOPMOST;
    else if (!(flags & SWP_NOZORDER)) Restack(r, after);
    if (flags & SWP_SHOWWINDOW) r->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) r->style &= ~WS_VISIBLE;
    return TRUE;
}

STAND_IN BOOL WINAPI MoveWindow(HWND h, int x, int y, int w, int ht, BOOL) {
    return SetWindowPos(h, nullptr, x, y, w, ht, SWP_NOZORDER | SWP_NOACTIVATE);
}

STAND_IN BOOL WINAPI GetWindowRect(HWND h, LPRECT rc) {
    auto r = FindWindowRecord(h);
    if (!r) return FALSE;
    POINT at = ScreenOrigin(h);
    *rc = {at.x, at.y, at.x + (r->rect.right - r->rect.left), at.y + (r->rect.bottom - r->rect.top)};
    return TRUE;
}

STAND_IN BOOL WINAPI GetClientRect(HWND h, LPRECT rc) {
    auto r = FindWindowRecord(h);
    if (!r) return FALSE;
    *rc = {0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
    return TRUE;
}

STAND_IN BOOL WINAPI ScreenToClient(HWND h, LPPOINT p) {
    POINT at = ScreenOrigin(h);
    p->x -= at.x;
    p->y -= at.y;
    return TRUE;
}

STAND_IN BOOL WINAPI ClientToScreen(HWND h, LPPOINT p) {
    POINT at = ScreenOrigin(h);
    p->x += at.x;
    p->y += at.y;
    return TRUE;
}

STAND_IN HWND WINAPI GetFocus(void) { return IsWindow(focus) ? focus : nullptr; }
STAND_IN HWND WINAPI SetFocus(HWND h) { return std::exchange(focus, h); }
STAND_IN HWND WINAPI SetActiveWindow(HWND h) { return std::exchange(active, h); }

STAND_IN HMENU WINAPI CreateMenu(void) { return reinterpret_cast<HMENU>(new int(0)); }
STAND_IN HMENU WINAPI CreatePopupMenu(void) { return CreateMenu(); }
STAND_IN BOOL WINAPI DestroyMenu(HMENU m) {
    delete reinterpret_cast<int *>(m);
    return TRUE;
}
STAND_IN BOOL WINAPI AppendMenuA(HMENU m, UINT, UINT_PTR, LPCSTR) {
    ++*reinterpret_cast<int *>(m);
    return TRUE;
}
STAND_IN BOOL WINAPI SetMenu(HWND, HMENU) { return TRUE; }
STAND_IN HACCEL WINAPI CreateAcceleratorTableA(LPACCEL, int count) {
    return reinterpret_cast<HACCEL>(new int(count));
}
STAND_IN BOOL WINAPI DestroyAcceleratorTable(HACCEL a) {
    delete reinterpret_cast<int *>(a);
    return TRUE;
}
STAND_IN int WINAPI TranslateAcceleratorA(HWND, HACCEL, LPMSG) { return 0; }

STAND_IN BOOL WINAPI DestroyCursor(HCURSOR) { return TRUE; }
STAND_IN HCURSOR WINAPI SetCursor(HCURSOR c) { return c; }
STAND_IN BOOL WINAPI GetCursorPos(LPPOINT p) {
    *p = {0, 0};
    return TRUE;
}
STAND_IN BOOL WINAPI SetCursorPos(int, int) { return TRUE; }
STAND_IN SHORT WINAPI GetKeyState(int) { return 0; }
STAND_IN HICON WINAPI CreateIconFromResourceEx(PBYTE, DWORD, BOOL, DWORD, int, int, UINT) { return nullptr; }
STAND_IN BOOL WINAPI InvalidateRect(HWND, const RECT *, BOOL) { return TRUE; }

// A default GUI font of 9 points at 96 pixels per inch.
STAND_IN int WINAPI GetObjectA(HANDLE, int size, LPVOID out) {
    if (size != int(sizeof(LOGFONTA)) || !out) return 0;
    LOGFONTA font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = 1;
    std::memcpy(font.lfFaceName, "Default", 8);
    std::memcpy(out, &font, sizeof font);
    return size;
}
STAND_IN int WINAPI GetDeviceCaps(HDC, int index) { return index == LOGPIXELSY || index == LOGPIXELSX ? 96 : 0; }
STAND_IN HDC WINAPI GetDC(HWND) { return reinterpret_cast<HDC>(intptr_t(1)); }
STAND_IN int WINAPI ReleaseDC(HWND, HDC) { return 1; }
