// The keyboard conventions of the window's pre-filter: Tab order, Enter and default
// buttons, Esc, F1 help, and Alt mnemonics on "&" captions.
#include <algorithm>

#include "event_dispatch.h"
#include "help_calls.h"
#include "window_unit.h"

namespace units {
namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool TakesFocus(const UnitEntry &u) {
    const UnitRecord &r = u.record;
    if (r.IsMenuItem() || !(r.state & kStateTabStop) || (TypeFlags(r.type) & (kFlagNeverShown | kFlagNoPageFocus)))
        return false;
    HWND h = LiveHandle(r);
    return h && IsWindowVisible(h) && IsWindowEnabled(h);
}

int FocusedUnit(Window &window) {
    HWND focus = GetFocus();
    return focus ? UnitOfHandle(window, focus, true) : -1;
}

bool KeepsKey(Window &window, int position, UINT key) {
    if (position <= 0) return false;
    const UnitRecord &r = window.units[size_t(position)].record;
    auto keeps = Request<KeepsKeyRoutine>(r.type, kRequestKeepsKey);
    return keeps && keeps(LiveObject(r), key);
}

void MoveFocus(Window &window, bool forward) {
    std::vector<int> order = TabOrder(window);
    if (order.empty()) return;
    auto at = std::find(order.begin(), order.end(), FocusedUnit(window));
    size_t next;
    if (at == order.end()) next = forward ? 0 : order.size() - 1;
    else {
        size_t i = size_t(at - order.begin());
        next = forward ? (i + 1) % order.size() : (i + order.size() - 1) % order.size();
    }
    SetFocus(LiveHandle(window.units[size_t(order[next])].record));
}

bool IsDefaultButton(Window &window, int position) {
    if (position <= 0) return false;
    const UnitRecord &r = window.units[size_t(position)].record;
    HWND h = LiveHandle(r);
    auto isDefault = Request<int (*)(fw::WindowObject *)>(r.type, kRequestIsDefaultButton);
    return h && IsWindowEnabled(h) && isDefault && isDefault(LiveObject(r));
}

void Click(Window &window, int position) { Raise(window.id, window.units[size_t(position)].id, 0); }

bool Enter(CWinFormUnit &unit, Window &window, int focused) {
    if (IsDefaultButton(window, focused)) {
        Click(window, focused);
        return true;
    }
    if (unit.props.number[kWinEnterMoves]) {
        MoveFocus(window, true);
        return true;
    }
    for (size_t i = 1; i < window.units.size(); ++i)
        if (IsDefaultButton(window, int(i))) {
            Click(window, int(i));
            return true;
        }
    return false;
}

// A visible, enabled button whose caption marks `key` with "&" is clicked.
bool Mnemonic(Window &window, UINT key) {
    for (size_t i = 1; i < window.units.size(); ++i) {
        const UnitRecord &r = window.units[i].record;
        HWND h = LiveHandle(r);
        if (r.type != kTypeButton || !h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        char caption[256] = {};
        GetWindowTextA(h, caption, sizeof caption);
        for (const char *c = caption; *c && c[1]; ++c)
            if (*c == '&' && UINT(toupper(uint8_t(c[1]))) == key) {
                SendMessageA(h, BM_CLICK, 0, 0);
                return true;
            }
    }
    return false;
}

// Option units that share the focused unit's parent, in tab order.
std::vector<int> OptionGroup(Window &window, int focused) {
    std::vector<int> group;
    HWND parent = GetParent(LiveHandle(window.units[size_t(focused)].record));
    for (int position : TabOrder(window))
        if ((TypeFlags(window.units[size_t(position)].record.type) & kFlagOption) &&
            GetParent(LiveHandle(window.units[size_t(position)].record)) == parent)
            group.push_back(position);
    return group;
}

// Left and up go backwards, right and down forwards: the option reached is checked,
// the others of its parent unchecked, its event 0 raised and the focus moved to it.
bool MoveAmongOptions(Window &window, int focused, bool forward) {
    if (focused <= 0 || !(TypeFlags(window.units[size_t(focused)].record.type) & kFlagOption)) return false;
    std::vector<int> group = OptionGroup(window, focused);
    auto at = std::find(group.begin(), group.end(), focused);
    if (group.size() < 2 || at == group.end()) return false;
    size_t i = size_t(at - group.begin());
    int next = group[forward ? (i + 1) % group.size() : (i + group.size() - 1) % group.size()];
    for (int position : group)
        SendMessageA(LiveHandle(window.units[size_t(position)].record), BM_SETCHECK,
                     position == next ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(window, next);
    if (HWND h = LiveHandle(window.units[size_t(next)].record)) SetFocus(h);
    return true;
}

} // namespace

std::vector<int> TabOrder(Window &window) {
    std::vector<int> order;
    for (size_t i = 1; i < window.units.size(); ++i)
        if (TakesFocus(window.units[i])) order.push_back(int(i));
    // Among equal tab orders the unit later in the list comes first.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int32_t ta = int32_t(window.units[size_t(a)].record.tabOrder);
        int32_t tb = int32_t(window.units[size_t(b)].record.tabOrder);
        return ta != tb ? ta < tb : a > b;
    });
    return order;
}

// The window's help file (or the program's) at its topic; a missing file leaves the
// key to the focused unit.
bool F1Help(CWinFormUnit &unit) {
    if (!unit.props.number[kWinF1Help]) return false;
    const std::string &own = unit.props.data[kWinHelpFile];
    std::string file = own.empty() ? ProgramHelpFile() : own;
    if (!IsHelpFile(file)) return false;
    int32_t topic = unit.props.number[kWinHelpTopic];
    CallHelp(unit.windowId, unit.Handle(), file, topic ? HELP_CONTEXT : HELP_CONTENTS, ULONG_PTR(uint32_t(topic)));
    return true;
}

bool HandleWindowKey(CWinFormUnit &unit, Window &window, const MSG &msg) {
    UINT key = UINT(msg.wParam);
    int focused = FocusedUnit(window);
    if (KeepsKey(window, focused, key)) return false;
    if (msg.message == WM_SYSKEYDOWN || Down(VK_MENU)) {
        bool alnum = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
        return alnum && Mnemonic(window, key);
    }
    switch (key) {
    case VK_TAB: MoveFocus(window, !Down(VK_SHIFT)); return true;
    case VK_RETURN: return Enter(unit, window, focused);
    case VK_ESCAPE:
        if (!unit.props.number[kWinEscCloses]) return false;
        PostMessageA(unit.Handle(), WM_CLOSE, 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP: return MoveAmongOptions(window, focused, false);
    case VK_RIGHT:
    case VK_DOWN: return MoveAmongOptions(window, focused, true);
    case VK_F1: return F1Help(unit);
    default: return false;
    }
}

} // namespace units
