// The records behind HWND values. Handles are never reused, so a stale handle simply
// finds no record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "winuser.h"

class QWidget;

namespace platform {

// Makes the Qt side of a window of a built-in control class.
using HostFactory = QWidget *(*)(HWND hwnd, QWidget *parent);

struct WindowClass {
    WNDCLASSEXA info{};
    std::string name;
    std::string menuName;
    HostFactory hostFactory = nullptr; // null: a plain painted widget
};

struct WindowRecord {
    HWND handle = nullptr;
    DWORD threadId = 0;
    std::shared_ptr<const WindowClass> windowClass;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::string text;                 // GBK
    std::vector<uint8_t> extraBytes;  // cbWndExtra
    RECT rect{};                      // in the parent's client coordinates (screen for top-level)
    std::vector<HWND> children;       // in z-order, top first
    bool destroying = false;
    void *host = nullptr;             // the window layer's widget, if any
    bool hostDeferred = false;        // no widget yet: made when something first needs it
    HFONT font = nullptr;             // WM_SETFONT / WM_GETFONT
    HMENU menu = nullptr;             // a top-level window's menu bar
    HICON icons[2] = {nullptr, nullptr};
    HRGN region = nullptr;            // SetWindowRgn's, owned by the window
    RECT normalRect{};                // the restored rectangle of a minimised or maximised window
    bool everShown = false;
};

std::shared_ptr<WindowRecord> FindWindowRecord(HWND handle);
std::shared_ptr<const WindowClass> FindWindowClass(const char *name);
// Registers one of the system's control classes ("EDIT", "BUTTON" ...).
void RegisterSystemClass(const char *name, UINT style, WNDPROC proc, HostFactory factory, HCURSOR cursor);
// Every live window, in creation order.
std::vector<HWND> AllWindows();
HWND AddWindowRecord(std::shared_ptr<WindowRecord> record);
void RemoveWindowRecord(HWND handle);
// Every live window of a thread, in creation order.
std::vector<HWND> WindowsOfThread(DWORD threadId);

} // namespace platform
