// The Qt application behind user32. It lives on the process's main thread, which is
// the thread every window of this platform belongs to.
#pragma once

class QApplication;

namespace platform {

bool IsGuiThread();
// Creates the application on first use; null on any thread but the GUI thread.
QApplication *GuiApplication();
bool GuiExists();
// Without a display the platform runs Qt offscreen and message boxes go to stderr.
bool IsHeadless();
void WakeGuiThread();
// Runs Qt's event processing once; with `wait`, sleeps until something arrives.
void ProcessGuiEvents(bool wait);

} // namespace platform
