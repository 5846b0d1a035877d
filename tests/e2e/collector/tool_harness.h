// The whole tool in one process: the program runs on the main thread exactly as it
// does when started, against sorvel-mock, while a driver thread uses it the way a
// person would (types keywords, presses buttons, closes the window) and checks what
// the window shows.
//
// Each scenario runs in a program of its own, started from a fresh directory: that
// directory is the tool's run directory, where it installs its skin library and
// saves its results, so scenarios running side by side never share those files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "windows.h"

namespace e2e {

// What the driver of one scenario does once the main window is loaded and shown. It
// ends with a verdict; the window is closed after it returns.
using Drive = void (*)();

// In the test process: runs the current test again as a scenario in a fresh directory
// and expects exit code 0 with the verdict "ok". In that scenario program: runs the
// tool with `drive` against a mock started with `mockSwitches`, and never returns.
// Each name of `foreignModules` is placed beside the program first, as a copy of a
// module file of ours that exports none of the functions the tool declares.
void ExpectToolScenario(Drive drive, std::vector<std::string> mockSwitches = {},
                        const std::vector<std::string> &foreignModules = {});

void Verdict(bool ok, const std::string &what);

// The run directory as a host path, ending in "/".
std::string RunDirectory();
// The mock's address as the tool uses it ("127.0.0.1:port").
std::string MockHost();

HWND UnitWindow(uint32_t unit);
// A text property of a main-window unit (GBK).
std::string Text(uint32_t unit, int32_t property);
std::string Content(uint32_t unit);
void SetContent(uint32_t unit, const std::string &gbk);

bool WaitFor(const std::function<bool()> &done, int seconds);
size_t Count(const std::string &text, const std::string &part);

// A press through the button's own window, as a click would make it. Posted: the
// driver goes on while the handler runs.
void Press(uint32_t button);
// Waits (90 s at most) until the status box holds `endLines` end lines.
bool CollectionEnded(size_t endLines);

// Runs `work` on the window thread and waits for it.
void OnWindowThread(const std::function<void()> &work);

}  // namespace e2e
