// Relations between windows (parent, owner, siblings, control identifiers) and window text.
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include <strings.h>

#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

using namespace platform;

namespace {

std::vector<HWND> SiblingsOf(const WindowRecord &r) {
    if (r.style & WS_CHILD) {
        auto parent = FindWindowRecord(r.parent);
        return parent ? parent->children : std::vector<HWND>{};
    }
    std::vector<HWND> tops;
    for (HWND h : AllWindows())
        if (auto w = FindWindowRecord(h); w && !(w->style & WS_CHILD)) tops.insert(tops.begin(), h);
    return tops;
}

} // namespace

extern "C" HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
    auto r = FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (cmd == GW_CHILD) return r->children.empty() ? nullptr : r->children.front();
    if (cmd == GW_OWNER) return (r->style & WS_CHILD) ? nullptr : r->owner;
    std::vector<HWND> s = SiblingsOf(*r);
    if (s.empty()) return nullptr;
    auto it = std::find(s.begin(), s.end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST: return s.front();
    case GW_HWNDLAST: return s.back();
    case GW_HWNDNEXT: return it == s.end() || it + 1 == s.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == s.begin() || it == s.end() ? nullptr : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

extern "C" BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
    for (auto r = FindWindowRecord(hwnd); r && (r->style & WS_CHILD); r = FindWindowRecord(r->parent))
        if (r->parent == parent) return TRUE;
    return FALSE;
}

extern "C" HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
    auto r = FindWindowRecord(hwnd);
    if (!r) return nullptr;
    if (flags == GA_PARENT) return (r->style & WS_CHILD) ? r->parent : GetDesktopWindow();
    while ((r->style & WS_CHILD) && FindWindowRecord(r->parent)) r = FindWindowRecord(r->parent);
    if (flags == GA_ROOTOWNER)
        while (r->owner && FindWindowRecord(r->owner)) r = FindWindowRecord(r->owner);
    return r->handle;
}

extern "C" HWND WINAPI GetDesktopWindow(void) { return reinterpret_cast<HWND>(uintptr_t(0x10010 - 4)); }

extern "C" HWND WINAPI SetParent(HWND child, HWND parent) {
    if (LRESULT r; CallOnOwnerThread(child, [&] { return reinterpret_cast<LRESULT>(SetParent(child, parent)); }, r)) return HWND(r);
    auto r = FindWindowRecord(child);
    if (!r || (parent && !IsWindow(parent))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND old = (r->style & WS_CHILD) ? r->parent : GetDesktopWindow();
    if (r->parent)
        if (auto p = FindWindowRecord(r->parent)) p->children.erase(std::remove(p->children.begin(), p->children.end(), child), p->children.end());
    r->parent = parent;
    if (parent) {
        r->style |= WS_CHILD;
        FindWindowRecord(parent)->children.insert(FindWindowRecord(parent)->children.begin(), child);
    } else {
        r->style &= ~DWORD(WS_CHILD);
    }
    if (QWidget *w = HostOf(child)) {
        bool visible = r->style & WS_VISIBLE;
        w->setParent(parent ? HostOf(parent) : nullptr);
        SyncHostGeometry(*r);
        w->setVisible(visible);
    }
    return old;
}

extern "C" HWND WINAPI GetDlgItem(HWND dialog, int id) {
    auto r = FindWindowRecord(dialog);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND c : r->children)
        if (auto cr = FindWindowRecord(c); cr && cr->id == id) return c;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hwnd) {
    auto r = FindWindowRecord(hwnd);
    return r && (r->style & WS_CHILD) ? int(r->id) : 0;
}

extern "C" int WINAPI GetClassNameA(HWND hwnd, LPSTR out, int size) {
    auto r = FindWindowRecord(hwnd);
    if (!r || !out || size <= 0) return 0;
    int n = std::min<int>(int(r->windowClass->name.size()), size - 1);
    std::memcpy(out, r->windowClass->name.data(), size_t(n));
    out[n] = '\0';
    return n;
}

extern "C" HWND WINAPI FindWindowA(LPCSTR className, LPCSTR title) {
    for (HWND h : AllWindows()) {
        auto r = FindWindowRecord(h);
        if (!r || (r->style & WS_CHILD)) continue;
        if (className && !IS_INTRESOURCE(className) && strcasecmp(r->windowClass->name.c_str(), className) != 0) continue;
        if (title && r->text != title) continue;
        return h;
    }
    return nullptr;
}

extern "C" BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

extern "C" int WINAPI GetWindowTextA(HWND hwnd, LPSTR out, int size) {
    if (!out || size <= 0) return 0;
    out[0] = '\0';
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return int(SendMessageA(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(out)));
}

extern "C" int WINAPI GetWindowTextLengthA(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return int(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace {

// Children in z-order, each followed by its own children, as EnumChildWindows visits them.
void CollectDescendants(HWND parent, std::vector<HWND> &out) {
    auto r = FindWindowRecord(parent);
    if (!r) return;
    for (HWND c : std::vector<HWND>(r->children)) {
        out.push_back(c);
        CollectDescendants(c, out);
    }
}

} // namespace

extern "C" BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lp) {
    if (!proc) return FALSE;
    std::vector<HWND> all;
    CollectDescendants(parent, all);
    for (HWND h : all)
        if (IsWindow(h) && !proc(h, lp)) return FALSE;
    return TRUE;
}

extern "C" BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lp) {
    if (!proc) return FALSE;
    std::vector<HWND> tops;
    for (HWND h : AllWindows())
        if (auto r = FindWindowRecord(h); r && !(r->style & WS_CHILD)) tops.insert(tops.begin(), h);
    for (HWND h : tops)
        if (IsWindow(h) && !proc(h, lp)) return FALSE;
    return TRUE;
}

extern "C" UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    static std::mutex lock;
    static std::map<std::string, UINT, bool (*)(const std::string &, const std::string &)> messages(
        [](const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard guard(lock);
    auto it = messages.find(name);
    if (it != messages.end()) return it->second;
    UINT id = UINT(0xC000 + messages.size());
    messages.emplace(name, id);
    return id;
}
