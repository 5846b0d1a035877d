// Window creation, destruction and the per-window data of user32.
#include <algorithm>
#include <cstring>

#include "message_queue.h"
#include "window_registry.h"
#include "winbase.h"

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

// Top-level windows that `owner` owns are destroyed with it, as in Win32.
std::vector<HWND> OwnedWindows(HWND owner, DWORD threadId) {
    std::vector<HWND> owned;
    for (HWND h : platform::WindowsOfThread(threadId))
        if (auto r = FindWindowRecord(h); r && r->owner == owner && !(r->style & WS_CHILD)) owned.push_back(h);
    return owned;
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
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::EnsureThreadQueue();
    auto record = std::make_shared<WindowRecord>();
    record->threadId = GetCurrentThreadId();
    record->windowClass = cls;
    record->proc = cls->info.lpfnWndProc;
    record->style = style;
    record->exStyle = exStyle;
    record->parent = (style & WS_CHILD) ? parent : nullptr;
    record->owner = (style & WS_CHILD) ? nullptr : parent;
    record->id = (style & WS_CHILD) ? LONG_PTR(menu) : 0;
    record->instance = instance;
    record->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
    record->extraBytes.assign(size_t(cls->info.cbWndExtra), 0);
    record->rect = RECT{x == CW_USEDEFAULT ? 0 : x, y, (x == CW_USEDEFAULT ? 0 : x) + (width == CW_USEDEFAULT ? 0 : width),
                        y + (height == CW_USEDEFAULT ? 0 : height)};
    HWND hwnd = platform::AddWindowRecord(record);
    LinkToParent(record);

    CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, LONG(style), windowName, className, exStyle};
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) || Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return hwnd;
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
    record->destroying = true;
    for (HWND owned : OwnedWindows(hwnd, record->threadId)) DestroyWindow(owned);
    Send(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = record->children;
    for (HWND child : children) DestroyWindow(child);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    UnlinkFromParent(record);
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
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
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
    case GWL_STYLE: r->style = DWORD(value); break;
    case GWL_EXSTYLE: r->exStyle = DWORD(value); break;
    case GWLP_USERDATA: r->userData = value; break;
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= r->extraBytes.size()) {
            std::memcpy(r->extraBytes.data() + index, &value, sizeof value);
            break;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return old;
}

extern "C" LONG WINAPI GetWindowLongA(HWND hwnd, int index) { return LONG(GetWindowLongPtrA(hwnd, index)); }
extern "C" LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) { return LONG(SetWindowLongPtrA(hwnd, index, value)); }

extern "C" LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return proc ? proc(hwnd, msg, wp, lp) : 0;
}

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETTEXT:
        if (auto r = FindWindowRecord(hwnd)) r->text = lp ? reinterpret_cast<const char *>(lp) : "";
        return TRUE;
    case WM_GETTEXTLENGTH: {
        auto r = FindWindowRecord(hwnd);
        return r ? LRESULT(r->text.size()) : 0;
    }
    case WM_GETTEXT: {
        auto r = FindWindowRecord(hwnd);
        if (!r || wp == 0 || !lp) return 0;
        size_t n = std::min(r->text.size(), size_t(wp) - 1);
        std::memcpy(reinterpret_cast<char *>(lp), r->text.data(), n);
        reinterpret_cast<char *>(lp)[n] = '\0';
        return LRESULT(n);
    }
    default: return 0;
    }
}
