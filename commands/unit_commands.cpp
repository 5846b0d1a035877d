#include "unit_commands.h"

#include "command_arguments.h"
#include "core_library.h"
#include "unit_messages.h"
#include "unit_window.h"
#include "window_thread_call.h"

namespace cmd {
namespace {

// The four steps of one append, run together on the edit box's thread so that a
// selection the user makes meanwhile is never the one replaced.
intptr_t AppendAtEnd(HWND edit, void *text) {
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(edit, EM_SETSEL, WPARAM(length), LPARAM(length));
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    return 0;
}

struct AppendRequest {
    const rt::TypedValue &unit;
    const char *text;
};

// The box's look-up and the append in one step on the units' thread; 0 when the box has
// no window.
intptr_t AppendToUnit(HWND, void *parameter) {
    auto *request = static_cast<AppendRequest *>(parameter);
    HWND edit = LoadedUnitWindow(request->unit);
    if (!edit) return 0;
    AppendAtEnd(edit, const_cast<char *>(request->text));
    return 1;
}

// The window of a window unit's value; null when that window is not loaded.
HWND LoadedWindow(const rt::TypedValue &unit) {
    intptr_t object = CoreService(rt::kServiceUnitObject, intptr_t(unit.low), 0);
    return object ? reinterpret_cast<HWND>(CoreService(rt::kServiceHandleOfWindowObject, object)) : nullptr;
}

bool LoadWindowFor(int32_t count, rt::TypedValue *args) {
    if (count < 1) return false;
    HWND owner = nullptr;
    if (ArgumentGiven(count, args, 2) && !(owner = LoadedWindow(args[2]))) return false;
    rt::LoadWindowRequest request{args[0].low, 0, BooleanArgument(count, args, 1), owner};
    return CoreService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request)) == 0;
}

} // namespace

// A box without a window is reported on the caller's thread.
void AppendText(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    if (count < 2) {
        UnitWindow(count, args);
        return;
    }
    for (int32_t i = 1; i < count; ++i) {
        AppendRequest request{args[0], TextArgument(count, args, i)};
        if (!CallOnUnitsThread(AppendToUnit, &request)) {
            UnitWindow(count, args);
            return;
        }
    }
}

void ShowCommonDialog(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    HWND unit = UnitWindow(count, args);
    bool confirmed = unit && SendMessageA(unit, rt::kMessageRunCommonDialog, 0, 0) != 0;
    *result = rt::MakeBoolean(confirmed);
}

// LoadWindow(window [, modal [, owner window]]): true when the window is loaded (a modal
// one returns only after it has been closed); an owner that is not loaded fails the load.
void LoadWindow(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    *result = rt::MakeBoolean(LoadWindowFor(count, args));
}

const CommandEntry kUnitCommands[] = {
    {"LoadWindow", LoadWindow, 1},
    {"AppendText", AppendText, 1},
    {"ShowCommonDialog", ShowCommonDialog, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
