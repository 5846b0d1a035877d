// The window's background: its colour and its picture in one of four layouts.
#include "picture_drawing.h"
#include "window_unit.h"

namespace units {
namespace {

constexpr uint32_t kSystemColour = 0xff000000;

COLORREF Colour(int32_t stored) {
    return uint32_t(stored) == kSystemColour ? GetSysColor(COLOR_BTNFACE) : COLORREF(uint32_t(stored) & 0xffffff);
}

} // namespace

void PaintWindow(CWinFormUnit &unit) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(unit.Handle(), &ps);
    RECT client;
    GetClientRect(unit.Handle(), &client);
    HBRUSH brush = CreateSolidBrush(Colour(unit.props.number[kWinBackground]));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (!unit.pictureTried) {
        unit.picture = PictureFromData(unit.props.data[kWinPicture]);
        unit.pictureTried = true;
    }
    DrawPicture(dc, unit.picture, unit.props.number[kWinLayout], client);
    EndPaint(unit.Handle(), &ps);
}

} // namespace units
