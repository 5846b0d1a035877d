// Window position, size, z-order and visibility, with WM_WINDOWPOSCHANGING/CHANGED,
// WM_MOVE, WM_SIZE and WM_SHOWWINDOW as Win32 sends them.
#include <QWidget>

#include <algorithm>

#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {

// Flags Win32 keeps internally to tell DefWindowProc what the client area did.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

std::shared_ptr<WindowRecord> Record(HWND hwnd) {
    auto record = FindWindowRecord(hwnd);
    if (!record) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return record;
}

POINT ClientOriginOnScreen(const WindowRecord &r);

POINT WindowOriginOnScreen(const WindowRecord &r) {
    POINT p{r.rect.left, r.rect.top};
    if (r.style & WS_CHILD)
        if (auto parent = FindWindowRecord(r.parent)) {
            POINT o = ClientOriginOnScreen(*parent);
            p.x += o.x;
            p.y += o.y;
        }
    return p;
}

POINT ClientOriginOnScreen(const WindowRecord &r) {
    POINT p = WindowOriginOnScreen(r);
    RECT in = FrameInsets(r.style, r.exStyle, r.menu != nullptr);
    return POINT{p.x + in.left, p.y + in.top};
}

void Restack(WindowRecord &r, HWND after) {
    if (!(r.style & WS_CHILD)) {
        if (after == HWND_TOPMOST) r.exStyle |= WS_EX_TOPMOST;
        if (after == HWND_NOTOPMOST) r.exStyle &= ~DWORD(WS_EX_TOPMOST);
        if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) SyncHostStyle(r);
        if (after != HWND_BOTTOM) SyncHostZOrder(r);
        else if (auto *w = static_cast<QWidget *>(r.host)) w->lower();
        return;
    }
    auto parent = FindWindowRecord(r.parent);
    if (!parent) return;
    auto &c = parent->children;
    c.erase(std::remove(c.begin(), c.end(), r.handle), c.end());
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) c.insert(c.begin(), r.handle);
    else if (after == HWND_BOTTOM) c.push_back(r.handle);
    else {
        auto it = std::find(c.begin(), c.end(), after);
        c.insert(it == c.end() ? c.begin() : it + 1, r.handle);
    }
    SyncHostZOrder(r);
}

UINT SizeKind(const WindowRecord &r) {
    return (r.style & WS_MINIMIZE) ? SIZE_MINIMIZED : (r.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

} // namespace

void EnterStateHidden(HWND hwnd, DWORD wanted);

RECT ScreenRectOf(const WindowRecord &r) {
    POINT p = WindowOriginOnScreen(r);
    return RECT{p.x, p.y, p.x + r.rect.right - r.rect.left, p.y + r.rect.bottom - r.rect.top};
}

} // namespace platform

using namespace platform;

namespace {

// The proposed position with the unchanged parts filled in, after WM_WINDOWPOSCHANGING.
WINDOWPOS ProposedPosition(const WindowRecord &r, WINDOWPOS pos) {
    if (pos.flags & SWP_NOMOVE) pos.x = r.rect.left, pos.y = r.rect.top;
    if (pos.flags & SWP_NOSIZE) pos.cx = r.rect.right - r.rect.left, pos.cy = r.rect.bottom - r.rect.top;
    if (!(pos.flags & SWP_NOSENDCHANGING)) SendMessageA(r.handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    return pos;
}

void RecalculateFrame(WindowRecord &r, WINDOWPOS &pos) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    params.lppos = &pos;
    SendMessageA(r.handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    SyncHostStyle(r);
}

// Adds SWP_NOMOVE/SWP_NOSIZE for what stays, as the flags of WM_WINDOWPOSCHANGED tell.
UINT UnchangedFlags(const RECT &old, const RECT &next) {
    UINT flags = 0;
    if (next.left == old.left && next.top == old.top) flags |= SWP_NOMOVE;
    if (next.right - next.left == old.right - old.left && next.bottom - next.top == old.bottom - old.top) flags |= SWP_NOSIZE;
    return flags;
}

POINT ClientOrigin(const WindowRecord &r) {
    RECT in = FrameInsets(r.style, r.exStyle, r.menu != nullptr);
    return POINT{r.rect.left + in.left, r.rect.top + in.top};
}

UINT ClientChangeFlags(const WindowRecord &r, const RECT &oldClient, POINT oldOrigin) {
    RECT client = ClientRectOf(r);
    POINT origin = ClientOrigin(r);
    UINT flags = 0;
    if (client.right == oldClient.right && client.bottom == oldClient.bottom) flags |= kNoClientSize;
    if (origin.x == oldOrigin.x && origin.y == oldOrigin.y) flags |= kNoClientMove;
    return flags;
}

void ApplyVisibility(WindowRecord &r, UINT flags) {
    if (flags & SWP_SHOWWINDOW) r.style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) r.style &= ~DWORD(WS_VISIBLE);
    if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) SyncHostVisibility(r);
}

} // namespace

extern "C" BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(SetWindowPos(hwnd, after, x, y, cx, cy, flags)); }, r)) return BOOL(r);
    auto r = Record(hwnd);
    if (!r) return FALSE;
    WINDOWPOS pos = ProposedPosition(*r, WINDOWPOS{hwnd, after, x, y, cx, cy, flags});
    RECT oldClient = ClientRectOf(*r);
    POINT oldOrigin = ClientOrigin(*r);
    if (pos.flags & SWP_FRAMECHANGED) RecalculateFrame(*r, pos);
    RECT next{pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy)};
    UINT done = pos.flags | UnchangedFlags(r->rect, next);
    r->rect = next;
    if (!(pos.flags & SWP_NOZORDER)) Restack(*r, pos.hwndInsertAfter);
    SyncHostGeometry(*r);
    ApplyVisibility(*r, pos.flags);
    done |= ClientChangeFlags(*r, oldClient, oldOrigin);
    if ((pos.flags & SWP_SHOWWINDOW) && !(r->style & WS_CHILD) && !(pos.flags & SWP_NOACTIVATE)) SetActiveWindow(hwnd);
    pos.flags = done;
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

// DefWindowProc's part of WM_WINDOWPOSCHANGED.
LRESULT DefaultWindowPosChanged(HWND hwnd, const WINDOWPOS *pos) {
    auto r = FindWindowRecord(hwnd);
    if (!r || !pos) return 0;
    RECT in = FrameInsets(r->style, r->exStyle, r->menu != nullptr);
    if (!(pos->flags & kNoClientMove) && !(r->style & WS_MINIMIZE))
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(r->rect.left + in.left, r->rect.top + in.top));
    if (!(pos->flags & kNoClientSize) || (pos->flags & SWP_FRAMECHANGED)) {
        RECT c = ClientRectOf(*r);
        SendMessageA(hwnd, WM_SIZE, SizeKind(*r), MAKELPARAM(c.right, c.bottom));
    }
    return 0;
}

extern "C" BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

// The minimised/maximised state a show command asks for, given the current one.
DWORD WantedState(int cmd, DWORD state) {
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: return WS_MINIMIZE;
    case SW_SHOWMAXIMIZED: return WS_MAXIMIZE;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return 0;
    default: return state;
    }
}

bool Activates(const WindowRecord &r, int cmd) {
    if (r.style & WS_CHILD) return false;
    return cmd == SW_SHOWNORMAL || cmd == SW_SHOW || cmd == SW_SHOWMAXIMIZED || cmd == SW_RESTORE ||
           cmd == SW_SHOWDEFAULT || cmd == SW_SHOWMINIMIZED;
}

// The rectangle of a window entering `wanted`; the restored one is remembered first.
RECT StateRect(WindowRecord &r, DWORD state, DWORD wanted) {
    if (!state) r.normalRect = r.rect;
    if (wanted == WS_MAXIMIZE) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
    if (wanted == WS_MINIMIZE)
        return RECT{-32000, -32000, -32000 + GetSystemMetrics(SM_CXMIN), -32000 + GetSystemMetrics(SM_CYMIN)};
    return r.normalRect;
}

} // namespace

// A hidden window takes the minimised or maximised state without being shown.
void platform::EnterStateHidden(HWND hwnd, DWORD wanted) {
    auto r = FindWindowRecord(hwnd);
    if (!r) return;
    DWORD state = r->style & (WS_MINIMIZE | WS_MAXIMIZE);
    RECT target = StateRect(*r, state, wanted);
    r->style = (r->style & ~DWORD(WS_MINIMIZE | WS_MAXIMIZE)) | wanted;
    SetWindowPos(hwnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

extern "C" BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(ShowWindow(hwnd, cmd)); }, r)) return BOOL(r);
    auto r = Record(hwnd);
    if (!r) return FALSE;
    bool wasVisible = r->style & WS_VISIBLE;
    bool show = cmd != SW_HIDE;
    if (show != wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, show, 0);
    if (!IsWindow(hwnd)) return wasVisible;
    // A child that is hidden gives the focus to its parent.
    HWND focus = GetFocus();
    if (!show && (r->style & WS_CHILD) && focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(r->parent);
    UINT flags = (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
    if (!Activates(*r, cmd)) flags |= SWP_NOACTIVATE;
    RECT target = r->rect;
    DWORD state = r->style & (WS_MINIMIZE | WS_MAXIMIZE);
    DWORD wanted = WantedState(cmd, state);
    if (wanted != state) {
        target = StateRect(*r, state, wanted);
        r->style = (r->style & ~DWORD(WS_MINIMIZE | WS_MAXIMIZE)) | wanted;
        flags = (flags & ~UINT(SWP_NOMOVE | SWP_NOSIZE)) | SWP_FRAMECHANGED;
    }
    SetWindowPos(hwnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top, flags);
    if (wanted != state || (show && !r->everShown)) SyncHostVisibility(*r);
    if (show) r->everShown = true;
    return wasVisible;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND hwnd) {
    for (auto r = FindWindowRecord(hwnd); r; r = FindWindowRecord(r->parent)) {
        if (!(r->style & WS_VISIBLE)) return FALSE;
        if (!(r->style & WS_CHILD)) return TRUE;
    }
    return FALSE;
}

extern "C" BOOL WINAPI IsIconic(HWND hwnd) {
    auto r = FindWindowRecord(hwnd);
    return r && (r->style & WS_MINIMIZE);
}

extern "C" BOOL WINAPI IsZoomed(HWND hwnd) {
    auto r = FindWindowRecord(hwnd);
    return r && (r->style & WS_MAXIMIZE);
}

extern "C" BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    auto r = Record(hwnd);
    if (!r || !rect) return FALSE;
    *rect = ScreenRectOf(*r);
    return TRUE;
}

extern "C" BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    auto r = Record(hwnd);
    if (!r || !rect) return FALSE;
    *rect = ClientRectOf(*r);
    return TRUE;
}

extern "C" BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) return FALSE;
    RECT in = FrameInsets(style & ~DWORD(WS_VSCROLL | WS_HSCROLL), exStyle, menu);
    rect->left -= in.left, rect->top -= in.top, rect->right += in.right, rect->bottom += in.bottom;
    return TRUE;
}

extern "C" BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

extern "C" BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT p) {
    auto r = Record(hwnd);
    if (!r || !p) return FALSE;
    POINT o = ClientOriginOnScreen(*r);
    p->x += o.x, p->y += o.y;
    return TRUE;
}

extern "C" BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT p) {
    auto r = Record(hwnd);
    if (!r || !p) return FALSE;
    POINT o = ClientOriginOnScreen(*r);
    p->x -= o.x, p->y -= o.y;
    return TRUE;
}

extern "C" int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a{0, 0}, b{0, 0};
    if (from && !ClientToScreen(from, &a)) return 0;
    if (to && !ClientToScreen(to, &b)) return 0;
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) points[i].x += dx, points[i].y += dy;
    SetLastError(0);
    return MAKELONG(dx, dy);
}

extern "C" BOOL WINAPI BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

extern "C" HWND WINAPI WindowFromPoint(POINT p) {
    HWND found = nullptr;
    for (HWND h : AllWindows()) {
        auto r = FindWindowRecord(h);
        if (!r || (r->style & WS_CHILD) || !IsWindowVisible(h)) continue;
        RECT s = ScreenRectOf(*r);
        if (p.x >= s.left && p.x < s.right && p.y >= s.top && p.y < s.bottom) found = h;
    }
    for (bool descended = true; found && descended;) {
        descended = false;
        for (HWND c : FindWindowRecord(found)->children) {
            RECT s;
            if (!IsWindowVisible(c) || !GetWindowRect(c, &s)) continue;
            if (p.x >= s.left && p.x < s.right && p.y >= s.top && p.y < s.bottom) {
                found = c;
                descended = true;
                break;
            }
        }
    }
    return found;
}
