// Window classes, by case-insensitive name or by atom.
#include <cctype>
#include <map>
#include <mutex>
#include <string>

#include "window_registry.h"
#include "winbase.h"

namespace platform {
namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string &a, const std::string &b) const {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
        });
    }
};

struct ClassTable {
    std::mutex lock;
    std::map<std::string, std::pair<ATOM, std::shared_ptr<const WindowClass>>, CaseInsensitiveLess> byName;
    ATOM nextAtom = 0xC000;
};

ClassTable &Classes() {
    static auto *table = new ClassTable;
    return *table;
}

std::string NameOf(const char *nameOrAtom) {
    if (!nameOrAtom) return {};
    if (IS_INTRESOURCE(nameOrAtom)) {
        ATOM atom = LOWORD(nameOrAtom);
        std::lock_guard lock(Classes().lock);
        for (auto &[name, entry] : Classes().byName)
            if (entry.first == atom) return name;
        return {};
    }
    return nameOrAtom;
}

} // namespace

void RegisterSystemClasses();

std::shared_ptr<const WindowClass> FindWindowClass(const char *nameOrAtom) {
    static std::once_flag systemClasses;
    std::call_once(systemClasses, RegisterSystemClasses);
    std::string name = NameOf(nameOrAtom);
    std::lock_guard lock(Classes().lock);
    auto it = Classes().byName.find(name);
    return it == Classes().byName.end() ? nullptr : it->second.second;
}

void RegisterSystemClass(const char *name, UINT style, WNDPROC proc, HostFactory factory, HCURSOR cursor) {
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->hostFactory = factory;
    cls->info = WNDCLASSEXA{sizeof(WNDCLASSEXA), style | CS_GLOBALCLASS, proc, 0, 0, nullptr, nullptr, cursor,
                            nullptr, nullptr, nullptr, nullptr};
    cls->info.lpszClassName = cls->name.c_str();
    auto &table = Classes();
    std::lock_guard lock(table.lock);
    table.byName[cls->name] = {table.nextAtom++, cls};
}

} // namespace platform

extern "C" ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *wc) {
    platform::FindWindowClass(nullptr); // the system classes come first
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
        !wc->lpfnWndProc || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto cls = std::make_shared<platform::WindowClass>();
    cls->info = *wc;
    cls->name = wc->lpszClassName;
    if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) cls->menuName = wc->lpszMenuName;
    cls->info.lpszClassName = cls->name.c_str();
    cls->info.lpszMenuName = cls->menuName.empty() ? wc->lpszMenuName : cls->menuName.c_str();
    auto &table = platform::Classes();
    std::lock_guard lock(table.lock);
    if (table.byName.count(cls->name)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ATOM atom = table.nextAtom++;
    table.byName[cls->name] = {atom, cls};
    return atom;
}

extern "C" ATOM WINAPI RegisterClassA(const WNDCLASSA *wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance,
                   wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassExA(&ex);
}

extern "C" BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) {
    std::string key = platform::NameOf(name);
    auto &table = platform::Classes();
    std::lock_guard lock(table.lock);
    if (!table.byName.erase(key)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    return TRUE;
}

// A null instance asks for the system's classes: an application's own class is found
// through its module only (unless it was registered CS_GLOBALCLASS).
extern "C" BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, LPWNDCLASSEXA out) {
    auto cls = platform::FindWindowClass(name);
    if (cls && !instance && !(cls->info.style & CS_GLOBALCLASS)) cls = nullptr;
    if (!cls || !out) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *out = cls->info;
    return TRUE;
}

extern "C" BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR name, LPWNDCLASSA out) {
    WNDCLASSEXA ex;
    if (!out || !GetClassInfoExA(instance, name, &ex)) return FALSE;
    *out = WNDCLASSA{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance,
                     ex.hIcon, ex.hCursor, ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}


namespace {

// The class fields a window can read and change; a change holds for every window of it.
ULONG_PTR *ClassField(WNDCLASSEXA &info, int index) {
    switch (index) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR *>(&info.hCursor);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR *>(&info.hbrBackground);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR *>(&info.hIcon);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR *>(&info.lpfnWndProc);
    default: return nullptr;
    }
}

} // namespace

extern "C" ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index) {
    auto r = platform::FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDCLASSEXA info = r->windowClass->info;
    if (index == GCL_STYLE) return info.style;
    ULONG_PTR *field = ClassField(info, index);
    return field ? *field : 0;
}

extern "C" ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    auto r = platform::FindWindowRecord(hwnd);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto &info = const_cast<platform::WindowClass &>(*r->windowClass).info;
    if (index == GCL_STYLE) {
        ULONG_PTR old = info.style;
        info.style = UINT(value);
        return old;
    }
    ULONG_PTR *field = ClassField(info, index);
    if (!field) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ULONG_PTR old = *field;
    *field = ULONG_PTR(value);
    return old;
}
