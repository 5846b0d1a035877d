#include "unit_commands.h"
#include "unit_window.h"
#include "window_thread_call.h"

namespace cmd {
namespace {

// The focus belongs to the window's thread, so it is set there.
intptr_t FocusOn(HWND window, void *) {
    ::SetFocus(window);
    return 0;
}

} // namespace

void SetFocus(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    if (HWND window = UnitWindow(count, args)) CallOnWindowThread(window, FocusOn, nullptr);
}

const CommandEntry kFocusCommands[] = {
    {"SetFocus", SetFocus, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
