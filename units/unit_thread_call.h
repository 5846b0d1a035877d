// Running a routine on the thread that owns a window: windows live on the thread that
// made them, so work that creates or destroys unit windows goes there.
#pragma once

#include <functional>

#include "windows.h"

namespace units {

// Runs `work` at once when the caller owns `window`, else on the window's thread
// (through a helper window of that thread) while the caller waits.
void RunOnWindowThread(HWND window, const std::function<void()> &work);
// Makes the calling thread's helper window; called by the loads on that thread.
void PrepareWindowThread();
// Runs `work` on the thread that loads the windows (the first one prepared), while the
// caller waits; at once when that is the caller or no thread has loaded a window yet.
void RunOnLoadingThread(const std::function<void()> &work);

} // namespace units
