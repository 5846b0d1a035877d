#include "window_object.h"

#include <map>
#include <mutex>

namespace fw {
namespace {

std::mutex mapLock;
std::map<HWND, WindowObject *> &HandleMap() {
    static auto *map = new std::map<HWND, WindowObject *>;
    return *map;
}

} // namespace

WindowObject::~WindowObject() {
    if (hwnd_) Detach();
}

WindowObject *WindowObject::FromHandlePermanent(HWND hwnd) {
    std::lock_guard lock(mapLock);
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

HWND WindowObject::HandleOfObject(const WindowObject *object) {
    std::lock_guard lock(mapLock);
    for (const auto &[hwnd, attached] : HandleMap())
        if (attached == object) return hwnd;
    return nullptr;
}

BOOL WindowObject::Attach(HWND hwnd) {
    if (!hwnd || hwnd_ || !IsWindow(hwnd)) return FALSE;
    std::lock_guard lock(mapLock);
    if (HandleMap().count(hwnd)) return FALSE;
    HandleMap()[hwnd] = this;
    hwnd_ = hwnd;
    return TRUE;
}

HWND WindowObject::Detach() {
    HWND hwnd = hwnd_;
    if (hwnd) {
        std::lock_guard lock(mapLock);
        HandleMap().erase(hwnd);
    }
    hwnd_ = nullptr;
    return hwnd;
}

BOOL WindowObject::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) return FALSE;
    superProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowObject::FrameworkWindowProc)));
    return TRUE;
}

HWND WindowObject::UnsubclassWindow() {
    if (hwnd_ && superProc_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    superProc_ = nullptr;
    return Detach();
}

BOOL WindowObject::PreTranslateMessage(MSG *) { return FALSE; }

LRESULT WindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT WindowObject::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return superProc_ ? CallWindowProcA(superProc_, hwnd_, message, wParam, lParam)
                      : DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowObject::FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject *object = FromHandlePermanent(hwnd);
    if (!object) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (object->superProc_) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object->superProc_));
        object->superProc_ = nullptr;
        object->Detach();
        object->PostNcDestroy();
    }
    return result;
}

} // namespace fw
