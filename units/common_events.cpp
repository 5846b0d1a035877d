#include "common_events.h"

#include "event_dispatch.h"

namespace units {
namespace {

enum CommonEvent : int32_t {
    kLeftDown = -1,
    kLeftUp = -2,
    kLeftDoubleClick = -3,
    kRightDown = -4,
    kRightUp = -5,
    kMouseMove = -6,
    kKeyDown = -9,
    kKeyUp = -10,
    kCharacter = -11,
    kWheel = -12,
};

// Key data carry the modifiers above the key code: Shift, Ctrl and Alt.
constexpr uint32_t kKeyShift = 0x10000, kKeyControl = 0x20000, kKeyAlt = 0x40000;
constexpr uint32_t kKeyCodeMask = 0x1FFF;

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

int32_t MouseEvent(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return kLeftDown;
    case WM_LBUTTONUP: return kLeftUp;
    case WM_LBUTTONDBLCLK: return kLeftDoubleClick;
    case WM_RBUTTONDOWN: return kRightDown;
    case WM_RBUTTONUP: return kRightUp;
    case WM_MOUSEMOVE: return kMouseMove;
    default: return 0;
    }
}

uint32_t KeyData(WPARAM key) {
    return uint32_t(key & 0xFFFF) | (Down(VK_SHIFT) ? kKeyShift : 0) | (Down(VK_CONTROL) ? kKeyControl : 0) |
           (Down(VK_MENU) ? kKeyAlt : 0);
}

uint32_t ShiftOfKeyData(uint32_t data) {
    return ((data & kKeyControl) ? 1u : 0u) | ((data & kKeyShift) ? 2u : 0u) | ((data & kKeyAlt) ? 4u : 0u);
}

int Position(Window &window, HWND hwnd) {
    if (hwnd && hwnd == WindowHandle(window)) return 0;
    return UnitOfHandle(window, hwnd, true);
}

// True when a handler ran and returned 0.
bool Returned0(Window &window, int position, int32_t event, std::initializer_list<uint32_t> args) {
    bool present = false;
    uint32_t result = 0;
    return Raise(window.id, window.units[size_t(position)].id, event, args, &present, &result) && present &&
           result == 0;
}

bool Character(Window &window, int position, MSG *msg) {
    bool present = false;
    uint32_t result = 0;
    if (!Raise(window.id, window.units[size_t(position)].id, kCharacter, {uint32_t(msg->wParam)}, &present, &result) ||
        !present)
        return false;
    if (result == 0) return true;
    msg->wParam = result;
    return false;
}

} // namespace

bool CallMessageHooks(Window &window, MSG *msg) {
    for (UnitEntry &u : window.units) {
        if (u.record.IsMenuItem() || !IsLive(u.record) || !(TypeFlags(u.record.type) & kFlagHasMessageHook)) continue;
        auto hook = Request<MessageHookRoutine>(u.record.type, kRequestMessageHook);
        if (hook && hook(LiveObject(u.record), msg)) return true;
    }
    return false;
}

uint32_t CurrentShiftState() {
    return (Down(VK_CONTROL) ? 1u : 0u) | (Down(VK_SHIFT) ? 2u : 0u) | (Down(VK_MENU) ? 4u : 0u);
}

bool RaiseCommonEvent(Window &window, MSG *msg) {
    int position = Position(window, msg->hwnd);
    if (position < 0) return false;
    if (int32_t event = MouseEvent(msg->message))
        return Returned0(window, position, event,
                         {LOWORD(msg->lParam), HIWORD(msg->lParam), CurrentShiftState()});
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        uint32_t data = KeyData(msg->wParam);
        int32_t event = (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) ? kKeyDown : kKeyUp;
        return Returned0(window, position, event, {data & kKeyCodeMask, ShiftOfKeyData(data)});
    }
    case WM_CHAR: return Character(window, position, msg);
    case WM_MOUSEWHEEL: {
        int32_t notches = GET_WHEEL_DELTA_WPARAM(msg->wParam) / WHEEL_DELTA;
        return Returned0(window, position, kWheel, {uint32_t(notches), CurrentShiftState()});
    }
    default: return false;
    }
}

} // namespace units
