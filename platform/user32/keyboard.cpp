// Virtual keys, the key state table and TranslateMessage.
#include <Qt>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include "host_text.h"
#include "keyboard.h"
#include "message_queue.h"
#include "windows.h"

namespace platform {
namespace {

struct KeyPair {
    int qt;
    UINT vk;
};

const KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB}, {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT}, {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE}, {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END}, {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP}, {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS}, {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA}, {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_Question, VK_OEM_2}, {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5}, {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

// Characters of the US layout for the OEM keys: unshifted, shifted.
struct OemChars {
    UINT vk;
    char plain, shifted;
};
const OemChars kOem[] = {
    {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'}, {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'}, {VK_OEM_7, '\'', '"'},
};
const char kShiftedDigits[] = ")!@#$%^&*(";

std::array<std::atomic<BYTE>, 256> keyState{};

struct KeyText {
    UINT vk = 0;
    std::u16string text;
};
std::mutex textLock;
std::array<KeyText, 256> keyTexts;
BYTE nextText = 1;

bool Down(UINT vk) { return keyState[vk & 0xFF] & 0x80; }

// What the US layout types for a virtual key in the current key state.
std::u16string CharactersOf(UINT vk) {
    bool shift = Down(VK_SHIFT), control = Down(VK_CONTROL), caps = keyState[VK_CAPITAL] & 1;
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return std::u16string(1, char16_t(vk - 'A' + 1));
        return std::u16string(1, char16_t((shift != caps) ? vk : vk + 32));
    }
    if (control) return vk == VK_RETURN ? u"\n" : vk == VK_BACK ? u"\x7f" : u"";
    if (vk >= '0' && vk <= '9') return std::u16string(1, char16_t(shift ? kShiftedDigits[vk - '0'] : vk));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return std::u16string(1, char16_t('0' + vk - VK_NUMPAD0));
    switch (vk) {
    case VK_BACK: return u"\b";
    case VK_TAB: return u"\t";
    case VK_RETURN: return u"\r";
    case VK_ESCAPE: return u"\x1b";
    case VK_SPACE: return u" ";
    case VK_MULTIPLY: return u"*";
    case VK_ADD: return u"+";
    case VK_SUBTRACT: return u"-";
    case VK_DECIMAL: return u".";
    case VK_DIVIDE: return u"/";
    }
    for (const OemChars &o : kOem)
        if (o.vk == vk) return std::u16string(1, char16_t(shift ? o.shifted : o.plain));
    return {};
}

} // namespace

UINT VirtualKeyOfQtKey(int qtKey, quint32) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return UINT(qtKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return UINT(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + UINT(qtKey - Qt::Key_F1);
    for (const KeyPair &k : kKeys)
        if (k.qt == qtKey) return k.vk;
    return 0;
}

int QtKeyOfVirtualKey(UINT vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return int(vk);
    if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + int(vk - VK_F1);
    for (const KeyPair &k : kKeys)
        if (k.vk == vk) return k.qt;
    return Qt::Key_unknown;
}

void NoteKeyState(UINT vk, bool down) {
    auto &slot = keyState[vk & 0xFF];
    BYTE toggled = slot & 1;
    if (down && !(slot & 0x80)) toggled ^= 1;
    slot = BYTE((down ? 0x80 : 0) | toggled);
}

void NoteModifierState(bool shift, bool control, bool alt) {
    auto set = [](UINT vk, bool down) { keyState[vk] = BYTE((keyState[vk] & 1) | (down ? 0x80 : 0)); };
    set(VK_SHIFT, shift);
    set(VK_CONTROL, control);
    set(VK_MENU, alt);
}

BYTE RememberKeyText(UINT vk, const std::u16string &text) {
    std::lock_guard lock(textLock);
    BYTE slot = nextText;
    nextText = BYTE(nextText == 255 ? 1 : nextText + 1);
    keyTexts[slot] = KeyText{vk, text};
    return slot;
}

void PostTypedText(HWND hwnd, const std::u16string &text, bool front, UINT message) {
    std::vector<MSG> chars;
    for (char16_t c : text) {
        std::string bytes = c < 0x80 ? std::string(1, char(c)) : Utf16ToGbk(std::u16string(1, c));
        if (bytes.empty() || (c >= 0x80 && bytes == "?")) continue;
        for (char b : bytes) chars.push_back(MSG{hwnd, message, WPARAM(BYTE(b)), 1, GetTickCount(), {}});
    }
    if (front) {
        for (auto it = chars.rbegin(); it != chars.rend(); ++it) PostToThreadFront(*it);
    } else {
        for (const MSG &m : chars) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    }
}

} // namespace platform

using namespace platform;

extern "C" SHORT WINAPI GetKeyState(int vk) {
    BYTE s = keyState[vk & 0xFF];
    return SHORT(((s & 0x80) ? 0x8000 : 0) | (s & 1));
}

extern "C" SHORT WINAPI GetAsyncKeyState(int vk) { return SHORT((keyState[vk & 0xFF] & 0x80) ? 0x8000 : 0); }

// Key-down messages post their characters so that the next message read is the character.
extern "C" BOOL WINAPI TranslateMessage(const MSG *msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    BYTE slot = BYTE((msg->lParam >> 16) & 0xFF);
    std::u16string text;
    {
        std::lock_guard lock(textLock);
        if (slot && keyTexts[slot].vk == msg->wParam) text = keyTexts[slot].text;
    }
    if (text.empty()) text = CharactersOf(UINT(msg->wParam));
    if (text.empty()) return FALSE;
    PostTypedText(msg->hwnd, text, true, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR);
    return TRUE;
}
