// The unit framework's table of routines for the runtime, and the window and unit
// services it answers.
#pragma once

#include <cstdint>

#include "window_set.h"

namespace units {

// Service 2038's record: in the window and the menu command; out the text
// ("caption\tshortcut") and whether the item is visible.
struct MenuCommandQuery {
    uint32_t window;
    uint32_t command;
    char *text;
    uint32_t textSize;
    int32_t visible;
};

intptr_t WindowService(int32_t code, intptr_t p1, intptr_t p2);

// The table the program installs as its window set.
extern const rt::WindowSetOperations WindowSetTable;

} // namespace units
