// The window's menu and accelerator table, built from its menu item records.
#pragma once

#include "window_list.h"

namespace units {

constexpr UINT kFirstMenuCommand = 20000;

// Builds (or rebuilds) window.menu and window.accelerators; nothing when the window
// has no menu items.
void BuildMenu(Window &window);
void DestroyMenuAndAccelerators(Window &window);
// Builds the menu afresh and gives it to the live window before the old one goes.
void RefreshMenu(Window &window);
// The unit position of a menu command identifier, or -1.
int MenuItemOfCommand(const Window &window, UINT command);
// "caption\tshortcut" for the key number 1 to 77 (empty name for others).
std::string ShortcutName(uint32_t key);

} // namespace units
