// Answers for the common dialogs without a person, for tests and scripted runs.
//
// A hook set here answers every GetOpenFileNameA/GetSaveFileNameA (ChooseFontA) call
// instead of showing the dialog. Without a hook, the environment variable
// SORVEL_FILE_DIALOG_ANSWER answers file dialogs: its value is the chosen path (a DOS
// path, or a host path starting with "/"), and an empty value cancels. Headless runs
// with neither cancel at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "wingdi.h"

namespace platform {

struct FileDialogRequest {
    bool save = false;
    std::string title;        // GBK
    std::string initialDir;   // GBK DOS path
    std::string initialName;  // GBK
    std::string defaultExt;
    std::vector<std::pair<std::string, std::string>> filters; // description, pattern
    DWORD filterIndex = 0;    // 1-based, 0 for none
    DWORD flags = 0;
};

// The chosen GBK DOS path, or nothing to cancel.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest &)>;
void SetFileDialogHook(FileDialogHook hook);

// Fills the font and colour and answers true to confirm.
using FontDialogHook = std::function<bool(LOGFONTA &font, COLORREF &colour)>;
void SetFontDialogHook(FontDialogHook hook);

} // namespace platform
