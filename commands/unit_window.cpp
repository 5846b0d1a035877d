#include "unit_window.h"

#include "core_library.h"

namespace cmd {

// A unit value carries the window identifier low and the unit identifier high.
HWND UnitWindow(int32_t count, const rt::TypedValue *args) {
    if (count < 1) return nullptr;
    intptr_t object = CoreService(rt::kServiceUnitObjectOrReport, intptr_t(args[0].low), intptr_t(args[0].high));
    if (!object) return nullptr;
    return reinterpret_cast<HWND>(CoreService(rt::kServiceHandleOfWindowObject, object));
}

HWND LoadedUnitWindow(const rt::TypedValue &unit) {
    intptr_t object = CoreService(rt::kServiceUnitObject, intptr_t(unit.low), intptr_t(unit.high));
    return object ? reinterpret_cast<HWND>(CoreService(rt::kServiceHandleOfWindowObject, object)) : nullptr;
}

} // namespace cmd
