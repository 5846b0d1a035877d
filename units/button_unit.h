// The button unit: a Win32 push button whose click raises its event 0.
#pragma once

#include "picture_drawing.h"
#include "window_object.h"
#include "window_unit_store.h"

namespace units {

enum ButtonProperty : int {
    kButtonPicture = 8,
    kButtonKind,
    kButtonCaption,
    kButtonAlign,
    kButtonVAlign,
    kButtonFont,
};

class ButtonUnit : public fw::WindowObject {
public:
    uint32_t windowId = 0, unitId = 0;
    StoredProperties props;
    HFONT font = nullptr;
    IPicture *picture = nullptr; // owns the handle shown by the button
    HANDLE image = nullptr;
    int imageType = -1; // IMAGE_BITMAP or IMAGE_ICON (icons and cursors); -1 for none

    ~ButtonUnit() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

const void *ButtonUnitInterface(int32_t request);
void SetButtonDefaults(StoredProperties &props);
// The style bits of kind, alignments and picture kind.
DWORD ButtonStyle(const StoredProperties &props, int imageType);
// A font from a 60-byte LOGFONT, or null for any other data.
HFONT FontFromData(const std::string &data);

} // namespace units
