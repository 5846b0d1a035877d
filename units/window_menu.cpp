#include "window_menu.h"

#include <vector>

namespace units {
namespace {

struct Shortcut {
    BYTE modifiers;
    WORD key;
};

// Key numbers 1 to 77: Ctrl+A..Z, F1..F12, Ctrl+F1..F12, Shift+F1..F12, Ctrl+0..9,
// Insert, Delete, Shift+Insert, Shift+Delete, Alt+Backspace.
Shortcut ShortcutOf(uint32_t n) {
    if (n >= 1 && n <= 26) return {FCONTROL, WORD('A' + n - 1)};
    if (n >= 27 && n <= 38) return {0, WORD(0x70 + n - 27)};
    if (n >= 39 && n <= 50) return {FCONTROL, WORD(0x70 + n - 39)};
    if (n >= 51 && n <= 62) return {FSHIFT, WORD(0x70 + n - 51)};
    if (n >= 63 && n <= 72) return {FCONTROL, WORD('0' + n - 63)};
    switch (n) {
    case 73: return {0, 0x2D};
    case 74: return {0, 0x2E};
    case 75: return {FSHIFT, 0x2D};
    case 76: return {FSHIFT, 0x2E};
    case 77: return {FALT, 0x08};
    default: return {0, 0};
    }
}

std::string KeyName(WORD key) {
    if (key >= 0x70 && key <= 0x7B) return "F" + std::to_string(key - 0x6F);
    if (key == 0x2D) return "Ins";
    if (key == 0x2E) return "Del";
    if (key == 0x08) return "BkSp";
    return std::string(1, char(key));
}

constexpr uint32_t kMenuChecked = 0x4, kMenuDisabled = 0x2, kMenuHidden = 0x1;

// Menu items form one run of the unit list; the first one's position, or the list's size.
size_t FirstMenuItem(const Window &window) {
    for (size_t i = 0; i < window.units.size(); ++i)
        if (window.units[i].record.IsMenuItem()) return i;
    return window.units.size();
}

} // namespace

std::string ShortcutName(uint32_t n) {
    Shortcut s = ShortcutOf(n);
    if (!s.key) return {};
    std::string name;
    if (s.modifiers & FCONTROL) name += "Ctrl+";
    if (s.modifiers & FSHIFT) name += "Shift+";
    if (s.modifiers & FALT) name += "Alt+";
    return name + KeyName(s.key);
}

void DestroyMenuAndAccelerators(Window &window) {
    if (window.accelerators) DestroyAcceleratorTable(window.accelerators);
    if (window.menu) DestroyMenu(window.menu);
    window.accelerators = nullptr;
    window.menu = nullptr;
}

void BuildMenu(Window &window) {
    DestroyMenuAndAccelerators(window);
    std::vector<ACCEL> keys;
    size_t first = FirstMenuItem(window);
    for (size_t i = first; i < window.units.size(); ++i) {
        const UnitRecord &r = window.units[i].record;
        if (!r.IsMenuItem() || (r.state & kMenuHidden)) continue;
        if (!window.menu) window.menu = CreateMenu();
        UINT command = kFirstMenuCommand + UINT(i - first);
        UINT flags = MF_STRING | ((r.state & kMenuChecked) ? MF_CHECKED : 0) |
                     ((r.state & kMenuDisabled) ? MF_GRAYED : 0);
        AppendMenuA(window.menu, flags, command, r.caption.c_str());
        Shortcut s = ShortcutOf(r.menuWords[1]);
        if (s.key) keys.push_back({BYTE(FVIRTKEY | s.modifiers), s.key, WORD(command)});
    }
    if (!keys.empty()) window.accelerators = CreateAcceleratorTableA(keys.data(), int(keys.size()));
}

void RefreshMenu(Window &window) {
    HMENU oldMenu = window.menu;
    HACCEL oldKeys = window.accelerators;
    window.menu = nullptr;
    window.accelerators = nullptr;
    BuildMenu(window);
    if (HWND h = WindowHandle(window); h && IsWindow(h)) SetMenu(h, window.menu);
    if (oldKeys) DestroyAcceleratorTable(oldKeys);
    if (oldMenu) DestroyMenu(oldMenu);
}

int MenuItemOfCommand(const Window &window, UINT command) {
    if (command < kFirstMenuCommand) return -1;
    size_t i = FirstMenuItem(window) + (command - kFirstMenuCommand);
    return i < window.units.size() && window.units[i].record.IsMenuItem() ? int(i) : -1;
}

} // namespace units
