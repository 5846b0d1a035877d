#include "window_loading.h"

#include "event_dispatch.h"
#include "mouse_pointer.h"
#include "runtime_app.h"
#include "unit_rebuild.h"
#include "unit_thread_call.h"
#include "window_menu.h"

namespace units {
namespace {

constexpr UINT kFirstControlId = 100;
constexpr UINT kControlIdStep = 10;

void RaiseSuppression() { ++rt::App().eventSuppression; }

void LowerSuppression() {
    auto &count = rt::App().eventSuppression;
    int value = count.load();
    while (value > 0 && !count.compare_exchange_weak(value, value - 1)) {
    }
}

bool ActivateLoaded(Window &window) {
    HWND h = WindowHandle(window);
    if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
    else SetActiveWindow(h);
    return true;
}

fw::WindowObject *CreateUnit(const UnitRecord &r, const CreateUnitArgs &args) {
    auto create = Request<CreateUnitRoutine>(r.type, kRequestCreate);
    return create ? create(args) : nullptr;
}

CreateUnitArgs ArgsFor(const Window &window, const UnitEntry &u) {
    const UnitRecord &r = u.record;
    return {reinterpret_cast<const uint8_t *>(r.propertyData.data()),
            uint32_t(r.propertyData.size()),
            0,
            nullptr,
            0,
            nullptr,
            r.left,
            r.top,
            r.width,
            r.height,
            window.id,
            u.id,
            {0, 0}};
}

// Step 5: the window's own unit first, then the others from the last to the first.
bool CreateUnits(Window &window, HWND owner) {
    CreateUnitArgs own = ArgsFor(window, window.units[0]);
    own.parent = owner;
    own.menu = window.menu;
    fw::WindowObject *object = CreateUnit(window.units[0].record, own);
    if (!object) return false;
    window.units[0].record.liveObject = reinterpret_cast<uintptr_t>(object);
    HWND parent = object->Handle();
    UINT controlId = kFirstControlId;
    for (size_t i = window.units.size() - 1; i >= 1; --i) {
        UnitRecord &r = window.units[i].record;
        if (r.IsMenuItem()) continue;
        CreateUnitArgs args = ArgsFor(window, window.units[i]);
        args.extraStyle = ExtraStyle(r);
        args.parent = parent;
        args.controlId = controlId;
        controlId += kControlIdStep;
        fw::WindowObject *unit = CreateUnit(r, args);
        if (!unit) return false;
        r.liveObject = reinterpret_cast<uintptr_t>(unit);
    }
    return true;
}

// The container's handle, or the window's.
HWND ContainerHandle(Window &window, const UnitRecord &r) {
    if (r.container) {
        int c = FindUnit(window, r.container);
        if (c > 0)
            if (HWND h = LiveHandle(window.units[size_t(c)].record)) return h;
    }
    return WindowHandle(window);
}

// Step 6.
void Reparent(Window &window) {
    window.onHiddenPage.assign(window.units.size(), false);
    for (size_t i = 1; i < window.units.size(); ++i) {
        UnitRecord &r = window.units[i].record;
        HWND h = LiveHandle(r);
        if (!h) continue;
        HWND parent = ContainerHandle(window, r);
        if (GetParent(h) != parent) SetParent(h, parent);
        window.onHiddenPage[i] = OnHiddenPage(window, int(i));
    }
}

// Step 7: behind the nearest earlier sibling of the same container, else on top.
void Stack(Window &window) {
    for (size_t i = 1; i < window.units.size(); ++i) {
        HWND h = LiveHandle(window.units[i].record);
        if (!h) continue;
        HWND after = HWND_TOP;
        for (size_t j = i - 1; j >= 1 && after == HWND_TOP; --j)
            if (window.units[j].record.container == window.units[i].record.container)
                if (HWND sibling = LiveHandle(window.units[j].record)) after = sibling;
        SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void MakeCursors(Window &window) {
    for (UnitEntry &u : window.units)
        if (!u.record.IsMenuItem()) u.record.cursor = reinterpret_cast<uintptr_t>(MakeCursor(u.record.pointerData));
}

void SendToUnits(Window &window, UINT message) {
    for (size_t i = window.units.size(); i-- > 0;)
        if (HWND h = LiveHandle(window.units[i].record)) SendMessageA(h, message, 0, 0);
}

// Step 10.
void ShowUnits(Window &window) {
    for (size_t i = 1; i < window.units.size(); ++i) {
        const UnitRecord &r = window.units[i].record;
        HWND h = LiveHandle(r);
        if (!h) continue;
        bool show = (r.state & kStateVisible) && !window.onHiddenPage[i] && !(TypeFlags(r.type) & kFlagNeverShown);
        ShowWindow(h, show ? SW_SHOWNA : SW_HIDE);
    }
}

// Step 12: events 0, 3 and 4, each while the window still exists.
void RaiseLoadEvents(Window &window) {
    uint32_t id = window.id, unit = window.units[0].id;
    for (int32_t event : {0, 3, 4}) {
        if (!IsLive(window.units[0].record)) return;
        Raise(id, unit, event);
    }
}

// Step 13.
void DisableOtherWindows(Window &window) {
    window.modal = true;
    window.disabledByModal.clear();
    for (auto &other : TheWindowList().windows) {
        if (other.get() == &window || !other->loaded) continue;
        HWND h = WindowHandle(*other);
        if (!h || !IsWindow(h) || GetParent(h)) continue;
        window.disabledByModal.push_back({h, IsWindowEnabled(h) != FALSE});
        EnableWindow(h, FALSE);
    }
}

void RestoreDisabledWindows(Window &window) {
    for (const DisabledWindow &d : window.disabledByModal)
        if (IsWindow(d.handle)) EnableWindow(d.handle, d.wasEnabled);
    window.disabledByModal.clear();
}

// Step 14.
void FinishLoad(Window &window) {
    HWND focus = GetFocus();
    SendToUnits(window, kMessageLoadFinished);
    if (GetFocus() != focus && focus && IsWindow(focus)) SetFocus(focus);
    window.loaded = IsLive(window.units[0].record);
}

// A failed load: the windows made so far go, the records come back as they were and
// the suppression counter is lowered again, so the program's other windows keep their
// events.
bool FailLoad(Window &window) {
    DestroyMenuAndAccelerators(window);
    std::vector<UnitEntry> copy = window.loadedCopy;
    if (HWND h = WindowHandle(window); h && IsWindow(h)) DestroyWindow(h);
    for (UnitEntry &u : window.units)
        if (HWND h = LiveHandle(u.record); h && IsWindow(h)) DestroyWindow(h);
    DestroyCursors(window.units);
    window.units = std::move(copy);
    window.loadedCopy.clear();
    window.loaded = false;
    window.shown = false;
    window.modal = false;
    LowerSuppression();
    return false;
}

bool CreateAll(Window &window, HWND owner) {
    BuildMenu(window);
    for (const UnitEntry &u : window.units)
        if (!u.record.IsMenuItem() && !InterfaceOf(u.record.type)) return false;
    return CreateUnits(window, owner);
}

// A window marked for destruction is destroyed by its next load and loaded afresh.
bool MarkedForDestruction(Window &window) {
    auto service = Request<WindowServiceRoutine>(window.units[0].record.type, kRequestWindowService);
    return service && service(LiveObject(window.units[0].record), kWindowIsMarkedForDestruction, 0) == 1;
}

} // namespace

DWORD ExtraStyle(const UnitRecord &r) {
    return ((r.state & kStateDisabled) ? WS_DISABLED : 0) | ((r.state & kStateTabStop) ? WS_TABSTOP : 0);
}

bool OnHiddenPage(const Window &window, int position) {
    const UnitRecord &r = window.units[size_t(position)].record;
    int c = r.container ? FindUnit(window, r.container) : -1;
    if (c <= 0 || !(TypeFlags(window.units[size_t(c)].record.type) & kFlagPaged)) return false;
    // The first page is the current one: paged containers are not part of this image.
    size_t page = 0;
    for (uint32_t id : window.units[size_t(c)].record.contained) {
        if (id == 0) ++page;
        else if (id == window.units[size_t(position)].id) return page != 0;
    }
    return false;
}

void DestroyCursors(std::vector<UnitEntry> &units) {
    for (UnitEntry &u : units) {
        if (u.record.cursor) DestroyCursor(reinterpret_cast<HCURSOR>(u.record.cursor));
        u.record.cursor = 0;
    }
}

void ShowAfterLoad(Window &window, bool reload) {
    window.shown = true;
    fw::WindowObject *object = LiveObject(window.units[0].record);
    auto service = Request<WindowServiceRoutine>(window.units[0].record.type, kRequestWindowService);
    if (service) service(object, kWindowShowAfterLoad, reload ? 1 : 0);
    else ShowWindow(object->Handle(), SW_SHOW);
}

bool LoadWindow(uint32_t windowId, bool reload, bool modal, HWND owner) {
    Window *found = FindWindow(windowId);
    if (!found || found->units.empty()) return false;
    Window &window = *found;
    if (IsLive(window.units[0].record)) {
        if (!reload && !MarkedForDestruction(window)) return ActivateLoaded(window);
        window.reloading = true;
        DestroyWindow(WindowHandle(window));
        window.reloading = false;
    }
    if (modal) owner = nullptr;
    else if (owner && !IsWindow(owner)) return false;
    window.modal = modal; // the window unit takes its owner by it
    PrepareWindowThread();
    RaiseSuppression();
    window.loadedCopy = window.units;
    if (!CreateAll(window, owner)) return FailLoad(window);
    Reparent(window);
    Stack(window);
    MakeCursors(window);
    SendToUnits(window, kMessageUnitsCreated);
    SendMessageA(WindowHandle(window), kMessageWindowLoaded, 0, 0);
    ShowUnits(window);
    LowerSuppression();
    RaiseLoadEvents(window);
    if (!IsLive(window.units[0].record)) return true;
    if (reload || (window.units[0].record.state & kStateVisible)) ShowAfterLoad(window, reload);
    if (modal) DisableOtherWindows(window);
    FinishLoad(window);
    return true;
}

void StartWindow(Window &window) {
    HWND h = WindowHandle(window);
    if (!h || !window.modal || window.modalRunning) return;
    HWND owner = GetWindow(h, GW_OWNER);
    if (owner && (GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    rt::RuntimeApp &app = rt::App();
    uint32_t previous = app.modalWindow.exchange(window.id);
    window.modalRunning = true;
    rt::RunModalLoop(window.modalRunning);
    window.modalRunning = false;
    app.modalWindow = previous;
}

intptr_t ServiceLoadWindow(const LoadWindowRequest *request) {
    if (!request || !LoadWindow(request->window, request->reload, request->modal, request->owner)) return -1;
    Window *window = FindWindow(request->window);
    if (IsLive(window->units[0].record) && (window->units[0].record.state & kStateVisible)) StartWindow(*window);
    return 0;
}

void UnitDestroyed(uint32_t windowId, uint32_t unitId) {
    Window *window = FindWindow(windowId);
    if (!window || window->units.empty() || RebuildDestroying()) return;
    int position = FindUnit(*window, unitId);
    if (position > 0) {
        UnitRecord &r = window->units[size_t(position)].record;
        if (r.cursor) DestroyCursor(reinterpret_cast<HCURSOR>(r.cursor));
        r.cursor = 0;
        r.liveObject = 0;
        return;
    }
    if (position < 0 || window->loadedCopy.empty()) return;
    DestroyMenuAndAccelerators(*window);
    DestroyCursors(window->units);
    window->units.swap(window->loadedCopy);
    window->loadedCopy.clear();
    window->loaded = false;
    window->shown = false;
    RestoreDisabledWindows(*window);
    window->modal = false;
    window->modalRunning = false;
}

} // namespace units
