// Helpers shared by the system control classes.
#pragma once

#include "windows.h"

class QWidget;

namespace platform {

// WM_COMMAND with (id, code) to the control's parent.
void NotifyParent(HWND control, WORD code);
// Lets a key-down through to the widget as the Qt key it stands for, without text.
void ReplayKeyDown(QWidget *target, WPARAM vk);
// Lets a mouse or wheel message through to `target` (the widget that takes mouse input).
bool ReplayMouse(HWND hwnd, QWidget *target, UINT msg, WPARAM wp, LPARAM lp);
// The colours the parent picks through WM_CTLCOLOR*: false when it picks none.
bool ColoursFromParent(HWND control, UINT ctlColorMessage, COLORREF &text, COLORREF &background);
// The window's font as Qt uses it (WM_SETFONT, or the default GUI font).
void ApplyFont(HWND hwnd, HFONT font, bool redraw);
// Default processing of the messages every control treats alike.
bool CommonControlMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT &result);

// The EDIT's answer to WM_CONTEXTMENU: its menu of editing commands at `where`
// (screen coordinates; -1 puts it at the caret's window).
void ShowEditContextMenu(HWND edit, LPARAM where);

} // namespace platform
