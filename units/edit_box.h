// The edit box unit (type 0x10005): an EDIT control, optionally with an up-down
// adjuster, with typed input modes, selection properties and a content-changed event.
//
// The unit's window is a frame of a private class that holds the EDIT control (and
// the adjuster beside it), so that the control's notifications and colour requests
// reach the unit itself whatever window holds it. Edit messages sent to the unit's
// window (EM_*, WM_GETTEXT, WM_SETTEXT ...) are passed to the EDIT control, and the
// focus given to the unit's window goes on to the control.
#pragma once

#include <cstdint>

#include "edit_box_data.h"
#include "unit_interface.h"
#include "window_object.h"

namespace units {

UnitInterface EditBoxInterface();

// Events of the edit box.
enum EditBoxEvent : int32_t {
    kEditContentChanged = 0,
    kEditAdjusterClicked = 1,
};

class EditBoxUnit : public fw::WindowObject {
public:
    EditBoxProperties p;
    uint32_t windowId = 0, unitId = 0;
    UINT_PTR controlId = 0;
    HWND edit = nullptr, upDown = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    bool writingContent = false; // set while a property write replaces the text
    bool created = false;        // a window that failed to become the unit reports no end
    WNDPROC editProc = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

} // namespace units
