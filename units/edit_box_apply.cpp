#include "edit_box_apply.h"

#include <algorithm>
#include <cstring>

#include "commctrl.h"
#include "edit_box_input.h"

namespace units::editbox {
namespace {

constexpr uint32_t kButtonFace = 0xff000000;

} // namespace

COLORREF Colour(uint32_t value) { return value == kButtonFace ? GetSysColor(COLOR_BTNFACE) : COLORREF(value); }

std::string TextOf(HWND h) {
    int length = GetWindowTextLengthA(h);
    std::string text(size_t(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(h, text.data(), length + 1);
    text.resize(size_t(std::max(got, 0)));
    return text;
}

void Selection(HWND edit, int32_t &start, int32_t &end) {
    DWORD s = 0, e = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = int32_t(s), end = int32_t(e);
}

void SelectAndShow(HWND edit, int32_t start, int32_t end) {
    SendMessageA(edit, EM_SETSEL, WPARAM(start), LPARAM(end));
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void ApplyFont(EditBoxUnit &u) {
    HFONT old = u.font;
    if (u.p.font.size() == sizeof(LOGFONTA)) {
        LOGFONTA lf;
        std::memcpy(&lf, u.p.font.data(), sizeof lf);
        lf.lfCharSet = 1;
        lf.lfOutPrecision = 0;
        lf.lfClipPrecision = 0;
        lf.lfQuality = 2;
        lf.lfPitchAndFamily = 0;
        u.font = CreateFontIndirectA(&lf);
    } else u.font = nullptr;
    HGDIOBJ shown = u.font ? HGDIOBJ(u.font) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageA(u.edit, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    if (old) DeleteObject(old);
}

void ApplyBrush(EditBoxUnit &u) {
    HBRUSH old = u.brush;
    u.brush = CreateSolidBrush(Colour(u.p.background));
    if (old) DeleteObject(old);
}

void ApplyBorder(EditBoxUnit &u) {
    static const DWORD exBits[] = {0, WS_EX_CLIENTEDGE, WS_EX_DLGMODALFRAME, WS_EX_STATICEDGE,
                                   WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0};
    HWND h = u.Handle();
    LONG ex = GetWindowLongA(h, GWL_EXSTYLE) & ~LONG(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
    LONG style = GetWindowLongA(h, GWL_STYLE) & ~LONG(WS_BORDER);
    SetWindowLongA(h, GWL_EXSTYLE, ex | LONG(exBits[u.p.border]));
    SetWindowLongA(h, GWL_STYLE, style | (u.p.border == 5 ? LONG(WS_BORDER) : 0));
    if (u.upDown) {
        LONG udEx = GetWindowLongA(u.upDown, GWL_EXSTYLE) & ~LONG(WS_EX_STATICEDGE);
        bool edge = u.p.border == 0 || u.p.border == 1 || u.p.border == 3;
        SetWindowLongA(u.upDown, GWL_EXSTYLE, udEx | (edge ? LONG(WS_EX_STATICEDGE) : 0));
    }
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The EDIT control fills the frame's client area; the adjuster takes its right edge.
void Layout(EditBoxUnit &u) {
    RECT rc{};
    GetClientRect(u.Handle(), &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int adjuster = u.upDown ? std::min(kAdjusterWidth, width) : 0;
    MoveWindow(u.edit, 0, 0, width - adjuster, height, TRUE);
    if (u.upDown) MoveWindow(u.upDown, width - adjuster, 0, adjuster, height, TRUE);
}

void SendRange(EditBoxUnit &u) {
    if (!u.upDown) return;
    int low = std::min(u.p.bound1, u.p.bound2), high = std::max(u.p.bound1, u.p.bound2);
    SendMessageA(u.upDown, UDM_SETRANGE32, WPARAM(low), LPARAM(high)); // bounds beyond 16 bits stay in order
}

void SetPasswordChar(EditBoxUnit &u) {
    WPARAM c = u.p.inputMode == kInputPassword ? WPARAM(u.p.passwordChar) : 0;
    SendMessageA(u.edit, EM_SETPASSWORDCHAR, c, 0);
}

void ReplaceText(EditBoxUnit &u, const std::string &text) {
    u.writingContent = true;
    SetWindowTextA(u.edit, text.c_str());
    u.writingContent = false;
    SendMessageA(u.Handle(), WM_COMMAND, MAKEWPARAM(WORD(u.controlId), EN_CHANGE), reinterpret_cast<LPARAM>(u.edit));
}

} // namespace units::editbox
