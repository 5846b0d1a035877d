// Carries a routine to the thread that owns a window and runs it there as one step:
// that thread handles no other message (no user input) until the routine returns.
#pragma once

#include <cstdint>

#include "windows.h"

namespace cmd {

using WindowThreadRoutine = intptr_t (*)(HWND window, void *parameter);

// Creates the carrier window on the calling thread, the thread that owns the units.
void StartWindowThreadCalls();
void StopWindowThreadCalls();

// Runs `routine` at once on the window's thread; 0 when `window` is not a window.
// A window of a thread without the carrier gets the routine on the calling thread.
intptr_t CallOnWindowThread(HWND window, WindowThreadRoutine routine, void *parameter);
// The same on the thread that owns the units (the window argument is null there).
intptr_t CallOnUnitsThread(WindowThreadRoutine routine, void *parameter);

} // namespace cmd
