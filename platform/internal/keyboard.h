// Virtual keys and the keyboard state: Qt keys become virtual keys for WM_KEYDOWN, and
// a control lets a key through by turning the virtual key back into a Qt key.
#pragma once

#include <string>

#include "winuser.h"

namespace platform {

UINT VirtualKeyOfQtKey(int qtKey, quint32 nativeVirtualKey = 0);
int QtKeyOfVirtualKey(UINT vk);
void NoteKeyState(UINT vk, bool down);
void NoteModifierState(bool shift, bool control, bool alt);
// Remembers the text a key press typed; the result goes in bits 16..23 of lParam so that
// TranslateMessage finds it again.
BYTE RememberKeyText(UINT vk, const std::u16string &text);
// The posted WM_CHAR messages of a typed text (GBK bytes, lead byte first).
void PostTypedText(HWND hwnd, const std::u16string &text, bool front, UINT message = WM_CHAR);

} // namespace platform
