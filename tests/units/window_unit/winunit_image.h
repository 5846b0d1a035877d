// The test image of the window, label and button unit tests: the core unit types
// and a window set (winunit_windows.txt) with a main-like window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "windows.h"

namespace winunit_test {

enum : uint32_t {
    kMain = 0x52000101,
    kMainUnit = 0x06000101,
    kPromptLabel = 0x16000102,
    kTitleLabel = 0x16000107,
    kMessageLabel = 0x16000108,
    kFetch = 0x16000103,
    kSave = 0x16000104,
    kClear = 0x16000105,
    kSelectAll = 0x16000106,
    kSecond = 0x52000201,
    kPictureWindow = 0x52000301,
    kEnterWindow = 0x52000401,
    kEnterFirst = 0x16000402,
    kEnterSecond = 0x16000403,
    kDefaults = 0x52000501,
    kBadVersion = 0x52000601,
    kOptions = 0x52000701,
    kOptionA = 0x16000702,
    kOptionB = 0x16000703,
    kOptionC = 0x16000704,
    kOptionType = 0x10008,
    kSoundWindow = 0x52000801,
};

void StartRuntime();
// Handlers that ran, as "unit event-source" lines.
std::vector<std::string> &Calls();
// What the close handler (event 1 of the main window) answers: -1 no value.
extern int closeAnswer;

intptr_t Load(uint32_t window);
HWND HandleOf(uint32_t window, uint32_t unit = 0);
// Runs waiting messages through the runtime's pre-translation; true when the quit
// message came.
bool Pump();
void CloseAll();
std::string Hex(uint32_t v);

} // namespace winunit_test
