// Window creation, destruction and the per-window data of user32.
#include <QWidget>

#include <algorithm>
#include <cstring>

#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
void ReleaseStateBeforeDestroy(HWND hwnd);
void KillTimersOf(HWND hwnd);
void EnterStateHidden(HWND hwnd, DWORD state);
RECT ScreenRectOf(const WindowRecord &r);
} // namespace platform
LRESULT DefaultWindowPosChanged(HWND hwnd, const WINDOWPOS *pos);

namespace {

using platform::FindWindowRecord;
using platform::WindowRecord;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return SendMessageA(hwnd, msg, wp, lp); }

void LinkToParent(const std::shared_ptr<WindowRecord> &record) {
    if (!(record->style & WS_CHILD) || !record->parent) return;
    if (auto parent = FindWindowRecord(record->parent)) parent->children.insert(parent->children.begin(), record->handle);
}

void UnlinkFromParent(const std::shared_ptr<WindowRecord> &record) {
    if (!record->parent) return;
    if (auto parent = FindWindowRecord(record->parent)) {
        auto &c = parent->children;
        c.erase(std::remove(c.begin(), c.end(), record->handle), c.end());
    }
}

// WM_PARENTNOTIFY for a child's creation or destruction goes to its parent, and on up
// while each window passed is a child without WS_EX_NOPARENTNOTIFY.
void NotifyParents(HWND child, WORD event) {
    WPARAM wp = MAKEWPARAM(event, WORD(GetWindowLongPtrA(child, GWLP_ID)));
    for (HWND at = child; at;) {
        auto r = FindWindowRecord(at);
        if (!r || !(r->style & WS_CHILD) || (r->exStyle & WS_EX_NOPARENTNOTIFY)) return;
        at = r->parent;
        if (at) Send(at, WM_PARENTNOTIFY, wp, reinterpret_cast<LPARAM>(child));
    }
}

// Only the window DestroyWindow was called for notifies; its children go with it unheard.
bool ParentIsGoing(const WindowRecord &r) {
    auto parent = (r.style & WS_CHILD) ? FindWindowRecord(r.parent) : nullptr;
    return parent && parent->destroying;
}

// Top-level windows that `owner` owns are destroyed with it, as in Win32.
std::vector<HWND> OwnedWindows(HWND owner, DWORD threadId) {
    std::vector<HWND> owned;
    for (HWND h : platform::WindowsOfThread(threadId))
        if (auto r = FindWindowRecord(h); r && r->owner == owner && !(r->style & WS_CHILD)) owned.push_back(h);
    return owned;
}

// Overlapped windows always have a caption, and framed ones a window edge, as in Win32.
void AdjustCreationStyles(DWORD &style, DWORD &exStyle) {
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CLIPSIBLINGS | WS_CAPTION;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME))) exStyle |= WS_EX_WINDOWEDGE;
}

// An overlapped or resizable window is made no smaller than its minimum tracking size.
// Win32 asks the window first (WM_GETMINMAXINFO); no window here answers, so it is not sent.
void AtLeastTrackingSize(DWORD style, int &w, int &h) {
    if (!(style & WS_THICKFRAME) && (style & (WS_POPUP | WS_CHILD))) return;
    w = std::max(w, GetSystemMetrics(SM_CXMINTRACK));
    h = std::max(h, GetSystemMetrics(SM_CYMINTRACK));
}

RECT InitialRect(DWORD style, int x, int y, int w, int h) {
    if (!(style & WS_CHILD)) {
        int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        if (x == CW_USEDEFAULT) {
            x = y = 26;
            if (w == CW_USEDEFAULT) w = sw * 3 / 4, h = sh * 3 / 4;
        }
        if (w == CW_USEDEFAULT) w = sw * 3 / 4, h = sh * 3 / 4;
    } else {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (w == CW_USEDEFAULT) w = h = 0;
    }
    AtLeastTrackingSize(style, w, h);
    return RECT{x, y, x + std::max(0, w), y + std::max(0, h)};
}

} // namespace

extern "C" HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                       LPVOID param) {
    auto cls = platform::FindWindowClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (parent == HWND_MESSAGE) parent = nullptr;
    if (parent && !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if ((style & WS_CHILD) && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    // An owner is always a top-level window.
    if (parent && !(style & WS_CHILD)) parent = GetAncestor(parent, GA_ROOT);
    AdjustCreationStyles(style, exStyle);
    platform::EnsureThreadQueue();
    auto record = std::make_shared<WindowRecord>();
    record->threadId = GetCurrentThreadId();
    record->windowClass = cls;
    record->proc = cls->info.lpfnWndProc;
    record->style = style & ~DWORD(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    record->exStyle = exStyle;
    record->parent = (style & WS_CHILD) ? parent : nullptr;
    record->owner = (style & WS_CHILD) ? nullptr : parent;
    record->id = (style & WS_CHILD) ? LONG_PTR(menu) : 0;
    record->menu = (style & WS_CHILD) ? nullptr : menu;
    record->instance = instance;
    record->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
    record->extraBytes.assign(size_t(cls->info.cbWndExtra), 0);
    record->rect = InitialRect(style, x, y, width, height);
    record->normalRect = record->rect;
    HWND hwnd = platform::AddWindowRecord(record);
    LinkToParent(record);
    platform::CreateHostWhenNeeded(*record);

    CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, LONG(style & ~DWORD(WS_VISIBLE)),
                     windowName, className, exStyle};
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    NCCALCSIZE_PARAMS calc{};
    calc.rgrc[0] = record->rect;
    Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc.rgrc[0]));
    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    RECT client = platform::ClientRectOf(*record);
    RECT in = platform::FrameInsets(record->style, record->exStyle, record->menu != nullptr);
    Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    Send(hwnd, WM_MOVE, 0, MAKELPARAM(record->rect.left + in.left, record->rect.top + in.top));
    // A window created minimised or maximised takes that state first and shows only
    // when it is visible.
    if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        DWORD state = (style & WS_MINIMIZE) ? WS_MINIMIZE : WS_MAXIMIZE;
        if (style & WS_VISIBLE) ShowWindow(hwnd, state == WS_MINIMIZE ? SW_MINIMIZE : SW_SHOWMAXIMIZED);
        else platform::EnterStateHidden(hwnd, state);
    }
    NotifyParents(hwnd, WM_CREATE);
    if (!IsWindow(hwnd)) return nullptr;
    if ((style & WS_VISIBLE) && IsWindow(hwnd) && !(record->style & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hwnd) {
    auto record = FindWindowRecord(hwnd);
    if (!record) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (record->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (record->destroying) return TRUE;
    if (!ParentIsGoing(*record)) NotifyParents(hwnd, WM_DESTROY);
    if (!IsWindow(hwnd) || record->destroying) return TRUE; // the parent destroyed it on notice
    record->destroying = true;
    for (HWND owned : OwnedWindows(hwnd, record->threadId)) DestroyWindow(owned);
    if (record->style & WS_VISIBLE) {
        record->style &= ~DWORD(WS_VISIBLE);
        platform::SyncHostVisibility(*record);
    }
    platform::ReleaseStateBeforeDestroy(hwnd);
    Send(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = record->children;
    for (HWND child : children) DestroyWindow(child);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    platform::KillTimersOf(hwnd);
    platform::ForgetWindowState(hwnd);
    UnlinkFromParent(record);
    platform::DestroyHost(*record);
    if (record->region) DeleteObject(record->region);
    platform::RemoveWindowRecord(hwnd);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hwnd) { return FindWindowRecord(hwnd) != nullptr; }

extern "C" HWND WINAPI GetParent(HWND hwnd) {
    auto record = FindWindowRecord(hwnd);
    if (!record) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return (record->style & WS_CHILD) ? record->parent : record->owner;
}

extern "C" DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    auto record = FindWindowRecord(hwnd);
    if (!record) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId) *processId = GetCurrentProcessId();
    return record->threadId;
}

extern "C" LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    auto r = FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(r->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(r->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>((r->style & WS_CHILD) ? r->parent : r->owner);
    case GWLP_ID: return r->id;
    case GWL_STYLE: return LONG(r->style);
    case GWL_EXSTYLE: return LONG(r->exStyle);
    case GWLP_USERDATA: return r->userData;
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= r->extraBytes.size()) {
            LONG_PTR v;
            std::memcpy(&v, r->extraBytes.data() + index, sizeof v);
            return v;
        }
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    if (LRESULT r; platform::CallOnOwnerThread(hwnd, [&] { return LRESULT(SetWindowLongPtrA(hwnd, index, value)); }, r)) return r;
    auto r = FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC: r->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: r->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
        if (!(r->style & WS_CHILD)) r->owner = reinterpret_cast<HWND>(value);
        break;
    case GWLP_ID: r->id = value; break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT change{DWORD(old), DWORD(value)};
        WPARAM which = WPARAM(LONG_PTR(index));
        SendMessageA(hwnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&change));
        if (!FindWindowRecord(hwnd)) return old;
        DWORD wasVisible = r->style & WS_VISIBLE;
        (index == GWL_STYLE ? r->style : r->exStyle) = change.styleNew;
        platform::SyncHostEnabled(*r);
        if ((r->style & WS_VISIBLE) != wasVisible) platform::SyncHostVisibility(*r);
        SendMessageA(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&change));
        break;
    }
    case GWLP_USERDATA: r->userData = value; break;
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= r->extraBytes.size()) {
            std::memcpy(r->extraBytes.data() + index, &value, sizeof value);
            break;
        }
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return old;
}

extern "C" LONG WINAPI GetWindowLongA(HWND hwnd, int index) { return LONG(GetWindowLongPtrA(hwnd, index)); }
extern "C" LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) { return LONG(SetWindowLongPtrA(hwnd, index, value)); }

extern "C" LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return proc ? proc(hwnd, msg, wp, lp) : 0;
}

namespace {

HBRUSH ClassBrush(const WindowRecord &r) {
    HBRUSH brush = r.windowClass->info.hbrBackground;
    if (uintptr_t(brush) > 0 && uintptr_t(brush) <= 31) return GetSysColorBrush(int(uintptr_t(brush)) - 1);
    return brush;
}

LRESULT EraseBackground(HWND hwnd, HDC hdc) {
    auto r = FindWindowRecord(hwnd);
    HBRUSH brush = r ? ClassBrush(*r) : nullptr;
    if (!brush || brush == GetStockObject(NULL_BRUSH)) return 0;
    RECT c = platform::ClientRectOf(*r);
    FillRect(hdc, &c, brush);
    return 1;
}

LRESULT CopyText(const std::string &text, WPARAM size, LPARAM out) {
    if (size == 0 || !out) return 0;
    size_t n = std::min(text.size(), size_t(size) - 1);
    std::memcpy(reinterpret_cast<char *>(out), text.data(), n);
    reinterpret_cast<char *>(out)[n] = '\0';
    return LRESULT(n);
}

// Moving a window as if its title bar were dragged: the window system runs the move.
LRESULT StartSystemMove(HWND hwnd) {
    platform::StartHostMove(hwnd);
    return 0;
}

LRESULT SystemCommand(HWND hwnd, WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MOVE: return StartSystemMove(hwnd);
    case SC_CLOSE: return Send(hwnd, WM_CLOSE, 0, 0);
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
    default: return 0;
    }
}

// The parent may answer first; otherwise the class cursor of the window under the
// mouse (wParam), not of the window asked, as in Win32: a parent's default answer
// to its child's question gives the child's cursor.
LRESULT DefaultSetCursor(HWND hwnd, WPARAM wp, LPARAM lp) {
    auto r = FindWindowRecord(hwnd);
    if (!r) return FALSE;
    if ((r->style & WS_CHILD) && r->parent && Send(r->parent, WM_SETCURSOR, wp, lp)) return TRUE;
    auto under = FindWindowRecord(HWND(wp));
    if (!under) under = r;
    if (LOWORD(lp) == HTCLIENT && under->windowClass->info.hCursor) {
        SetCursor(under->windowClass->info.hCursor);
        return TRUE;
    }
    return FALSE;
}

LRESULT ControlColour(HDC hdc, UINT msg) {
    bool edit = msg == WM_CTLCOLOREDIT;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE));
}

} // namespace

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_NCACTIVATE: return TRUE;
    case WM_MOUSEACTIVATE: {
        HWND parent = GetParent(hwnd);
        if (parent && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) {
            LRESULT r = Send(parent, WM_MOUSEACTIVATE, wp, lp);
            if (r) return r;
        }
        return 1; // MA_ACTIVATE
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
        return 0;
    case WM_SETTEXT:
        if (auto r = FindWindowRecord(hwnd)) {
            r->text = lp ? reinterpret_cast<const char *>(lp) : "";
            platform::SyncHostText(*r);
        }
        return TRUE;
    case WM_GETTEXTLENGTH: {
        auto r = FindWindowRecord(hwnd);
        return r ? LRESULT(r->text.size()) : 0;
    }
    case WM_GETTEXT: {
        auto r = FindWindowRecord(hwnd);
        return r ? CopyText(r->text, wp, lp) : 0;
    }
    case WM_ERASEBKGND: return EraseBackground(hwnd, HDC(wp));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: return DefaultWindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS *>(lp));
    case WM_SYSCOMMAND: return SystemCommand(hwnd, wp);
    case WM_SETREDRAW:
        if (QWidget *w = platform::HostOf(hwnd)) {
            w->setUpdatesEnabled(wp != 0);
            if (wp) w->update();
        }
        return 0;
    case WM_NCLBUTTONDOWN: return wp == HTCAPTION ? StartSystemMove(GetAncestor(hwnd, GA_ROOT)) : 0;
    case WM_SETCURSOR: return DefaultSetCursor(hwnd, wp, lp);
    case WM_MOUSEWHEEL: {
        HWND parent = GetParent(hwnd);
        if (parent && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) return Send(parent, msg, wp, lp);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ControlColour(HDC(wp), msg);
    case WM_GETICON: {
        auto r = FindWindowRecord(hwnd);
        return r ? reinterpret_cast<LRESULT>(r->icons[wp == ICON_BIG ? 1 : 0]) : 0;
    }
    case WM_SETICON: {
        auto r = FindWindowRecord(hwnd);
        if (!r) return 0;
        HICON &slot = r->icons[wp == ICON_BIG ? 1 : 0];
        HICON old = slot;
        slot = HICON(lp);
        platform::SyncHostIcon(*r);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &p);
        Send(hwnd, WM_CONTEXTMENU, WPARAM(hwnd), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CONTEXTMENU: {
        HWND parent = GetParent(hwnd);
        if (parent && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) Send(parent, msg, wp, lp);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wp == VK_F4 && (HIWORD(lp) & 0x2000)) PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    default: return 0;
    }
}
