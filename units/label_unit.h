// The label unit: a self-painted caption with text effects, a gradient frame and a
// gradient or picture background.
#pragma once

#include "picture_drawing.h"
#include "window_object.h"
#include "window_unit_store.h"

namespace units {

enum LabelProperty : int {
    kLabelCaption = 8,
    kLabelEffect,
    kLabelBorder,
    kLabelFrameWidth,
    kLabelFrameColour1,
    kLabelFrameColour2,
    kLabelFrameColour3,
    kLabelFont,
    kLabelTextColour,
    kLabelBackground,
    kLabelPicture,
    kLabelLayout,
    kLabelGradient,
    kLabelGradientColour1,
    kLabelGradientColour2,
    kLabelGradientColour3,
    kLabelAlign,
    kLabelWordWrap,
    kLabelVAlign,
    kLabelSource,
    kLabelColumn,
};

class LabelUnit : public fw::WindowObject {
public:
    uint32_t windowId = 0, unitId = 0;
    StoredProperties props;
    HFONT font = nullptr;
    IPicture *picture = nullptr;
    bool pictureTried = false;

    ~LabelUnit() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

const void *LabelUnitInterface(int32_t request);
void SetLabelDefaults(StoredProperties &props);
// The colours of a gradient triple that are used (0xff000000 marks an unused one).
std::vector<COLORREF> UsedColours(const StoredProperties &props, int first);
// Window styles of the border styles 0 to 5 (style 6 is painted).
void LabelBorderStyles(int border, DWORD &style, DWORD &exStyle);
void PaintLabel(LabelUnit &unit, HDC dc);

} // namespace units
