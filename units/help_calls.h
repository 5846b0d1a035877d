// The units' help calls (the common dialog's help kind and the window's F1), made
// through WinHelpA. A window that made one closes help when it is destroyed.
#pragma once

#include <cstdint>
#include <string>

#include "windows.h"

namespace units {

// The program's own file name with its extension replaced by "hlp".
std::string ProgramHelpFile();
bool IsHelpFile(const std::string &path);

// Calls help for the window `windowId` (handle `window`) and marks it as having opened
// help; HELP_QUIT clears the mark instead. WinHelpA's answer.
bool CallHelp(uint32_t windowId, HWND window, const std::string &file, UINT command, ULONG_PTR data);
// Whether help opened by the window is still open.
bool HelpOpenedBy(uint32_t windowId);
// At the window's destruction: closes the help it opened, if any.
void CloseHelpOf(uint32_t windowId, HWND window);

} // namespace units
