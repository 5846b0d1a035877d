// Answers for WinHelpA without a desktop viewer, for tests and scripted runs: a hook
// set here receives every help call that passed WinHelpA's own checks.
#pragma once

#include <functional>
#include <string>

#include "windows.h"

namespace platform {

struct HelpRequest {
    HWND window = nullptr;
    std::string file;  // GBK DOS path as given, empty for the calls without one
    UINT command = 0;
    ULONG_PTR data = 0;
};

using HelpHook = std::function<BOOL(const HelpRequest &)>;
void SetHelpHook(HelpHook hook);

} // namespace platform
