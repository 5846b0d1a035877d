// The window's one notification-area icon (identifier 100, callback message 0x8064).
#include <windows.h>
#include <shellapi.h>

#include "event_dispatch.h"
#include "window_unit.h"

namespace units {
namespace {

constexpr UINT kTrayIconId = 100;

NOTIFYICONDATAA IconData(CWinFormUnit &unit, HICON icon) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = unit.Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = kMessageTrayIcon;
    data.hIcon = icon;
    return data;
}

} // namespace

bool SetTrayIcon(CWinFormUnit &unit, HICON icon) {
    HICON old = unit.trayIcon;
    NOTIFYICONDATAA data = IconData(unit, icon);
    bool ok = true;
    if (!icon) {
        if (old) Shell_NotifyIconA(NIM_DELETE, &data);
    } else ok = Shell_NotifyIconA(old ? NIM_MODIFY : NIM_ADD, &data) != FALSE;
    if (!ok) return false;
    unit.trayIcon = icon;
    if (old && old != icon) DestroyIcon(old);
    return true;
}

// 1 left button released, 2 left double-click, 3 right button released or context menu.
void OnTrayIcon(CWinFormUnit &unit, LPARAM mouseMessage) {
    int32_t action = mouseMessage == WM_LBUTTONUP ? 1 : mouseMessage == WM_LBUTTONDBLCLK ? 2
                     : (mouseMessage == WM_RBUTTONUP || mouseMessage == WM_CONTEXTMENU) ? 3 : 0;
    if (action) Raise(unit.windowId, 0, kWindowTrayIcon, {uint32_t(action)});
}

} // namespace units
