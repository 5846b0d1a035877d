// Menus: the items are kept here; a top-level window's menu bar is a QMenuBar built from
// them when the menu is set or DrawMenuBar is called. Choosing an item sends WM_COMMAND
// with 0 in the high word; a pop-up about to open sends WM_INITMENUPOPUP first.
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "host_text.h"
#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace {

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

std::mutex menusLock;
std::set<Menu *> &Menus() {
    static auto *menus = new std::set<Menu *>;
    return *menus;
}

Menu *MenuOf(HMENU handle) {
    std::lock_guard lock(menusLock);
    auto *m = reinterpret_cast<Menu *>(handle);
    return Menus().count(m) ? m : nullptr;
}

HMENU NewMenu(bool popup) {
    auto *m = new Menu{popup, {}};
    std::lock_guard lock(menusLock);
    Menus().insert(m);
    return reinterpret_cast<HMENU>(m);
}

// The item an MF_BYCOMMAND or MF_BYPOSITION reference names.
MenuItem *ItemOf(Menu *menu, UINT which, UINT flags) {
    if (flags & MF_BYPOSITION) return which < menu->items.size() ? &menu->items[which] : nullptr;
    for (MenuItem &item : menu->items)
        if (!(item.flags & MF_POPUP) && item.id == which) return &item;
    return nullptr;
}

QString QtText(const std::string &gbk) { return QString::fromStdU16String(platform::GbkToUtf16(gbk)); }

void FillQtMenu(HWND hwnd, QWidget *menuWidget, Menu *menu);

// A pop-up's actions are rebuilt each time it opens, after WM_INITMENUPOPUP.
QMenu *PopupOf(HWND hwnd, Menu *popup, int position, const std::string &text, QWidget *parent) {
    auto *qmenu = new QMenu(QtText(text), parent);
    QObject::connect(qmenu, &QMenu::aboutToShow, qmenu, [hwnd, popup, position, qmenu] {
        if (!MenuOf(reinterpret_cast<HMENU>(popup)) || !IsWindow(hwnd)) return;
        SendMessageA(hwnd, WM_INITMENUPOPUP, WPARAM(popup), MAKELPARAM(position, 0));
        qmenu->clear();
        FillQtMenu(hwnd, qmenu, popup);
    });
    return qmenu;
}

void FillQtMenu(HWND hwnd, QWidget *menuWidget, Menu *menu) {
    int position = 0;
    for (MenuItem &item : menu->items) {
        QAction *action;
        if (item.flags & MF_SEPARATOR) {
            action = new QAction(menuWidget);
            action->setSeparator(true);
        } else if (item.flags & MF_POPUP) {
            Menu *popup = MenuOf(reinterpret_cast<HMENU>(item.id));
            if (!popup) continue;
            action = PopupOf(hwnd, popup, position, item.text, menuWidget)->menuAction();
        } else {
            action = new QAction(QtText(item.text), menuWidget);
            UINT_PTR id = item.id;
            action->setData(QVariant::fromValue(qulonglong(id)));
            QObject::connect(action, &QAction::triggered, [hwnd, id] {
                if (IsWindow(hwnd)) SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(WORD(id), 0), 0);
            });
        }
        action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        if (item.flags & MF_CHECKED) action->setCheckable(true), action->setChecked(true);
        menuWidget->addAction(action);
        ++position;
    }
}

} // namespace

namespace platform {

bool IsNativeInputWidget(const QWidget *widget) {
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (qobject_cast<const QMenuBar *>(w) || qobject_cast<const QMenu *>(w)) return true;
    return false;
}

void PlaceMenuBar(const WindowRecord &record) {
    auto *host = static_cast<QWidget *>(record.host);
    if (!host || (record.style & WS_CHILD)) return;
    QMenuBar *bar = host->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    Menu *menu = MenuOf(record.menu);
    if (!menu) {
        delete bar;
        return;
    }
    if (!bar) bar = new QMenuBar(host);
    bar->clear();
    FillQtMenu(record.handle, bar, menu);
    bar->setGeometry(0, 0, host->width(), GetSystemMetrics(SM_CYMENU));
    bar->show();
}

} // namespace platform

extern "C" HMENU WINAPI CreateMenu(void) { return NewMenu(false); }
extern "C" HMENU WINAPI CreatePopupMenu(void) { return NewMenu(true); }

extern "C" BOOL WINAPI DestroyMenu(HMENU handle) {
    Menu *menu = MenuOf(handle);
    if (!menu) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    for (MenuItem &item : menu->items)
        if (item.flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(item.id));
    {
        std::lock_guard lock(menusLock);
        Menus().erase(menu);
    }
    delete menu;
    return TRUE;
}

// The menu runs its own loop until an item is chosen or it is dismissed. With
// TPM_RETURNCMD the chosen item's identifier is the answer and no WM_COMMAND is sent.
extern "C" BOOL WINAPI TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int, HWND hwnd, const RECT *) {
    Menu *menu = MenuOf(handle);
    if (!menu || !IsWindow(hwnd) || !platform::HostOf(hwnd)) {
        SetLastError(menu ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!(flags & TPM_NONOTIFY)) SendMessageA(hwnd, WM_INITMENUPOPUP, WPARAM(handle), 0);
    QMenu qmenu(platform::HostOf(hwnd));
    FillQtMenu((flags & TPM_RETURNCMD) ? nullptr : hwnd, &qmenu, menu);
    QAction *chosen = qmenu.exec(QPoint(x, y));
    if (!(flags & TPM_RETURNCMD)) return chosen != nullptr;
    return chosen ? BOOL(chosen->data().toULongLong()) : 0;
}

extern "C" BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR text) {
    Menu *menu = MenuOf(handle);
    if (!menu) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    bool isString = !(flags & MF_SEPARATOR) && text && !IS_INTRESOURCE(text);
    menu->items.push_back(MenuItem{flags, id, isString ? text : ""});
    return TRUE;
}

extern "C" BOOL WINAPI RemoveMenu(HMENU handle, UINT which, UINT flags) {
    Menu *menu = MenuOf(handle);
    MenuItem *item = menu ? ItemOf(menu, which, flags) : nullptr;
    if (!item) return FALSE;
    menu->items.erase(menu->items.begin() + (item - menu->items.data()));
    return TRUE;
}

extern "C" BOOL WINAPI DeleteMenu(HMENU handle, UINT which, UINT flags) {
    Menu *menu = MenuOf(handle);
    MenuItem *item = menu ? ItemOf(menu, which, flags) : nullptr;
    if (!item) return FALSE;
    if (item->flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(item->id));
    return RemoveMenu(handle, which, flags);
}

extern "C" UINT WINAPI EnableMenuItem(HMENU handle, UINT which, UINT enable) {
    Menu *menu = MenuOf(handle);
    MenuItem *item = menu ? ItemOf(menu, which, enable) : nullptr;
    if (!item) return UINT(-1);
    UINT old = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~UINT(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

extern "C" DWORD WINAPI CheckMenuItem(HMENU handle, UINT which, UINT check) {
    Menu *menu = MenuOf(handle);
    MenuItem *item = menu ? ItemOf(menu, which, check) : nullptr;
    if (!item) return DWORD(-1);
    DWORD old = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
    return old;
}

extern "C" int WINAPI GetMenuItemCount(HMENU handle) {
    Menu *menu = MenuOf(handle);
    return menu ? int(menu->items.size()) : -1;
}

extern "C" BOOL WINAPI SetMenu(HWND hwnd, HMENU handle) {
    if (LRESULT r; platform::CallOnOwnerThread(hwnd, [&] { return LRESULT(SetMenu(hwnd, handle)); }, r)) return BOOL(r);
    auto r = platform::FindWindowRecord(hwnd);
    if (!r || (r->style & WS_CHILD) || (handle && !MenuOf(handle))) {
        SetLastError(r ? ERROR_INVALID_MENU_HANDLE : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    r->menu = handle;
    platform::PlaceMenuBar(*r);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

extern "C" HMENU WINAPI GetMenu(HWND hwnd) {
    auto r = platform::FindWindowRecord(hwnd);
    return r && !(r->style & WS_CHILD) ? r->menu : nullptr;
}

// Every window with a system menu has its own copy of the standard entries.
extern "C" HMENU WINAPI GetSystemMenu(HWND hwnd, BOOL revert) {
    static std::map<HWND, HMENU> systemMenus;
    auto r = platform::FindWindowRecord(hwnd);
    if (!r || !(r->style & WS_SYSMENU)) return nullptr;
    auto it = systemMenus.find(hwnd);
    if (revert) {
        if (it != systemMenus.end()) {
            DestroyMenu(it->second);
            systemMenus.erase(it);
        }
        return nullptr;
    }
    if (it != systemMenus.end() && MenuOf(it->second)) return it->second;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenuA(menu, MF_STRING, SC_MOVE, "&Move");
    AppendMenuA(menu, MF_STRING, SC_SIZE, "&Size");
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    systemMenus[hwnd] = menu;
    return menu;
}

extern "C" BOOL WINAPI DrawMenuBar(HWND hwnd) {
    if (LRESULT r; platform::CallOnOwnerThread(hwnd, [&] { return LRESULT(DrawMenuBar(hwnd)); }, r)) return BOOL(r);
    auto r = platform::FindWindowRecord(hwnd);
    if (!r) return FALSE;
    platform::PlaceMenuBar(*r);
    return TRUE;
}
