// Shell_NotifyIconA over QSystemTrayIcon. Each icon belongs to a window and an
// identifier; its mouse actions reach the window as the callback message, with the
// identifier as wParam and the mouse message as lParam. The icon's image is copied,
// so the caller may destroy its handle.
#include "shellapi.h"

#include <QPixmap>
#include <QSystemTrayIcon>

#include <cstring>
#include <initializer_list>
#include <list>

#include "host_text.h"
#include "icon_object.h"
#include "notify_icon.h"
#include "qt_host.h"
#include "windows.h"

namespace {

struct TrayEntry {
    HWND window = nullptr;
    UINT id = 0;
    UINT callback = 0;
    QSystemTrayIcon *icon = nullptr;
};

std::list<TrayEntry> &Entries() {
    static auto *entries = new std::list<TrayEntry>;
    return *entries;
}

std::list<TrayEntry>::iterator Find(HWND window, UINT id) {
    auto &entries = Entries();
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->window == window && it->id == id) return it;
    return entries.end();
}

void Post(const TrayEntry &e, std::initializer_list<UINT> mouseMessages) {
    if (!e.callback) return;
    for (UINT m : mouseMessages) PostMessageA(e.window, e.callback, WPARAM(e.id), LPARAM(m));
}

// What a click on a notification-area icon sends in Win32, press and release.
void Activated(const TrayEntry &e, QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger: Post(e, {WM_LBUTTONDOWN, WM_LBUTTONUP}); break;
    case QSystemTrayIcon::DoubleClick: Post(e, {WM_LBUTTONDBLCLK, WM_LBUTTONUP}); break;
    case QSystemTrayIcon::Context: Post(e, {WM_RBUTTONDOWN, WM_RBUTTONUP}); break;
    case QSystemTrayIcon::MiddleClick: Post(e, {WM_MBUTTONDOWN, WM_MBUTTONUP}); break;
    default: break;
    }
}

void Apply(TrayEntry &e, const NOTIFYICONDATAA &data) {
    if (data.uFlags & NIF_MESSAGE) e.callback = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) {
        platform::IconObject *object = platform::IconObjectOf(data.hIcon);
        e.icon->setIcon(object ? QIcon(QPixmap::fromImage(object->image)) : QIcon());
    }
    if (data.uFlags & NIF_TIP) {
        std::string tip(data.szTip, strnlen(data.szTip, sizeof data.szTip));
        e.icon->setToolTip(QString::fromStdU16String(platform::GbkToUtf16(tip)));
    }
    e.icon->setVisible(true);
}

BOOL Add(const NOTIFYICONDATAA &data) {
    if (!IsWindow(data.hWnd) || Find(data.hWnd, data.uID) != Entries().end()) return FALSE;
    TrayEntry &e = Entries().emplace_back();
    e.window = data.hWnd;
    e.id = data.uID;
    e.icon = new QSystemTrayIcon();
    HWND window = e.window;
    UINT id = e.id;
    QObject::connect(e.icon, &QSystemTrayIcon::activated, [window, id](QSystemTrayIcon::ActivationReason reason) {
        auto it = Find(window, id);
        if (it != Entries().end()) Activated(*it, reason);
    });
    Apply(e, data);
    return TRUE;
}

BOOL Remove(std::list<TrayEntry>::iterator it) {
    it->icon->hide();
    delete it->icon;
    Entries().erase(it);
    return TRUE;
}

} // namespace

QSystemTrayIcon *platform::TrayIconOf(HWND window, UINT id) {
    auto it = Find(window, id);
    return it == Entries().end() ? nullptr : it->icon;
}

// Icons live on the GUI thread, where the windows that own them live.
extern "C" BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
    if (!data || !platform::GuiApplication()) return FALSE;
    auto it = Find(data->hWnd, data->uID);
    switch (message) {
    case NIM_ADD: return Add(*data);
    case NIM_MODIFY:
        if (it == Entries().end()) return FALSE;
        Apply(*it, *data);
        return TRUE;
    case NIM_DELETE: return it == Entries().end() ? FALSE : Remove(it);
    default: return FALSE;
    }
}
