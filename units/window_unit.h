// The window unit: the top-level window that holds a window's units, paints its
// background, runs the keyboard conventions of the whole window in its message
// pre-filter and raises the window events 0 to 11.
#pragma once

#include "picture_drawing.h"
#include "window_list.h"
#include "window_object.h"
#include "window_unit_store.h"

namespace units {

// Window events.
enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowClosing = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowResized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowFirstActivation = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
};

// Window property indexes.
enum WindowProperty : int {
    kWinTitle = 8,
    kWinBorder,
    kWinBackground,
    kWinPicture,
    kWinLayout,
    kWinSound,
    kWinSoundMode,
    kWinControlBox,
    kWinMaxBox,
    kWinMinBox,
    kWinStartPosition,
    kWinMovable,
    kWinIcon,
    kWinEnterMoves,
    kWinEscCloses,
    kWinF1Help,
    kWinHelpFile,
    kWinHelpTopic,
    kWinTaskBar,
    kWinDragClient,
    kWinShape,
    kWinTopmost,
    kWinKeepActive,
    kWinClassName,
};

constexpr char kDefaultWindowClass[] = "KZWindow";

class CWinFormUnit : public fw::WindowObject {
public:
    uint32_t windowId = 0, unitId = 0;
    StoredProperties props;
    IPicture *picture = nullptr; // decoded from property 11 on first paint
    bool pictureTried = false;
    HWND savedFocus = nullptr;
    bool everActivated = false;
    bool inActivation = false;
    bool markedForDestruction = false;
    bool ownedPopup = false; // the load passed an owner: WS_POPUP whatever the border
    HICON bigIcon = nullptr, smallIcon = nullptr;
    HICON trayIcon = nullptr; // the one notification-area icon, owned

    ~CWinFormUnit() override;
    BOOL PreTranslateMessage(MSG *msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    Window *Record() const { return FindWindow(windowId); }
    void DropPicture();
};

// The window unit's interface routine.
const void *WindowUnitInterface(int32_t request);

// Defaults of every window property.
void SetWindowDefaults(StoredProperties &props);
// Style and extended style of a border style with the boxes of `props`.
void WindowStyles(const StoredProperties &props, DWORD &style, DWORD &exStyle);
// The top-left corner that centres a width x height rectangle on a screen.
POINT CentredOn(int screenWidth, int screenHeight, int width, int height);

// Properties (window_unit_properties.cpp): the template data layout, the requests
// 4, 5 and 6, and what writes change on a live window.
const DataLayout &WindowDataLayout();
int WriteWindowProperty(fw::WindowObject *unit, int32_t property, const PropertyValue *value, uint32_t *output);
int ReadWindowProperty(fw::WindowObject *unit, int32_t property, PropertyValue *value);
uint8_t *SerializeWindow(fw::WindowObject *unit, uint32_t *size);
bool Resizable(const StoredProperties &props);
void Maximise(CWinFormUnit &unit);
void ApplyIcons(CWinFormUnit &unit);
void ApplyMovable(CWinFormUnit &unit);
void ApplyShape(CWinFormUnit &unit);
void ApplyStyles(CWinFormUnit &unit);
void ApplyTopmost(CWinFormUnit &unit, bool leaving);
// The background sound of properties 13 and 14: started at creation and on a write of
// either, stopped with the window that started it.
void StartBackgroundSound(CWinFormUnit &unit);
void StopBackgroundSound(CWinFormUnit &unit);
// The notification-area icon (window_unit_tray.cpp): set, replaced (the old one
// destroyed) or, with null, removed; its mouse messages raise event 9.
constexpr UINT kMessageTrayIcon = 0x8064;
bool SetTrayIcon(CWinFormUnit &unit, HICON icon);
void OnTrayIcon(CWinFormUnit &unit, LPARAM mouseMessage);
// Pre-filter steps (window_unit_keys.cpp).
bool HandleWindowKey(CWinFormUnit &unit, Window &window, const MSG &msg);
// The tab order: positions of the units that take the focus, in order.
std::vector<int> TabOrder(Window &window);
// Painting (window_unit_paint.cpp).
void PaintWindow(CWinFormUnit &unit);

} // namespace units
