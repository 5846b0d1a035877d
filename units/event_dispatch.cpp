#include "event_dispatch.h"

#include "gbk.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "value.h"
#include "window_list.h"
#include "window_set_reader.h"

namespace units {
namespace {

// The handler bound to `event` of the unit at `position`, after following the event
// source chain and checking that the type may raise events; 0 when none.
uintptr_t FindHandler(Window &window, int position, int32_t event) {
    UnitRecord *unit = UnitAt(window, position);
    for (size_t steps = 0; unit->eventSource && steps < window.units.size(); ++steps) {
        UnitRecord *source = UnitAt(window, FindUnit(window, unit->eventSource));
        if (!source || source == unit || source->type != unit->type) break;
        unit = source;
    }
    if (!(TypeFlags(unit->type) & (kFlagWindowUnit | kFlagMayRaiseEvents)))
        rt::ReportRuntimeError(rt::GbkLiteral("引发事件的窗口组件无效"), 0);
    if (unit->IsMenuItem()) return unit->menuHandler;
    for (const EventBinding &b : unit->bindings)
        if (b.event == event) return b.handler;
    return 0;
}

struct Target {
    uintptr_t handler;
    uint32_t unitId;
};

Target Locate(uint32_t windowId, uint32_t unitId, int32_t event) {
    Window *window = FindWindow(windowId);
    if (!window) rt::ReportRuntimeError(rt::GbkLiteral("未找到引发事件的窗口"), 0);
    int position = FindUnit(*window, unitId);
    if (position < 0) rt::ReportRuntimeError(rt::GbkLiteral("未找到引发事件的窗口组件"), 0);
    return {FindHandler(*window, position, event), window->units[size_t(position)].id};
}

// Calls the handler as the current event source; afterwards no window is the source,
// even when an outer handler is still running.
int Call(uintptr_t handler, uint32_t windowId, uint32_t unitId, const uint64_t *args, int32_t count,
         uint64_t *result) {
    rt::RuntimeApp &app = rt::App();
    app.eventWindow = windowId;
    app.eventUnit = unitId;
    int present = reinterpret_cast<EventRoutine>(handler)(args, count, result);
    app.eventWindow = 0;
    return present;
}

bool Suppressed() { return rt::App().eventSuppression.load() >= 1; }

} // namespace

// Texts, byte sets, subroutines, arrays and variable addresses, and values of library
// types (objects) are pointers.
bool CarriesPointer(uint32_t type) {
    switch (type) {
    case rt::kTypeText:
    case rt::kTypeByteSet:
    case rt::kTypeSubroutinePointer: return true;
    default: return rt::IsIndirect(type) || (type & 0x80000000u) == 0;
    }
}

uint64_t ArgumentWord(const TypedArgument &a) {
    uint64_t both = (uint64_t(a.high) << 32) | a.low;
    if (a.flags & 1) return a.low;
    if ((a.flags & 2) || a.type == kTypeMenuItem) return both;
    if (CarriesPointer(a.type)) return uintptr_t(both); // fills both words only where a pointer does
    switch (a.type) {
    case rt::kTypeByte: return uint8_t(a.low);
    case rt::kTypeShortInteger: return uint32_t(int32_t(int16_t(a.low)));
    case rt::kTypeDateTime:
    case rt::kTypeEightByteValue:
    case rt::kTypeLongInteger:
    case rt::kTypeDouble: return both;
    default: return a.low;
    }
}

intptr_t RaiseEvent(SimpleEvent &e) {
    if (Suppressed()) return 0;
    Target t = Locate(e.window, e.unit, e.event);
    if (!t.handler) return 0;
    uint64_t args[5] = {};
    int32_t count = e.count < 0 ? 0 : e.count > 5 ? 5 : e.count;
    for (int32_t i = 0; i < count; ++i) args[i] = e.args[i];
    uint64_t result = 0;
    if (Call(t.handler, e.window, t.unitId, args, count, &result)) {
        e.resultPresent = 1;
        e.result = uint32_t(result);
    }
    return 1;
}

intptr_t RaiseTypedEvent(TypedEvent &e) {
    if (Suppressed()) return 0;
    Target t = Locate(e.window, e.unit, e.event);
    if (!t.handler) return 0;
    uint64_t args[12] = {};
    int32_t count = e.count < 0 ? 0 : e.count > 12 ? 12 : e.count;
    for (int32_t i = 0; i < count; ++i) args[i] = ArgumentWord(e.args[i]);
    uint64_t result = 0;
    if (Call(t.handler, e.window, t.unitId, args, count, &result)) {
        e.resultPresent = 1;
        e.result = result;
    }
    return 1;
}

intptr_t CurrentEventSource(uint32_t *out) {
    rt::RuntimeApp &app = rt::App();
    out[0] = app.eventWindow;
    out[1] = app.eventUnit;
    return out[0] != 0;
}

bool Raise(uint32_t window, uint32_t unit, int32_t event, std::initializer_list<uint32_t> args, bool *present,
           uint32_t *result) {
    SimpleEvent e{window, unit, event, int32_t(args.size() > 5 ? 5 : args.size()), {}, 0, 0};
    for (int32_t i = 0; i < e.count; ++i) e.args[i] = args.begin()[i];
    bool ran = RaiseEvent(e) == 1;
    if (present) *present = e.resultPresent;
    if (result) *result = e.result;
    return ran;
}

} // namespace units
