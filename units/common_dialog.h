// The common dialog unit (type 0x1001f): a never-shown unit whose properties describe
// an open, save, font or help dialog. The private message rt::kMessageRunCommonDialog
// runs the dialog on the unit's thread and answers nonzero when the user confirmed.
#pragma once

#include <cstdint>

#include "common_dialog_data.h"
#include "unit_interface.h"
#include "window_object.h"

namespace units {

UnitInterface CommonDialogInterface();

class CommonDialogUnit : public fw::WindowObject {
public:
    CommonDialogProperties p;
    uint32_t windowId = 0, unitId = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

} // namespace units
