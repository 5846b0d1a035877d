#include "window_unit.h"
#include "property_texts.h"

#include "event_dispatch.h"
#include "help_calls.h"
#include "common_events.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"
#include "window_loading.h"
#include "window_menu.h"

namespace units {
namespace {

constexpr UINT kMessageDestroyMarked = 0x8065;
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr int32_t kMaxBorder = 6;

// Activation handlers of any window block further activation events until they return.
bool activationRunning = false;


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


bool AnyWindowLoaded(uint32_t except = 0) {
    for (auto &w : TheWindowList().windows)
        if (w->id != except && !w->units.empty() && IsLive(w->units[0].record)) return true;
    return false;
}

// Whether the window being destroyed is the last one while the main loop runs. Known
// before its units go, so that a job reaching for one of them ends quietly.
bool EndsTheProgram(uint32_t windowId) {
    const Window *window = FindWindow(windowId);
    if (!rt::App().mainLoopStarted || (window && window->reloading)) return false;
    return !AnyWindowLoaded(windowId);
}


// Without an owner, a modal window or one kept out of the task bar is owned by the
// runtime's hidden window.
HWND OwnerFor(const CreateUnitArgs &a, const StoredProperties &p) {
    if (a.parent) return a.parent;
    rt::RuntimeApp &app = rt::App();
    const Window *window = FindWindow(a.windowId);
    bool modal = window && window->modal;
    return (modal || !p.number[kWinTaskBar]) && app.imageKind != 0 ? app.hiddenWindow : nullptr;
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
    if (!ReadPropertyData(WindowDataLayout(), a.propertyData, a.propertyDataSize, unit->props)) {
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
    if (unit->props.number[kWinShape]) ApplyShape(*unit);
    StartBackgroundSound(*unit);
    return unit;
}

intptr_t ShowAfterLoad(CWinFormUnit &unit, intptr_t reload);

// Marked, the window is destroyed by the message it posts itself, or by its next load.
intptr_t MarkForDestruction(CWinFormUnit &unit) {
    unit.markedForDestruction = true;
    PostMessageA(unit.Handle(), kMessageDestroyMarked, 0, 0);
    return 1;
}

intptr_t Service(fw::WindowObject *object, int32_t service, intptr_t parameter) {
    auto &unit = static_cast<CWinFormUnit &>(*object);
    switch (service) {
    case kWindowShowAfterLoad: return ShowAfterLoad(unit, parameter);
    case kWindowIsMarkedForDestruction: return unit.markedForDestruction;
    case kWindowMarkForDestruction: return MarkForDestruction(unit);
    case kWindowSetTrayIcon: return SetTrayIcon(unit, reinterpret_cast<HICON>(parameter));
    default: return 0;
    }
}

// Shows the window as after its load, then the focus event that loading suppressed.
intptr_t ShowAfterLoad(CWinFormUnit &unit, intptr_t reload) {
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

// The pointer of the unit under the mouse, when it has one of its own; FALSE lets the
// unit's class cursor show.
BOOL SetUnitPointer(CWinFormUnit &unit, HWND hwnd, WPARAM under) {
    Window *window = unit.Record();
    if (!window) return FALSE;
    int position = HWND(under) == hwnd ? 0 : UnitOfHandle(*window, HWND(under), true);
    UnitRecord *record = position >= 0 ? UnitAt(*window, position) : nullptr;
    if (!record || !record->cursor) return FALSE;
    SetCursor(reinterpret_cast<HCURSOR>(record->cursor));
    return TRUE;
}

} // namespace

CWinFormUnit::~CWinFormUnit() {
    DropPicture();
    if (bigIcon) DestroyIcon(bigIcon);
}

void CWinFormUnit::DropPicture() {
    ReleasePicture(picture);
    pictureTried = false;
}

LRESULT CWinFormUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (CloseCancelled(*this)) return 0;
        break;
    case WM_QUERYENDSESSION: return CloseCancelled(*this) ? FALSE : TRUE;
    case WM_DESTROY:
        Raise(windowId, 0, kWindowDestroyed);
        CloseHelpOf(windowId, hwnd_);
        SetTrayIcon(*this, nullptr);
        StopBackgroundSound(*this);
        if (EndsTheProgram(windowId)) rt::NoteProgramEnding();
        break;
    case WM_MOVE: Raise(windowId, 0, kWindowMoved); break;
    case WM_SIZE:
        if (props.number[kWinShape]) ApplyShape(*this); // the shape follows the size
        Raise(windowId, 0, kWindowResized);
        break;
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
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetUnitPointer(*this, hwnd_, wParam)) return TRUE;
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
// loop runs, the program ends, unless the window is being reloaded.
void CWinFormUnit::PostNcDestroy() {
    uint32_t id = windowId;
    rt::RuntimeService(rt::kServiceUnitDestroyed, id, 0);
    delete this;
    const Window *window = FindWindow(id);
    bool reloading = window && window->reloading; // it comes straight back
    if (rt::App().mainLoopStarted && !AnyWindowLoaded() && !reloading) PostQuitMessage(0);
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

static uint8_t *WalkWindowTexts(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter) {
    StoredProperties defaults;
    SetWindowDefaults(defaults);
    return WalkLayoutTexts(WindowDataLayout(), defaults, data, size, visitor, parameter);
}

const void *WindowUnitInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&Create);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&WriteWindowProperty);
    case kRequestSerialize: return reinterpret_cast<const void *>(&SerializeWindow);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&ReadWindowProperty);
    case kRequestWindowService: return reinterpret_cast<const void *>(&Service);
    case kRequestWalkTexts: return reinterpret_cast<const void *>(&WalkWindowTexts);
    default: return nullptr;
    }
}

} // namespace units
