// The EDIT's context menu: the system's editing commands, each enabled by the box's
// state. It asks the box only through its messages, so it works for any EDIT.
#include "control_support.h"
#include "windows.h"

namespace platform {
namespace {

struct MenuEntry {
    UINT command; // the message the item sends to the box
    const char *text; // GBK
};

// 撤消(U), 剪切(T), 复制(C), 粘贴(P), 删除(D), 全选(A); 0 is a separator.
const MenuEntry kEntries[] = {
    {WM_UNDO, "\xB3\xB7\xCF\xFB(&U)"}, {0, nullptr},
    {WM_CUT, "\xBC\xF4\xC7\xD0(&T)"},  {WM_COPY, "\xB8\xB4\xD6\xC6(&C)"},
    {WM_PASTE, "\xD5\xB3\xCC\xF9(&P)"}, {WM_CLEAR, "\xC9\xBE\xB3\xFD(&D)"},
    {0, nullptr},                       {EM_SETSEL, "\xC8\xAB\xD1\xA1(&A)"},
};

struct EditState {
    bool readOnly, password, selection, canUndo, everythingSelected;
};

EditState StateOf(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    auto length = DWORD(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
    return EditState{(style & ES_READONLY) != 0, SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0) != 0, start != end,
                     SendMessageA(edit, EM_CANUNDO, 0, 0) != 0, start == 0 && end == length};
}

bool Enabled(UINT command, const EditState &s) {
    switch (command) {
    case WM_UNDO: return s.canUndo && !s.readOnly;
    case WM_CUT: return s.selection && !s.password && !s.readOnly;
    case WM_COPY: return s.selection && !s.password;
    case WM_PASTE: return !s.readOnly && IsClipboardFormatAvailable(CF_TEXT);
    case WM_CLEAR: return s.selection && !s.readOnly;
    default: return !s.everythingSelected;
    }
}

HMENU BuildMenu(HWND edit) {
    EditState state = StateOf(edit);
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry &e : kEntries) {
        if (!e.command) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else AppendMenuA(menu, MF_STRING | (Enabled(e.command, state) ? MF_ENABLED : MF_GRAYED), e.command, e.text);
    }
    return menu;
}

// Without a position (the menu key) the menu opens at the box's centre.
POINT MenuPosition(HWND edit, LPARAM where) {
    if (GET_X_LPARAM(where) != -1 || GET_Y_LPARAM(where) != -1) return POINT{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    RECT r{};
    GetClientRect(edit, &r);
    POINT p{r.right / 2, r.bottom / 2};
    ClientToScreen(edit, &p);
    return p;
}

void Carry(HWND edit, UINT command) {
    if (command == EM_SETSEL) SendMessageA(edit, EM_SETSEL, 0, -1);
    else if (command) SendMessageA(edit, command, 0, 0);
}

} // namespace

void ShowEditContextMenu(HWND edit, LPARAM where) {
    if (GetFocus() != edit) SetFocus(edit);
    HMENU menu = BuildMenu(edit);
    POINT p = MenuPosition(edit, where);
    UINT chosen = UINT(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0,
                                      edit, nullptr));
    DestroyMenu(menu);
    if (IsWindow(edit)) Carry(edit, chosen);
}

} // namespace platform
