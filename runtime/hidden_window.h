// The hidden message window: it carries exit requests from worker threads to the main
// thread (message 0x83E7).
#pragma once

#include "windows.h"

namespace rt {

constexpr UINT kMessageExitRequest = 0x83E7;

HWND CreateHiddenWindow();

} // namespace rt
