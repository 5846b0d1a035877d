// The "EDIT" control's message handling. Text and positions are those of an ANSI
// control: GBK bytes, and in a multi-line box every line break counts as the two bytes of
// "\r\n". Typed characters arrive as WM_CHAR and are inserted here, so a procedure in
// front of this one can change or swallow them; navigation keys and the mouse are let
// through to the Qt widget.
#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>
#include <cstring>

#include "control_support.h"
#include "edit_control.h"
#include "host_text.h"
#include "window_registry.h"

namespace platform {
namespace {

using namespace edit;

QString ApplyCase(HWND hwnd, QString text) {
    DWORD style = StyleOf(hwnd);
    if (style & ES_UPPERCASE) return text.toUpper();
    if (style & ES_LOWERCASE) return text.toLower();
    return text;
}

// WM_COMMAND to the parent. A box that is no child notifies the parent given at its
// creation; a child notifies its parent of now, which follows SetParent.
void Notify(EditControl *e, WORD code) {
    HWND hwnd = e->state.hwnd;
    HWND to = (StyleOf(hwnd) & WS_CHILD) ? GetParent(hwnd) : e->state.notifyTo;
    if (e->state.destroyed || !to || !IsWindow(to)) return;
    WORD id = WORD(GetWindowLongPtrA(hwnd, GWLP_ID));
    SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

// Raises EN_UPDATE and EN_CHANGE when the text changed since `before`.
void NotifyChange(EditControl *e, unsigned before) {
    if (e->state.version == before || e->state.silent) return;
    HWND hwnd = e->state.hwnd;
    Notify(e, EN_UPDATE);
    if (IsWindow(hwnd)) Notify(e, EN_CHANGE);
}

void NotifyChangeAlways(EditControl *e) {
    if (e->state.silent) return;
    Notify(e, EN_UPDATE);
    if (IsWindow(e->state.hwnd)) Notify(e, EN_CHANGE);
}

// Cuts `text` to the room the limit leaves beside the rest of the text (EN_MAXTEXT when
// cut short); false when nothing is left.
bool WithinLimit(EditControl *e, QString &text) {
    int s, t;
    e->Selection(s, t);
    long used = e->AnsiLength() - (e->BytesAt(t) - e->BytesAt(s));
    long room = long(e->state.limitBytes) - used;
    if (BytesBefore(text, int(text.size()), e->Multiline()) <= room) return true;
    text = text.left(PositionOfBytes(text, std::max(0L, room), e->Multiline()));
    Notify(e, EN_MAXTEXT);
    return !text.isEmpty();
}

// A text cut to nothing, by the limit or for want of room, still reports a change, as
// Win32 does.
bool Refused(EditControl *e) {
    NotifyChangeAlways(e);
    return false;
}

// Replaces the selection, keeping the text within the limit and, without automatic
// scrolling, within the box.
bool ReplaceSelection(EditControl *e, QString text, bool honourLimit) {
    text = ApplyCase(e->state.hwnd, text);
    if (!e->Multiline()) text.replace(QLatin1String("\n"), QString());
    if (honourLimit && !WithinLimit(e, text)) return Refused(e);
    if (honourLimit && !FitsBox(e, text)) {
        Notify(e, EN_MAXTEXT);
        if (text.isEmpty()) return Refused(e);
    }
    unsigned before = e->state.version;
    e->Insert(text);
    e->state.modified = true;
    e->ScrollCaret();
    NotifyChange(e, before);
    return true;
}

void TypeCharacter(EditControl *e, QChar c) {
    HWND hwnd = e->state.hwnd;
    DWORD style = StyleOf(hwnd);
    if (style & ES_READONLY) {
        MessageBeep(0);
        return;
    }
    if ((style & ES_NUMBER) && !c.isDigit()) {
        MessageBeep(0);
        return;
    }
    ReplaceSelection(e, QString(c), true);
}

void Paste(EditControl *e) {
    if (StyleOf(e->state.hwnd) & ES_READONLY) return;
    QString text = QApplication::clipboard()->text();
    // An empty clipboard clears the selection of a password box only.
    if (text.isEmpty() && !(StyleOf(e->state.hwnd) & ES_PASSWORD)) return;
    // A single line box takes the text up to its first line break.
    if (!e->Multiline()) text = text.left(text.indexOf(QRegularExpression(QStringLiteral("[\r\n]"))));
    // Only what the ANSI code page holds can be pasted.
    ReplaceSelection(e, FromAnsi(ToAnsi(text, false).c_str(), e->Multiline()), true);
}

// The clipboard gets the selection as the box holds it, "\r\n" and lone breaks alike.
void CopySelection(EditControl *e) {
    int start = 0, end = 0;
    e->Selection(start, end);
    if (start > end) std::swap(start, end);
    if (start == end || (StyleOf(e->state.hwnd) & ES_PASSWORD)) return;
    QApplication::clipboard()->setText(WindowsText(e->Text().mid(start, end - start), e->Multiline()));
}

void ControlCharacter(EditControl *e, BYTE c) {
    HWND hwnd = e->state.hwnd;
    DWORD style = StyleOf(hwnd);
    bool readOnly = style & ES_READONLY;
    unsigned before = e->state.version;
    switch (c) {
    case '\b':
        if (!readOnly) {
            e->Backspace();
            e->state.modified = true;
            NotifyChange(e, before);
        }
        break;
    case '\r':
    case '\n':
        // In a dialog Return without ES_WANTRETURN belongs to the dialog's default button.
        if (e->state.dialogMode && !(style & ES_WANTRETURN)) break;
        if (e->Multiline() && !readOnly) ReplaceSelection(e, QStringLiteral("\n"), true);
        break;
    case '\t':
        if (e->Multiline() && !readOnly) ReplaceSelection(e, QStringLiteral("\t"), true);
        break;
    case 0x01: e->Select(0, int(e->Text().size())); break;
    case 0x03: SendMessageA(hwnd, WM_COPY, 0, 0); break;
    case 0x16: SendMessageA(hwnd, WM_PASTE, 0, 0); break;
    case 0x18: SendMessageA(hwnd, WM_CUT, 0, 0); break;
    case 0x1A: SendMessageA(hwnd, WM_UNDO, 0, 0); break;
    default: break;
    }
}

LRESULT OnChar(EditControl *e, WPARAM wp) {
    BYTE b = BYTE(wp);
    if (e->state.leadByte >= 0) {
        char pair[3] = {char(e->state.leadByte), char(b), 0};
        e->state.leadByte = -1;
        QString s = QString::fromStdU16String(GbkToUtf16(pair));
        if (!s.isEmpty()) TypeCharacter(e, s[0]);
        return 1;
    }
    if (b >= 0x81 && b <= 0xFE) {
        e->state.leadByte = b;
        return 1;
    }
    if (b < 0x20 || b == 0x7F) ControlCharacter(e, b);
    else TypeCharacter(e, QChar(b));
    return 1;
}

bool IsEditingKey(WPARAM vk) {
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_DELETE: case VK_INSERT: return true;
    default: return false;
    }
}

// Return in dialog mode: the parent's default button takes the focus and the key.
void DialogReturn(EditControl *e) {
    HWND hwnd = e->state.hwnd, parent = GetParent(hwnd);
    bool wants = e->Multiline() && (StyleOf(hwnd) & ES_WANTRETURN);
    if (!e->state.dialogMode || wants || !parent || GetKeyState(VK_CONTROL) < 0) return;
    LRESULT id = SendMessageA(parent, DM_GETDEFID, 0, 0);
    HWND button = HIWORD(id) == DC_HASDEFID ? GetDlgItem(parent, LOWORD(id)) : nullptr;
    if (!button) return;
    SendMessageA(parent, WM_NEXTDLGCTL, WPARAM(button), TRUE);
    PostMessageA(button, WM_KEYDOWN, VK_RETURN, 0);
}

// Tab in dialog mode moves the focus on from a multi-line box.
void DialogTab(EditControl *e) {
    HWND parent = GetParent(e->state.hwnd);
    if (e->state.dialogMode && e->Multiline() && parent)
        SendMessageA(parent, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, 0);
}

// Escape in dialog mode closes the dialog from a multi-line box; a single-line box
// leaves the key to the dialog, which cancels.
void DialogEscape(EditControl *e) {
    HWND parent = GetParent(e->state.hwnd);
    if (e->state.dialogMode && e->Multiline() && parent) PostMessageA(parent, WM_CLOSE, 0, 0);
}

LRESULT OnKeyDown(EditControl *e, WPARAM vk) {
    if (vk == VK_RETURN) return DialogReturn(e), 1;
    if (vk == VK_TAB) return DialogTab(e), 1;
    if (vk == VK_ESCAPE) return DialogEscape(e), 1;
    if (!IsEditingKey(vk)) return 0;
    DWORD style = StyleOf(e->state.hwnd);
    if ((style & ES_READONLY) && vk == VK_DELETE) return 1;
    if (vk == VK_INSERT && GetKeyState(VK_SHIFT) < 0) {
        Paste(e);
        return 1;
    }
    unsigned before = e->state.version;
    ReplayKeyDown(e->Widget(), vk);
    if (e->state.version != before) e->state.modified = true;
    NotifyChange(e, before);
    return 1;
}

LRESULT GetSel(EditControl *e, WPARAM wp, LPARAM lp) {
    int s, t;
    e->Selection(s, t);
    DWORD start = DWORD(e->BytesAt(s));
    DWORD end = s == t ? start : DWORD(e->BytesAt(t));
    if (wp) *reinterpret_cast<DWORD *>(wp) = start;
    if (lp) *reinterpret_cast<DWORD *>(lp) = end;
    return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(start, end);
}

void SetSel(EditControl *e, WPARAM wp, LPARAM lp) {
    long start = long(int(wp)), end = long(int(lp));
    if (start == -1) {
        int s, t;
        e->Selection(s, t);
        e->Select(t, t);
        return;
    }
    int anchor = e->PositionAt(start);
    int caret = end == start ? anchor : e->PositionAt(end);
    e->Select(anchor, caret);
}

// WM_SETTEXT: a single-line box reports a change even for the same text, a multi-line
// box none at all, as in Win32.
LRESULT SetText(EditControl *e, LPARAM lp) {
    QString text = ApplyCase(e->state.hwnd, FromAnsi(reinterpret_cast<const char *>(lp), e->Multiline()));
    ++e->state.silent;
    e->SetText(text);
    --e->state.silent;
    e->Select(0, 0);
    e->state.modified = false;
    e->ClearUndo();
    if (!e->Multiline()) NotifyChangeAlways(e);
    return TRUE;
}

LRESULT GetText(EditControl *e, WPARAM size, LPARAM out) {
    if (!size || !out) return 0;
    if (e->state.destroyed) return reinterpret_cast<char *>(out)[0] = '\0', 0;
    std::string text = ToAnsi(e->Text(), e->Multiline());
    size_t n = std::min(text.size(), size_t(size) - 1);
    // Never end inside a double-byte character.
    size_t i = 0;
    while (i < n) i += (BYTE(text[i]) >= 0x81 && i + 1 < text.size()) ? 2 : 1;
    if (i > n) n -= 1;
    std::memcpy(reinterpret_cast<char *>(out), text.data(), n);
    reinterpret_cast<char *>(out)[n] = '\0';
    return LRESULT(n);
}

LRESULT LineMessage(EditControl *e, UINT msg, WPARAM wp, LPARAM lp) {
    std::vector<long> starts = LineStarts(e);
    int s, t;
    e->Selection(s, t);
    long caret = e->BytesAt(s);
    switch (msg) {
    case EM_GETLINECOUNT: return LRESULT(starts.size());
    case EM_LINEINDEX: {
        long line = int(wp) == -1 ? LineOf(starts, caret) : long(wp);
        return line < long(starts.size()) ? starts[size_t(line)] : -1;
    }
    case EM_LINEFROMCHAR: return LineOf(starts, int(wp) == -1 ? caret : long(wp));
    case EM_LINELENGTH: return LineLength(e, starts, LineOf(starts, int(wp) == -1 ? caret : long(wp)));
    case EM_GETLINE: {
        if (long(wp) >= long(starts.size()) || !lp) return 0;
        std::string text = ToAnsi(e->Text(), e->Multiline());
        long len = LineLength(e, starts, long(wp));
        WORD room = *reinterpret_cast<WORD *>(lp);
        long n = std::min<long>(len, room);
        std::memcpy(reinterpret_cast<char *>(lp), text.data() + starts[size_t(wp)], size_t(n));
        return n;
    }
    default: return 0;
    }
}

// EM_UNDO toggles: undoing right after an undo restores what it removed.
LRESULT Undo(EditControl *e) {
    unsigned before = e->state.version;
    bool again = e->state.undoneAt == e->state.version && e->CanRedo();
    if (again) e->Redo();
    else if (e->CanUndo()) e->Undo();
    e->state.undoneAt = again ? ~0u : e->state.version;
    NotifyChange(e, before);
    return TRUE;
}

bool CanUndo(EditControl *e) { return e->CanUndo() || (e->state.undoneAt == e->state.version && e->CanRedo()); }

LRESULT OnCreate(EditControl *e, HWND hwnd, const CREATESTRUCTA *cs) {
    if (cs) e->state.notifyTo = cs->hwndParent;
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        ++e->state.silent;
        e->SetText(ApplyCase(hwnd, FromAnsi(cs->lpszName, e->Multiline())));
        --e->state.silent;
        e->ClearUndo();
    }
    return 0;
}

LRESULT OnLButtonDown(EditControl *e, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    ReplayMouse(hwnd, e->MouseTarget(), WM_LBUTTONDOWN, wp, lp);
    return 0;
}

// A message of the dialog's (lParam) puts the box in dialog mode.
LRESULT GetDlgCode(EditControl *e, LPARAM lp) {
    if (lp) e->state.dialogMode = true;
    LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    return e->Multiline() ? code | DLGC_WANTALLKEYS : code;
}

// EM_LIMITTEXT: 0 is the largest limit of the kind of box.
LRESULT SetLimit(EditControl *e, WPARAM bytes) {
    e->state.limitBytes = bytes ? DWORD(bytes) : e->Multiline() ? kMultiLineMaximum : kSingleLineMaximum;
    return 0;
}

LRESULT SetReadOnly(EditControl *e, HWND hwnd, bool on) {
    auto r = FindWindowRecord(hwnd);
    if (on) r->style |= ES_READONLY;
    else r->style &= ~DWORD(ES_READONLY);
    e->SetReadOnly(on);
    e->Widget()->update();
    return TRUE;
}

// WM_CUT and WM_CLEAR remove the selection, WM_CUT after copying it.
LRESULT Clear(EditControl *e, HWND hwnd, bool cut) {
    if (StyleOf(hwnd) & ES_READONLY) return 0;
    unsigned before = e->state.version;
    if (cut) CopySelection(e);
    e->Insert(QString());
    NotifyChange(e, before);
    return 0;
}

LRESULT OnStyleChanged(EditControl *e, HWND hwnd, WPARAM which) {
    if (which == WPARAM(LONG_PTR(GWL_STYLE)) || which == WPARAM(LONG_PTR(GWL_EXSTYLE)))
        ConfigureFromStyle(e, StyleOf(hwnd), DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
    return 0;
}

// The EDIT's context menu is hooked in here.
LRESULT EditMessage(EditControl *e, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return OnCreate(e, hwnd, reinterpret_cast<const CREATESTRUCTA *>(lp));
    case WM_CHAR: return OnChar(e, wp);
    case WM_KEYDOWN: return OnKeyDown(e, wp);
    case WM_LBUTTONDBLCLK: return SelectWordAt(e, hwnd, lp);
    case WM_LBUTTONDOWN: return OnLButtonDown(e, hwnd, wp, lp);
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: ReplayMouse(hwnd, e->MouseTarget(), msg, wp, lp); return 0;
    case WM_MOUSEWHEEL:
        if (e->Multiline()) ReplayMouse(hwnd, e->MouseTarget(), msg, wp, lp);
        return 0;
    case WM_SETFOCUS: Notify(e, EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: Notify(e, EN_KILLFOCUS); return 0;
    case WM_SETTEXT: return SetText(e, lp);
    case WM_GETTEXT: return GetText(e, wp, lp);
    case WM_GETTEXTLENGTH: return e->state.destroyed ? 0 : TextBytes(e);
    case WM_NCDESTROY:
        e->state.destroyed = true;
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_GETDLGCODE: return GetDlgCode(e, lp);
    case EM_GETSEL: return GetSel(e, wp, lp);
    case EM_SETSEL: SetSel(e, wp, lp); return 0;
    case EM_REPLACESEL: ReplaceSelection(e, FromAnsi(reinterpret_cast<const char *>(lp), e->Multiline()), true); return 0;
    case EM_SCROLLCARET: e->ScrollCaret(); return TRUE;
    case EM_LIMITTEXT: return SetLimit(e, wp);
    case EM_GETLIMITTEXT: return e->state.limitBytes;
    case EM_SETPASSWORDCHAR: SetPasswordChar(e, wp); return 0;
    case EM_GETPASSWORDCHAR: return BYTE(e->state.passwordChar);
    case EM_SETREADONLY: return SetReadOnly(e, hwnd, wp != 0);
    case EM_GETMODIFY: return e->state.modified;
    case EM_SETMODIFY: e->state.modified = wp != 0; return 0;
    case EM_CANUNDO: return CanUndo(e);
    case EM_UNDO:
    case WM_UNDO: return Undo(e);
    case EM_GETRECT:
        if (lp) *reinterpret_cast<RECT *>(lp) = FormatRect(e);
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: return SetRect(e, lp);
    case EM_SETMARGINS: return SetMargins(e, wp, lp);
    case EM_GETMARGINS: return MAKELONG(e->state.leftMarginPixels, e->state.rightMarginPixels);
    case EM_POSFROMCHAR: return PosFromChar(e, wp);
    case EM_CHARFROMPOS: return CharFromPos(e, lp);
    case EM_EMPTYUNDOBUFFER: e->ClearUndo(); return 0;
    case WM_COPY: CopySelection(e); return 0;
    case WM_CUT:
    case WM_CLEAR: return Clear(e, hwnd, msg == WM_CUT);
    case WM_PASTE: Paste(e); return 0;
    case WM_CONTEXTMENU: ShowEditContextMenu(hwnd, lp); return 0;
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINELENGTH:
    case EM_LINEFROMCHAR:
    case EM_GETLINE: return LineMessage(e, msg, wp, lp);
    case EM_GETFIRSTVISIBLELINE: return e->FirstVisibleLine();
    case EM_LINESCROLL: e->ScrollLines(int(lp)); return TRUE;
    case EM_SCROLL: return Scroll(e, wp);
    case WM_STYLECHANGED: return OnStyleChanged(e, hwnd, wp);
    default: {
        LRESULT result;
        if (CommonControlMessage(hwnd, msg, wp, lp, result)) return result;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
}

} // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    edit::EditControl *e = edit::EditOf(hwnd);
    if (!e) return DefWindowProcA(hwnd, msg, wp, lp);
    return EditMessage(e, hwnd, msg, wp, lp);
}

} // namespace platform
