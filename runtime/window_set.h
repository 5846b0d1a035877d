// What the runtime asks of the unit framework, which sits above it: the window set
// read from the image, window loading and the window services. The program installs
// the unit framework's table; without one the window list is empty.
#pragma once

#include <cstdint>
#include <vector>

#include "windows.h"

namespace rt {

struct WindowSetOperations {
    // Deserializes the window set and relocates its handler offsets; false when the
    // data does not read.
    bool (*load)(const uint8_t *data, uint32_t size, uintptr_t codeBase);
    // Loads a window as a non-modal window without owner; false when unknown or failed.
    bool (*loadStartupWindow)(uint32_t windowId);
    // Destroys every window record (at clean-up).
    void (*clear)();
    // True while any loaded window still has a live window handle.
    bool (*anyLiveWindow)();
    // Gives idle time to the loaded windows that have not declined it in this period;
    // adds those that want no more to `declined`; true while any wants more.
    bool (*idle)(DWORD elapsedMs, std::vector<HWND> &declined);
    // Window and unit services (1001, 1014, 2000, 2005-2008, 2017, 2022, 2031-2033, 2037-2040).
    intptr_t (*service)(int32_t code, intptr_t p1, intptr_t p2);
    // Unit and object properties (helper slots 4/5, handlers 4/5).
    uint64_t (*readProperty)(uint32_t window, uint32_t unit, int32_t property, int32_t index);
    void (*writeProperty)(uint32_t window, uint32_t unit, int32_t property, int32_t index, uint32_t low, uint32_t high);
    uint64_t (*readObjectProperty)(uint32_t type, uintptr_t object, int32_t property, int32_t index);
    void (*writeObjectProperty)(uint32_t type, uintptr_t object, int32_t property, int32_t index, uint32_t low,
                                uint32_t high);
};

} // namespace rt
