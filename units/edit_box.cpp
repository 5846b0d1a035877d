#include "edit_box.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "commctrl.h"
#include "edit_box_apply.h"
#include "edit_box_input.h"
#include "event_dispatch.h"
#include "runtime_interface.h"
#include "unit_class.h"
#include "window_loading.h"

namespace units {
namespace {

using namespace editbox;

constexpr char kClassName[] = "SorvelEditBox";
constexpr UINT_PTR kAdjusterIdOffset = 4;

// --- creation -------------------------------------------------------------------------

DWORD EditStyle(const EditBoxProperties &p) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (!p.hideSelection) style |= ES_NOHIDESEL;
    if (p.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (p.scrollBars == 1 || p.scrollBars == 3) style |= ES_AUTOHSCROLL;
        if (p.scrollBars & 1) style |= WS_HSCROLL;
        if (p.scrollBars & 2) style |= WS_VSCROLL;
    } else style |= ES_AUTOHSCROLL;
    if (p.alignment == 1) style |= ES_CENTER;
    if (p.alignment == 2) style |= ES_RIGHT;
    if (p.inputMode == kInputReadOnly) style |= ES_READONLY;
    if (p.inputMode == kInputPassword) style |= ES_PASSWORD;
    if (p.caseMode == 1) style |= ES_LOWERCASE;
    if (p.caseMode == 2) style |= ES_UPPERCASE;
    return style;
}

void MakeAdjuster(EditBoxUnit &u, bool disabled) {
    if (u.p.multiLine || u.p.adjuster == 0) return;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (disabled ? WS_DISABLED : 0);
    u.upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", style, 0, 0, kAdjusterWidth, 10, u.Handle(),
                               reinterpret_cast<HMENU>(u.controlId + kAdjusterIdOffset), nullptr, nullptr);
    if (!u.upDown) u.p.adjuster = 0;
    SendRange(u);
}

LRESULT CALLBACK EditControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
extern std::atomic<WNDPROC> editClassProc;

bool MakeControls(EditBoxUnit &u, const CreateUnitArgs &a) {
    DWORD style = EditStyle(u.p) | (a.extraStyle & WS_DISABLED);
    u.edit = CreateWindowExA(0, "EDIT", u.p.content.c_str(), style, 0, 0, a.width, a.height, u.Handle(),
                             reinterpret_cast<HMENU>(a.controlId), nullptr, nullptr);
    if (!u.edit) return false;
    u.editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(u.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditControlProc)));
    editClassProc = u.editProc;
    ApplyBrush(u);
    ApplyFont(u);
    SendMessageA(u.edit, EM_LIMITTEXT, WPARAM(u.p.maxLength), 0);
    SetPasswordChar(u);
    MakeAdjuster(u, (a.extraStyle & WS_DISABLED) != 0);
    Layout(u);
    SelectAndShow(u.edit, u.p.selStart, u.p.selStart + u.p.selLength);
    ApplyBorder(u);
    return true;
}

void LimitPicks(EditBoxProperties &p) {
    p.border = std::clamp(p.border, 0, 5);
    p.scrollBars = std::clamp(p.scrollBars, 0, 3);
    p.alignment = std::clamp(p.alignment, 0, 2);
    p.inputMode = std::clamp(p.inputMode, 0, 11);
    p.caseMode = std::clamp(p.caseMode, 0, 2);
    p.adjuster = std::clamp(p.adjuster, 0, 2);
    p.maxLength = std::max(p.maxLength, 0);
}

} // namespace

fw::WindowObject *editbox::CreateEditBox(const CreateUnitArgs &a) {
    RegisterUnitClass(kClassName);
    auto *u = new EditBoxUnit;
    u->windowId = a.windowId;
    u->unitId = a.unitId;
    u->controlId = a.controlId;
    if (!ReadEditBoxData(a.propertyData, a.propertyDataSize, u->p)) {
        delete u;
        return nullptr;
    }
    LimitPicks(u->p);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | a.extraStyle;
    HWND h = CreateWindowExA(0, kClassName, "", style, a.left, a.top, a.width, a.height, a.parent,
                             reinterpret_cast<HMENU>(a.controlId), nullptr, nullptr);
    if (!h || !u->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete u;
        return nullptr;
    }
    u->writingContent = true;
    bool made = MakeControls(*u, a);
    u->writingContent = false;
    if (!made) {
        DestroyWindow(h); // PostNcDestroy deletes the object
        return nullptr;
    }
    u->created = true;
    return u;
}

namespace {

// --- typed input and the adjuster -------------------------------------------------------

// Writes the normalised text back when it differs, keeping the selection in view.
void Normalise(EditBoxUnit &u) {
    std::string text = TextOf(u.edit);
    std::string normalised = NormaliseInput(u.p.inputMode, text);
    if (normalised == text) return;
    int32_t start = 0, end = 0;
    Selection(u.edit, start, end);
    ReplaceText(u, normalised);
    SelectAndShow(u.edit, start, end);
}

// The EDIT class's own procedure, for a control that outlives its unit's object
// while the windows are taken down.
std::atomic<WNDPROC> editClassProc{nullptr};

LRESULT CALLBACK EditControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *u = dynamic_cast<EditBoxUnit *>(fw::WindowObject::FromHandlePermanent(GetParent(hwnd)));
    WNDPROC proc = u && u->editProc ? u->editProc : editClassProc.load();
    if (!proc) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (u && message == WM_CHAR && !AcceptsCharacter(u->p.inputMode, uint32_t(wParam))) return 0;
    return CallWindowProcA(proc, hwnd, message, wParam, lParam);
}

// An arrow click: automatic mode steps the number with wrap-around, manual mode
// raises event 1. Clicks on a disabled or hidden box do nothing.
void AdjusterClicked(EditBoxUnit &u, int direction) {
    if (!IsWindowEnabled(u.Handle()) || !IsWindowVisible(u.Handle())) return;
    if (u.p.adjuster == 2) {
        Raise(u.windowId, u.unitId, kEditAdjusterClicked, {uint32_t(direction)});
        return;
    }
    int64_t low = std::min(u.p.bound1, u.p.bound2), high = std::max(u.p.bound1, u.p.bound2);
    // Outside the range the step's result is the same from just beyond the bound, and
    // a huge number cannot overflow.
    int64_t value = std::clamp<int64_t>(std::strtoll(TextOf(u.edit).c_str(), nullptr, 10), low - 1, high + 1);
    value += direction;
    if (value > high) value = low;
    else if (value < low) value = high;
    std::string text = std::to_string(value);
    ReplaceText(u, text);
    SelectAndShow(u.edit, 0, int32_t(text.size()));
    SetFocus(u.edit);
}

LRESULT OnNotify(EditBoxUnit &u, const NMHDR *header) {
    if (!u.upDown || header->hwndFrom != u.upDown || header->code != UDN_DELTAPOS) return 0;
    AdjusterClicked(u, reinterpret_cast<const NMUPDOWN *>(header)->iDelta > 0 ? 1 : -1);
    return 1; // the adjuster keeps no position of its own
}

void OnCommand(EditBoxUnit &u, WORD code) {
    switch (code) {
    case EN_CHANGE:
        if (!u.writingContent) Raise(u.windowId, u.unitId, kEditContentChanged);
        return;
    case EN_SETFOCUS: Raise(u.windowId, u.unitId, -7); return;
    case EN_KILLFOCUS:
        Normalise(u);
        Raise(u.windowId, u.unitId, -8);
        return;
    default: return;
    }
}

// A rebuild makes this box while the focus is still in the control of the box it
// replaces (whose frame the framework sees without the focus); the focus comes over.
void TakeFocusFromPredecessor(EditBoxUnit &u) {
    HWND focus = GetFocus();
    auto *old = focus ? dynamic_cast<EditBoxUnit *>(fw::WindowObject::FromHandlePermanent(GetParent(focus))) : nullptr;
    if (old && old != &u && old->edit == focus && old->windowId == u.windowId && old->unitId == u.unitId)
        SetFocus(u.edit);
}

bool IsEditMessage(UINT m) {
    return (m >= EM_GETSEL && m <= 0x00DA) || m == WM_SETTEXT || m == WM_GETTEXT || m == WM_GETTEXTLENGTH ||
           m == WM_SETFONT || m == WM_GETFONT || m == WM_CUT || m == WM_COPY || m == WM_PASTE || m == WM_CLEAR ||
           m == WM_UNDO;
}

} // namespace

LRESULT EditBoxUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (edit && IsEditMessage(message)) return SendMessageA(edit, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (edit && reinterpret_cast<HWND>(lParam) == edit) OnCommand(*this, HIWORD(wParam));
        return 0;
    case WM_NOTIFY: return OnNotify(*this, reinterpret_cast<const NMHDR *>(lParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, Colour(p.textColour));
        SetBkColor(dc, Colour(p.background));
        return reinterpret_cast<LRESULT>(brush);
    }
    case WM_SETFOCUS:
        if (edit) ::SetFocus(edit);
        return 0;
    case WM_ENABLE:
        if (edit) EnableWindow(edit, BOOL(wParam));
        if (upDown) EnableWindow(upDown, BOOL(wParam));
        return 0;
    case kMessageLoadFinished:
        if (edit) TakeFocusFromPredecessor(*this);
        return Default(message, wParam, lParam);
    case WM_SIZE:
        if (edit) Layout(*this);
        return Default(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}

void EditBoxUnit::PostNcDestroy() {
    if (created) rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, unitId);
    if (font) DeleteObject(font);
    if (brush) DeleteObject(brush);
    delete this;
}

} // namespace units
