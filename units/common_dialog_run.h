// Running the dialog a common dialog unit describes: open and save file, font, help.
#pragma once

#include <cstdint>
#include <string>

#include "common_dialog_data.h"
#include "windows.h"

namespace units {

// The filter text's "|"-separated items as the system's zero-terminated pairs, ended
// by an empty string; empty for an empty filter. A "|" that is the second byte of a
// double-byte character is part of that character.
std::string FilterPairs(const std::string &filter);

// Each runs its dialog with `owner` and writes a confirmed choice into `p`.
bool RunFileDialog(CommonDialogProperties &p, HWND owner);
bool RunFontDialog(CommonDialogProperties &p, HWND owner);
// `ownerLoaded`: whether the window holding the unit is loaded. Every call marks the
// owner as having opened help; the close command clears the mark.
bool RunHelp(const CommonDialogProperties &p, uint32_t ownerId, HWND owner, bool ownerLoaded);

} // namespace units
