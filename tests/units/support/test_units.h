// A small set of unit types and an image with a window set for the framework's
// tests: a top-level window unit, a control with a caption and a number, a unit
// that is never shown, a type without interface and a type that may not raise events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window_object.h"

namespace testunits {

// Type codes of the test library (library 1).
enum : uint32_t {
    kTestWindow = 0x10001,
    kTestControl = 0x10002,
    kTestHidden = 0x10004,
    kTestMissing = 0x10005,
    kTestSilent = 0x10006,
};

// Windows and units of the test image (test_windows.txt).
enum : uint32_t {
    kMain = 0x52000001,
    kMainUnit = 0x06000001,
    kKeyword = 0x16000002,
    kButton = 0x16000003,
    kHidden = 0x16000004,
    kNoData = 0x16000005,
    kShared = 0x1600000c,
    kSilent = 0x1600000d,
    kMenuItem = 0x2600000e,
    kModal = 0x52000006,
    kBadVersion = 0x52000007,
    kMissingType = 0x52000009,
    kQuiet = 0x5200000f,
    kQuietUnit = 0x0600000f,
};

class TestUnit : public fw::WindowObject {
public:
    uint32_t windowId = 0, unitId = 0;
    bool isWindow = false;
    std::string caption;
    int32_t number = 0;
    std::string font; // a LOGFONT, or empty

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

// What happened, in order: messages the units received, handlers that ran.
std::vector<std::string> &Log();
std::string Hex(uint32_t v);

// Called when a test unit window receives WM_CLOSE (before it closes).
extern void (*onClose)(uint32_t unitId);
// Writes "destroyed UNIT" to stderr from every unit window's final clean-up.
extern bool traceDestroy;

// Starts the runtime with the test image (once per process).
void StartUnitsRuntime();
// The handler table entries: 0 records its arguments, 1 returns 0, 2 returns 'Z',
// 3 closes the window of the current event, 4 returns nothing.
int HandlerCalls(int handler);

} // namespace testunits
