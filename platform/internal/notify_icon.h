// The Qt object behind a notification-area icon, for tests that act as the user.
#pragma once

#include "windef.h"

class QSystemTrayIcon;

namespace platform {

// Null when the window has no icon of that identifier.
QSystemTrayIcon *TrayIconOf(HWND window, UINT id);

} // namespace platform
