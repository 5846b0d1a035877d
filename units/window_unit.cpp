#include "window_unit.h"

#include "event_dispatch.h"
#include "common_events.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"
#include "unit_thread_call.h"
#include "window_loading.h"
#include "window_menu.h"

namespace units {
namespace {

constexpr UINT kMessageTrayIcon = 0x8064;
constexpr UINT kMessageDestroyMarked = 0x8065;
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr int32_t kMaxBorder = 6, kMaxLayout = 3, kMaxSoundMode = 2, kMaxStart = 3, kMaxShape = 29;
constexpr DWORD kBorderStyles = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER |
                                WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
constexpr DWORD kBorderExStyles = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;

// Activation handlers of any window block further activation events until they return.
bool activationRunning = false;

const DataLayout &Layout() {
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

bool RegisterWindowClass(const std::string &name) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, name.c_str(), &wc)) return true;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    return RegisterClassA(&wc) != 0;
}

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
    HICON shown = icon ? icon : reinterpret_cast<HICON>(rt::RuntimeService(rt::kServiceDefaultIcon, 0, 0));
    if (!shown) shown = LoadIconA(nullptr, IDI_APPLICATION);
    SendMessageA(unit.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shown));
    SendMessageA(unit.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown));
    if (unit.bigIcon) DestroyIcon(unit.bigIcon);
    unit.bigIcon = icon;
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

bool AnyWindowLoaded() {
    for (auto &w : TheWindowList().windows)
        if (!w->units.empty() && IsLive(w->units[0].record)) return true;
    return false;
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

void ApplyTopmost(CWinFormUnit &unit, bool leaving) {
    HWND after = unit.props.number[kWinTopmost] ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(unit.Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (leaving) RestoreTopmostWindows(unit);
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
    default: break; // stored only; sound has no player here, shapes other than 0 are not drawn
    }
    return 0;
}

// Writes run on the window's thread, so painting never sees a half-changed record.
int WriteProperty(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    int result = 0;
    RunOnWindowThread(object->Handle(), [&] { result = WriteOnWindowThread(object, index, value, output); });
    return result;
}

int ReadProperty(fw::WindowObject *object, int32_t index, PropertyValue *value) {
    auto &unit = static_cast<CWinFormUnit &>(*object);
    if (index < 0 || index + 8 > kWinClassName) return 0;
    *value = ValueOf(unit.props, kTypeWindow, index);
    if (index + 8 == kWinStartPosition) {
        HWND h = unit.Handle();
        value->first = IsIconic(h) ? 2 : IsZoomed(h) ? 3 : 0;
    }
    return 1;
}

uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    return WritePropertyData(Layout(), static_cast<CWinFormUnit &>(*object).props, size);
}

HWND OwnerFor(const CreateUnitArgs &a, const StoredProperties &p) {
    if (a.parent) return a.parent;
    rt::RuntimeApp &app = rt::App();
    return !p.number[kWinTaskBar] && app.imageKind != 0 ? app.hiddenWindow : nullptr;
}

HWND CreateFrame(CWinFormUnit &unit, const CreateUnitArgs &a, const std::string &cls) {
    DWORD style, ex;
    WindowStyles(unit.props, style, ex);
    int left = a.left, top = a.top;
    int start = unit.props.number[kWinStartPosition];
    if (start == 1) {
        POINT p = CentredOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), a.width, a.height);
        left = p.x, top = p.y;
    }
    if (start == 2) style |= WS_MINIMIZE;
    if (start == 3 && Resizable(unit.props)) style |= WS_MAXIMIZE;
    if (a.parent) style |= WS_POPUP;
    return CreateWindowExA(ex, cls.c_str(), unit.props.data[kWinTitle].c_str(), style, left, top, a.width, a.height,
                           OwnerFor(a, unit.props), a.menu, GetModuleHandleA(nullptr), nullptr);
}

void KeepTemplateSize(HWND h, int width, int height) {
    RECT r;
    GetWindowRect(h, &r);
    if (r.right - r.left != width || r.bottom - r.top != height)
        SetWindowPos(h, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

fw::WindowObject *Create(const CreateUnitArgs &a) {
    auto *unit = new CWinFormUnit;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    SetWindowDefaults(unit->props);
    if (!ReadPropertyData(Layout(), a.propertyData, a.propertyDataSize, unit->props)) {
        delete unit;
        return nullptr;
    }
    std::string cls = unit->props.data[kWinClassName].empty() ? kDefaultWindowClass : unit->props.data[kWinClassName];
    if (!RegisterWindowClass(cls)) {
        delete unit;
        return nullptr;
    }
    unit->ownedPopup = a.parent != nullptr;
    HWND h = CreateFrame(*unit, a, cls);
    if (!h || !unit->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete unit;
        return nullptr;
    }
    KeepTemplateSize(h, a.width, a.height);
    ApplyIcons(*unit);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    if (unit->props.number[kWinTopmost]) ApplyTopmost(*unit, false);
    if (!unit->props.number[kWinMovable]) ApplyMovable(*unit);
    return unit;
}

// Shows the window as after its load, then the focus event that loading suppressed.
intptr_t Service(fw::WindowObject *object, int32_t service, intptr_t reload) {
    if (service != kWindowShowAfterLoad) return 0;
    auto &unit = static_cast<CWinFormUnit &>(*object);
    HWND h = unit.Handle();
    HWND before = GetFocus();
    int start = unit.props.number[kWinStartPosition];
    if (reload || rt::App().imageKind == 0 || start < 2) ShowWindow(h, SW_SHOW);
    else if (start == 2) ShowWindow(h, SW_SHOWMINIMIZED);
    else Maximise(unit);
    Window *window = unit.Record();
    HWND focus = GetFocus();
    // A focus that moved while showing has raised its own event already.
    if (!window || !IsWindow(h) || (focus != before && focus && IsChild(h, focus))) return 1;
    int position = focus ? UnitOfHandle(*window, focus, true) : -1;
    Raise(window->id, position > 0 ? window->units[size_t(position)].id : 0, -7);
    return 1;
}

// Events 1 (false cancels) of a close request or a shutdown query.
bool CloseCancelled(const CWinFormUnit &unit) {
    bool present = false;
    uint32_t result = 0;
    return Raise(unit.windowId, 0, kWindowClosing, {}, &present, &result) && present && result == 0;
}

void RaiseActivation(CWinFormUnit &unit, bool active) {
    if (activationRunning) return;
    activationRunning = true;
    if (active && !unit.everActivated) {
        unit.everActivated = true;
        Raise(unit.windowId, 0, kWindowFirstActivation);
    }
    if (IsWindow(unit.Handle())) Raise(unit.windowId, 0, active ? kWindowActivated : kWindowDeactivated);
    activationRunning = false;
}

// A disabled window activated while a modal window is up hands activation to it.
bool ForwardToModal(const CWinFormUnit &unit) {
    if (IsWindowEnabled(unit.Handle())) return false;
    Window *modal = FindWindow(rt::App().modalWindow);
    HWND h = modal ? WindowHandle(*modal) : nullptr;
    if (!h || h == unit.Handle() || !IsWindowVisible(h)) return false;
    SetActiveWindow(h);
    return true;
}

void OnActivate(CWinFormUnit &unit, WPARAM state) {
    HWND h = unit.Handle();
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(h, focus)) unit.savedFocus = focus;
        RaiseActivation(unit, false);
        return;
    }
    if (ForwardToModal(unit)) return;
    RaiseActivation(unit, true);
}

bool RestoreFocus(CWinFormUnit &unit) {
    HWND h = unit.Handle();
    if (unit.savedFocus && IsWindow(unit.savedFocus) && IsChild(h, unit.savedFocus)) {
        SetFocus(unit.savedFocus);
        return true;
    }
    Window *window = unit.Record();
    if (!window) return false;
    std::vector<int> order = TabOrder(*window);
    if (order.empty()) return false;
    SetFocus(LiveHandle(window->units[size_t(order.front())].record));
    return true;
}

// Control notifications go back to the control's own object; menu commands raise the
// menu item's event.
bool OnCommand(CWinFormUnit &unit, WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedCommand, wParam, lParam);
        return true;
    }
    Window *window = unit.Record();
    int position = window ? MenuItemOfCommand(*window, LOWORD(wParam)) : -1;
    if (position < 0) return false;
    Raise(window->id, window->units[size_t(position)].id, 0);
    return true;
}

void OnTrayIcon(CWinFormUnit &unit, LPARAM lParam) {
    int32_t action = lParam == WM_LBUTTONUP ? 1 : lParam == WM_LBUTTONDBLCLK ? 2
                     : (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ? 3 : 0;
    if (action) Raise(unit.windowId, 0, kWindowTrayIcon, {uint32_t(action)});
}

} // namespace

CWinFormUnit::~CWinFormUnit() {
    DropPicture();
    if (bigIcon) DestroyIcon(bigIcon);
}

void CWinFormUnit::DropPicture() {
    if (picture) DeleteObject(picture);
    picture = nullptr;
    pictureTried = false;
}

LRESULT CWinFormUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (CloseCancelled(*this)) return 0;
        break;
    case WM_QUERYENDSESSION: return CloseCancelled(*this) ? FALSE : TRUE;
    case WM_DESTROY: Raise(windowId, 0, kWindowDestroyed); break;
    case WM_MOVE: Raise(windowId, 0, kWindowMoved); break;
    case WM_SIZE: Raise(windowId, 0, kWindowResized); break;
    case WM_ACTIVATE: OnActivate(*this, wParam); break;
    case WM_NCACTIVATE:
        if (!wParam && props.number[kWinKeepActive]) wParam = TRUE;
        break;
    case WM_SETFOCUS:
        if (RestoreFocus(*this)) return 0;
        break;
    case WM_SHOWWINDOW: Raise(windowId, 0, wParam ? kWindowShown : kWindowHidden); break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintWindow(*this); return 0;
    case WM_COMMAND:
        if (OnCommand(*this, wParam, lParam)) return 0;
        break;
    case kMessageTrayIcon: OnTrayIcon(*this, lParam); return 0;
    case kMessageDestroyMarked:
        if (markedForDestruction) DestroyWindow(hwnd_);
        return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}

BOOL CWinFormUnit::PreTranslateMessage(MSG *msg) {
    Window *window = Record();
    if (!window || !msg->hwnd || GetAncestor(msg->hwnd, GA_ROOT) != hwnd_) return FALSE;
    bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    if (key && !IsWindowEnabled(hwnd_)) return FALSE;
    if (window->accelerators && TranslateAcceleratorA(hwnd_, window->accelerators, msg)) return TRUE;
    if (CallMessageHooks(*window, msg)) return TRUE;
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && HandleWindowKey(*this, *window, *msg))
        return TRUE;
    if (RaiseCommonEvent(*window, msg)) return TRUE;
    if (msg->message == WM_LBUTTONDOWN && props.number[kWinDragClient] && IsWindow(hwnd_)) {
        int position = msg->hwnd == hwnd_ ? 0 : UnitOfHandle(*window, msg->hwnd, false);
        bool drags = position == 0 || (position > 0 && (TypeFlags(window->units[size_t(position)].record.type) &
                                                        kFlagDragsWindow));
        if (drags) {
            ReleaseCapture();
            SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return TRUE;
        }
    }
    return FALSE;
}

// The framework's clean-up first; when no window of the set is left and the main
// loop runs, the program ends.
void CWinFormUnit::PostNcDestroy() {
    rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, 0);
    delete this;
    if (rt::App().mainLoopStarted && !AnyWindowLoaded()) PostQuitMessage(0);
}

void SetWindowDefaults(StoredProperties &p) {
    p = StoredProperties{};
    p.number[kWinBorder] = 2;
    p.number[kWinBackground] = int32_t(0xff000000);
    p.number[kWinLayout] = 1;
    p.number[kWinControlBox] = 1;
    p.number[kWinStartPosition] = 1;
    p.number[kWinMovable] = 1;
    p.number[kWinEscCloses] = 1;
    p.number[kWinTaskBar] = 1;
}

void WindowStyles(const StoredProperties &p, DWORD &style, DWORD &ex) {
    style = WS_CLIPCHILDREN;
    ex = 0;
    int border = LimitPick(p.number[kWinBorder], kMaxBorder);
    if (p.number[kWinMaxBox]) style |= WS_MAXIMIZEBOX;
    if (p.number[kWinMinBox]) style |= WS_MINIMIZEBOX;
    // Without a frame the window must not be overlapped, which always has a caption.
    if (border == 0) {
        style |= WS_POPUP;
        return;
    }
    bool controlBox = p.number[kWinControlBox] != 0;
    if (controlBox || !p.data[kWinTitle].empty()) style |= WS_CAPTION;
    if (controlBox) style |= WS_SYSMENU;
    bool resizable = border == 1 || border == 3 || border == 5;
    style |= resizable ? WS_THICKFRAME : WS_DLGFRAME;
    if (!resizable) ex |= WS_EX_DLGMODALFRAME;
    if (border == 3 || border == 4) ex |= WS_EX_TOOLWINDOW;
    if (border == 5 || border == 6) ex |= WS_EX_CLIENTEDGE;
}

POINT CentredOn(int screenWidth, int screenHeight, int width, int height) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

const void *WindowUnitInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&Create);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&WriteProperty);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&ReadProperty);
    case kRequestWindowService: return reinterpret_cast<const void *>(&Service);
    default: return nullptr;
    }
}

} // namespace units
