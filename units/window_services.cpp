#include "window_services.h"

#include <algorithm>
#include <cstring>

#include "event_dispatch.h"
#include "gbk.h"
#include "runtime_error.h"
#include "runtime_interface.h"
#include "unit_properties.h"
#include "unit_thread_call.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_menu.h"
#include "window_set_reader.h"

namespace units {
namespace {

constexpr uint32_t kStateMenuOption = 0x8;
constexpr int32_t kEventIdle = 7;

intptr_t UnitObject(uint32_t windowId, uint32_t unitId) {
    Window *window = FindWindow(windowId);
    UnitRecord *r = window ? UnitAt(*window, FindUnit(*window, unitId)) : nullptr;
    return r && IsLive(*r) ? r->liveObject : 0;
}

// A look-up made on another thread (a job appending to a box) is carried out on the
// thread that loads and destroys the windows, while the caller waits: never beside a
// change to the list or the end of a unit's object. A report stays on the caller's thread.
template <class Query> intptr_t LookUp(Query query) {
    intptr_t result = 0;
    RunOnLoadingThread([&] { result = query(); });
    return result;
}

intptr_t UnitObjectOrReport(uint32_t windowId, uint32_t unitId) {
    intptr_t object = LookUp([=] { return UnitObject(windowId, unitId); });
    if (!object) rt::ReportRuntimeError(rt::GbkLiteral("指定窗口或窗口组件不存在或尚未载入"), 0);
    return object;
}

intptr_t UnitType(uint32_t windowId, uint32_t unitId) {
    Window *window = FindWindow(windowId);
    UnitRecord *r = window ? UnitAt(*window, FindUnit(*window, unitId)) : nullptr;
    return r ? r->type : 0;
}

intptr_t IsUnitWindow(HWND hwnd) {
    Window *window = nullptr;
    int position = -1;
    return hwnd && FindUnitOfHandle(hwnd, window, position);
}

intptr_t HandleAt(intptr_t position) {
    auto &windows = TheWindowList().windows;
    if (position < 0 || size_t(position) >= windows.size()) return 0;
    HWND h = WindowHandle(*windows[size_t(position)]);
    return h && IsWindow(h) ? reinterpret_cast<intptr_t>(h) : 0;
}

intptr_t SetMenuOption(uint32_t windowId) {
    Window *window = FindWindow(windowId);
    if (!window || window->units.empty()) return 0;
    window->units[0].record.state |= kStateMenuOption;
    RefreshMenu(*window);
    return 1;
}

intptr_t RebuildMenu(uint32_t windowId) {
    Window *window = FindWindow(windowId);
    if (!window) return 0;
    RefreshMenu(*window);
    return 1;
}

intptr_t DescribeMenuCommand(MenuCommandQuery *q) {
    Window *window = q ? FindWindow(q->window) : nullptr;
    int position = window ? MenuItemOfCommand(*window, q->command) : -1;
    if (position < 0) return 0;
    const UnitRecord &r = window->units[size_t(position)].record;
    std::string text = r.caption;
    if (std::string key = ShortcutName(r.menuWords[1]); !key.empty()) text += "\t" + key;
    if (q->text && q->textSize) {
        size_t n = std::min<size_t>(text.size(), q->textSize - 1);
        std::memcpy(q->text, text.data(), n);
        q->text[n] = '\0';
    }
    q->visible = !(r.state & 0x1);
    return 1;
}

bool Load(const uint8_t *data, uint32_t size, uintptr_t codeBase) {
    std::vector<WindowTemplate> windows;
    if (!ReadWindowSet(data, size, windows)) return false;
    if (!RelocateHandlers(windows, reinterpret_cast<const EventRoutineTable *>(codeBase))) return false;
    InstallWindows(std::move(windows));
    return true;
}

bool LoadStartup(uint32_t windowId) { return LoadWindow(windowId, false, false, nullptr); }

void Clear() {
    for (auto &window : TheWindowList().windows)
        if (HWND h = WindowHandle(*window); h && IsWindow(h)) DestroyWindow(h);
    TheWindowList().keys.clear();
    TheWindowList().windows.clear();
}

bool AnyLiveWindow() {
    for (auto &window : TheWindowList().windows)
        if (IsLive(window->units[0].record)) return true;
    return false;
}

// Event 7 of every loaded window that has not declined idle time in this period.
bool Idle(DWORD elapsed, std::vector<HWND> &declined) {
    bool more = false;
    for (auto &window : TheWindowList().windows) {
        HWND h = WindowHandle(*window);
        if (!h || !IsWindow(h) || std::find(declined.begin(), declined.end(), h) != declined.end()) continue;
        bool present = false;
        uint32_t result = 0;
        if (Raise(window->id, 0, kEventIdle, {elapsed}, &present, &result) && present && result) more = true;
        else declined.push_back(h);
    }
    return more;
}


} // namespace

intptr_t WindowService(int32_t code, intptr_t p1, intptr_t p2) {
    switch (code) {
    case rt::kServiceWindowList: return reinterpret_cast<intptr_t>(&TheWindowList());
    case rt::kServiceIsUnitWindow: return LookUp([=] { return IsUnitWindow(reinterpret_cast<HWND>(p1)); });
    case rt::kServiceUnitDestroyed: UnitDestroyed(uint32_t(p1), uint32_t(p2)); return 0;
    case rt::kServiceLoadWindow: return ServiceLoadWindow(reinterpret_cast<const LoadWindowRequest *>(p1));
    case rt::kServiceUnitObject: return LookUp([=] { return UnitObject(uint32_t(p1), uint32_t(p2)); });
    case rt::kServiceUnitObjectOrReport: return UnitObjectOrReport(uint32_t(p1), uint32_t(p2));
    case rt::kServiceRaiseEvent: return p1 ? RaiseEvent(*reinterpret_cast<SimpleEvent *>(p1)) : 0;
    case rt::kServiceEventSource: return p1 ? CurrentEventSource(reinterpret_cast<uint32_t *>(p1)) : 0;
    case rt::kServiceUnitType: return LookUp([=] { return UnitType(uint32_t(p1), uint32_t(p2)); });
    case rt::kServiceRaiseTypedEvent: return p1 ? RaiseTypedEvent(*reinterpret_cast<TypedEvent *>(p1)) : 0;
    case rt::kServiceWindowCount: return LookUp([] { return intptr_t(TheWindowList().windows.size()); });
    case rt::kServiceWindowHandleAt: return LookUp([=] { return HandleAt(p1); });
    case rt::kServiceWindowSet2037: return SetMenuOption(uint32_t(p1));
    case rt::kServiceWindowSet2038: return DescribeMenuCommand(reinterpret_cast<MenuCommandQuery *>(p1));
    case rt::kServiceWindowSet2039: return 0; // no paged container in this image
    case rt::kServiceWindowSet2040: return RebuildMenu(uint32_t(p1));
    default: return 0;
    }
}

const rt::WindowSetOperations WindowSetTable = {
    Load, LoadStartup, Clear, AnyLiveWindow, Idle, WindowService, ReadProperty, WriteProperty, ReadObjectProperty,
    WriteObjectProperty,
};

} // namespace units
