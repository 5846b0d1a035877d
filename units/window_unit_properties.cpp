// The window unit's properties: its template data layout, reads and writes on a live
// window, and what each write changes on the screen.
#include <algorithm>

#include "runtime_interface.h"
#include "sound_player.h"
#include "unit_thread_call.h"
#include "window_shapes.h"
#include "window_unit.h"

namespace units {
namespace {

uint32_t soundingWindow = 0; // the window whose background sound was started last

constexpr int32_t kMaxBorder = 6, kMaxLayout = 3, kMaxSoundMode = 2, kMaxStart = 3, kMaxShape = 29;
constexpr DWORD kBorderStyles = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER |
                                WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
constexpr DWORD kBorderExStyles = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;

HICON IconFromProperty(const std::string &data) {
    if (data.empty()) return nullptr;
    auto *bytes = reinterpret_cast<PBYTE>(const_cast<char *>(data.data()));
    return CreateIconFromResourceEx(bytes, DWORD(data.size()), TRUE, 0x30000, 0, 0, 0);
}

void Centre(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    POINT p = CentredOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), r.right - r.left,
                        r.bottom - r.top);
    SetWindowPos(h, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Other loaded windows that want to be topmost go back on top.
void RestoreTopmostWindows(const CWinFormUnit &leaving) {
    for (auto &w : TheWindowList().windows) {
        if (w->units.empty() || !IsLive(w->units[0].record)) continue;
        auto *other = dynamic_cast<CWinFormUnit *>(LiveObject(w->units[0].record));
        if (other && other != &leaving && other->props.number[kWinTopmost])
            SetWindowPos(other->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ApplyStartPosition(CWinFormUnit &unit) {
    HWND h = unit.Handle();
    if (!IsWindowVisible(h)) return;
    switch (unit.props.number[kWinStartPosition]) {
    case 0: ShowWindow(h, SW_SHOWNORMAL); break;
    case 1:
        if (IsIconic(h) || IsZoomed(h)) ShowWindow(h, SW_RESTORE);
        Centre(h);
        break;
    case 2: ShowWindow(h, SW_MINIMIZE); break;
    default: Maximise(unit); break;
    }
}

int32_t MaxPick(int index) {
    switch (index + 8) {
    case kWinBorder: return kMaxBorder;
    case kWinLayout: return kMaxLayout;
    case kWinSoundMode: return kMaxSoundMode;
    case kWinStartPosition: return kMaxStart;
    case kWinShape: return kMaxShape;
    default: return -1;
    }
}

int WriteOnWindowThread(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    auto &unit = static_cast<CWinFormUnit &>(*object);
    if (output) *output = 0;
    bool wasTopmost = unit.props.number[kWinTopmost] != 0;
    Store(unit.props, kTypeWindow, index, *value, MaxPick(index));
    HWND h = unit.Handle();
    switch (index + 8) {
    case kWinTitle: SetWindowTextA(h, unit.props.data[kWinTitle].c_str()); ApplyStyles(unit); break;
    case kWinBorder:
    case kWinControlBox:
    case kWinMaxBox:
    case kWinMinBox: ApplyStyles(unit); break;
    case kWinPicture: unit.DropPicture(); InvalidateRect(h, nullptr, TRUE); break;
    case kWinBackground: InvalidateRect(h, nullptr, TRUE); break;
    case kWinLayout:
        if (!unit.props.data[kWinPicture].empty()) InvalidateRect(h, nullptr, TRUE);
        break;
    case kWinStartPosition: ApplyStartPosition(unit); break;
    case kWinMovable: ApplyMovable(unit); break;
    case kWinIcon: ApplyIcons(unit); break;
    case kWinTopmost: ApplyTopmost(unit, wasTopmost && !unit.props.number[kWinTopmost]); break;
    case kWinShape: ApplyShape(unit); break;
    case kWinSound:
    case kWinSoundMode:
        rt::RuntimeService(rt::kServiceStopSound, 0, 0);
        soundingWindow = 0;
        StartBackgroundSound(unit);
        break;
    default: break; // stored only
    }
    return 0;
}

} // namespace

const DataLayout &WindowDataLayout() {
    static const DataLayout layout{
        6,
        {{Field::Word, 9},      {Field::Word, 12},     {Field::Word, 10},     {Field::Word, 16},
         {Field::Word, 17},     {Field::Word, 15},     {Field::Word, 18},     {Field::Word, 19},
         {Field::Word, 14},     {Field::Word, 21},     {Field::Word, 22},     {Field::Word, 23},
         {Field::Word, 25},     {Field::Word, 26, 2},  {Field::Word, 27, 3},  {Field::Word, 28, 3},
         {Field::Word, 29, 4},  {Field::Word, 30, 5},  {Field::Text, 31, 6},  {Field::Bytes, 11},
         {Field::Bytes, 20},    {Field::Bytes, 13},    {Field::Text, 8},      {Field::Text, 24}}};
    return layout;
}

bool Resizable(const StoredProperties &p) {
    int b = p.number[kWinBorder];
    return b == 1 || b == 3 || b == 5;
}

void Maximise(CWinFormUnit &unit) {
    HWND h = unit.Handle();
    if (Resizable(unit.props)) {
        ShowWindow(h, SW_SHOWMAXIMIZED);
        return;
    }
    if (IsIconic(h) || IsZoomed(h)) ShowWindow(h, SW_RESTORE);
    SetWindowPos(h, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER | SWP_SHOWWINDOW);
}

void ApplyIcons(CWinFormUnit &unit) {
    HICON icon = IconFromProperty(unit.props.data[kWinIcon]);
    HICON shown[2] = {icon, icon}; // large, small
    if (!icon) rt::RuntimeService(rt::kServiceDefaultIcon, reinterpret_cast<intptr_t>(shown), 0);
    for (HICON &h : shown)
        if (!h) h = LoadIconA(nullptr, IDI_APPLICATION);
    SendMessageA(unit.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shown[0]));
    SendMessageA(unit.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown[1]));
    if (unit.bigIcon) DestroyIcon(unit.bigIcon);
    unit.bigIcon = icon;
}

// A window created as a child never plays; mode 2 plays nothing.
void StartBackgroundSound(CWinFormUnit &unit) {
    const std::string &data = unit.props.data[kWinSound];
    int32_t mode = unit.props.number[kWinSoundMode];
    bool child = GetWindowLongA(unit.Handle(), GWL_STYLE) & WS_CHILD;
    if (data.empty() || mode == rt::kSoundSilent || child) return;
    uint32_t sizeBytes = uint32_t(std::min<size_t>(data.size(), UINT32_MAX));
    rt::SoundData sound{reinterpret_cast<const uint8_t *>(data.data()), sizeBytes};
    if (rt::RuntimeService(rt::kServicePlaySound, reinterpret_cast<intptr_t>(&sound), mode))
        soundingWindow = unit.windowId;
}

// Another window's sound, started since, plays on.
void StopBackgroundSound(CWinFormUnit &unit) {
    if (soundingWindow != unit.windowId) return;
    rt::RuntimeService(rt::kServiceStopSound, 0, 0);
    soundingWindow = 0;
}

// From the window's current size; shape 0 takes the region away.
void ApplyShape(CWinFormUnit &unit) {
    RECT r;
    GetWindowRect(unit.Handle(), &r);
    SetWindowRgn(unit.Handle(), MakeWindowShape(unit.props.number[kWinShape], r.right - r.left, r.bottom - r.top), TRUE);
}

void ApplyMovable(CWinFormUnit &unit) {
    if (unit.props.number[kWinMovable]) {
        GetSystemMenu(unit.Handle(), TRUE);
        return;
    }
    if (HMENU menu = GetSystemMenu(unit.Handle(), FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
}

void ApplyStyles(CWinFormUnit &unit) {
    DWORD style, ex;
    WindowStyles(unit.props, style, ex);
    HWND h = unit.Handle();
    DWORD mask = kBorderStyles | (unit.ownedPopup ? 0 : DWORD(WS_POPUP));
    SetWindowLongA(h, GWL_STYLE, LONG((DWORD(GetWindowLongA(h, GWL_STYLE)) & ~mask) | style));
    SetWindowLongA(h, GWL_EXSTYLE, LONG((DWORD(GetWindowLongA(h, GWL_EXSTYLE)) & ~kBorderExStyles) | ex));
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ApplyTopmost(CWinFormUnit &unit, bool leaving) {
    HWND after = unit.props.number[kWinTopmost] ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(unit.Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (leaving) RestoreTopmostWindows(unit);
}

// Writes run on the window's thread, so painting never sees a half-changed record.
int WriteWindowProperty(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    int result = 0;
    RunOnWindowThread(object->Handle(), [&] { result = WriteOnWindowThread(object, index, value, output); });
    return result;
}

int ReadWindowProperty(fw::WindowObject *object, int32_t index, PropertyValue *value) {
    auto &unit = static_cast<CWinFormUnit &>(*object);
    if (index < 0 || index + 8 > kWinClassName) return 0;
    *value = ValueOf(unit.props, kTypeWindow, index);
    if (index + 8 == kWinStartPosition) {
        HWND h = unit.Handle();
        value->first = IsIconic(h) ? 2 : IsZoomed(h) ? 3 : 0;
    }
    return 1;
}

uint8_t *SerializeWindow(fw::WindowObject *object, uint32_t *size) {
    return WritePropertyData(WindowDataLayout(), static_cast<CWinFormUnit &>(*object).props, size);
}

} // namespace units
