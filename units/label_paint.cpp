// Painting a label: the gradient frame of border style 6, the background (picture,
// gradient or colour) and the caption with its text effect.
#include "label_unit.h"

#include <algorithm>

#include "picture_drawing.h"
#include "window_unit.h"

namespace units {
namespace {

constexpr uint32_t kSystemColour = 0xff000000;

COLORREF Mix(COLORREF a, COLORREF b, int step, int steps) {
    auto part = [&](int shift) {
        int x = int(a >> shift & 0xff), y = int(b >> shift & 0xff);
        return COLORREF(x + (y - x) * step / std::max(steps, 1)) << shift;
    };
    return part(0) | part(8) | part(16);
}

// The colour at `step` of `steps` along two or three colours.
COLORREF Along(const std::vector<COLORREF> &colours, int step, int steps) {
    if (colours.size() == 2) return Mix(colours[0], colours[1], step, steps);
    int half = steps / 2;
    return step <= half ? Mix(colours[0], colours[1], step, half) : Mix(colours[1], colours[2], step - half, steps - half);
}

void Fill(HDC dc, const RECT &r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The frame goes from the first colour at the edge to the last at its inner side.
void DrawFrame(HDC dc, RECT &r, int width, const std::vector<COLORREF> &colours) {
    for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
        HBRUSH brush = CreateSolidBrush(Along(colours, i, width - 1));
        FrameRect(dc, &r, brush);
        DeleteObject(brush);
        InflateRect(&r, -1, -1);
    }
}

// Styles 1 to 4 run left to right, top to bottom, right to left, bottom to top;
// 5 to 8 the same, mirrored about the middle.
void DrawGradient(HDC dc, const RECT &r, int style, const std::vector<COLORREF> &colours) {
    bool horizontal = style % 2 == 1;
    bool reversed = ((style - 1) / 2) % 2 == 1;
    bool mirrored = style > 4;
    int length = horizontal ? r.right - r.left : r.bottom - r.top;
    for (int i = 0; i < length; ++i) {
        int at = reversed ? length - 1 - i : i;
        int steps = length - 1;
        if (mirrored) {
            at = std::min(at, length - 1 - at);
            steps = (length - 1) / 2;
        }
        RECT band = horizontal ? RECT{r.left + i, r.top, r.left + i + 1, r.bottom}
                               : RECT{r.left, r.top + i, r.right, r.top + i + 1};
        Fill(dc, band, Along(colours, at, steps));
    }
}

void DrawBackground(LabelUnit &unit, HDC dc, const RECT &r) {
    const StoredProperties &p = unit.props;
    uint32_t background = uint32_t(p.number[kLabelBackground]);
    Fill(dc, r, background == kSystemColour ? GetSysColor(COLOR_BTNFACE) : COLORREF(background & 0xffffff));
    if (!unit.pictureTried) {
        unit.picture = PictureFromData(p.data[kLabelPicture]);
        unit.pictureTried = true;
    }
    if (unit.picture) {
        int layout = p.number[kLabelLayout] == 2 ? 3 : p.number[kLabelLayout];
        DrawPicture(dc, unit.picture, layout, r);
        return;
    }
    std::vector<COLORREF> colours = UsedColours(p, kLabelGradientColour1);
    if (p.number[kLabelGradient] > 0 && colours.size() >= 2) DrawGradient(dc, r, p.number[kLabelGradient], colours);
}

UINT TextFlags(const StoredProperties &p) {
    static const UINT horizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    static const UINT vertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    UINT flags = DT_NOCLIP | horizontal[LimitPick(p.number[kLabelAlign], 2)];
    if (p.number[kLabelWordWrap]) return flags | DT_WORDBREAK;
    return flags | DT_SINGLELINE | vertical[LimitPick(p.number[kLabelVAlign], 2)];
}

void DrawTextAt(HDC dc, const std::string &text, RECT r, int dx, int dy, COLORREF colour, UINT flags) {
    OffsetRect(&r, dx, dy);
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), int(text.size()), &r, flags);
}

void DrawCaption(LabelUnit &unit, HDC dc, const RECT &r) {
    const StoredProperties &p = unit.props;
    const std::string &text = p.data[kLabelCaption];
    if (text.empty()) return;
    HGDIOBJ old = SelectObject(dc, unit.font ? static_cast<HGDIOBJ>(unit.font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    UINT flags = TextFlags(p);
    COLORREF colour = COLORREF(uint32_t(p.number[kLabelTextColour]) & 0xffffff);
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    switch (p.number[kLabelEffect]) {
    case 1:
        DrawTextAt(dc, text, r, 1, 1, white, flags);
        DrawTextAt(dc, text, r, 0, 0, colour, flags);
        break;
    case 2:
        DrawTextAt(dc, text, r, 0, 0, white, flags);
        DrawTextAt(dc, text, r, 1, 1, colour, flags);
        break;
    case 3:
        DrawTextAt(dc, text, r, 2, 2, black, flags);
        DrawTextAt(dc, text, r, 0, 0, colour, flags);
        break;
    default: DrawTextAt(dc, text, r, 0, 0, colour, flags); break;
    }
    SelectObject(dc, old);
}

} // namespace

void PaintLabel(LabelUnit &unit, HDC dc) {
    RECT r;
    GetClientRect(unit.Handle(), &r);
    std::vector<COLORREF> frame = UsedColours(unit.props, kLabelFrameColour1);
    int width = unit.props.number[kLabelFrameWidth];
    if (unit.props.number[kLabelBorder] == 6 && width > 0 && frame.size() >= 2) DrawFrame(dc, r, width, frame);
    DrawBackground(unit, dc, r);
    DrawCaption(unit, dc, r);
}

} // namespace units
