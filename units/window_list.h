// The window list: one record per window of the set, found by identifier, and the
// units of a window found by identifier, position or window handle.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "image.h"
#include "unit_interface.h"
#include "window_object.h"
#include "window_set_format.h"
#include "windows.h"

namespace units {

struct DisabledWindow {
    HWND handle;
    bool wasEnabled;
};

struct Window {
    uint32_t id = 0;
    uint32_t words[2] = {0, 0};
    std::string texts[2];
    std::vector<UnitEntry> units;      // the current records
    std::vector<UnitEntry> loadedCopy; // the records as they were when the load began
    HMENU menu = nullptr;
    HACCEL accelerators = nullptr;
    bool loaded = false;
    bool shown = false; // shown after its load
    bool modal = false;
    bool reloading = false; // destroyed by a reload: its end does not end the program
    std::atomic<bool> modalRunning{false};
    std::vector<DisabledWindow> disabledByModal;
    std::vector<bool> onHiddenPage; // by unit position, noted at load
};

struct WindowList {
    std::vector<uint32_t> keys;
    std::vector<std::unique_ptr<Window>> windows;
};

WindowList &TheWindowList();
// Replaces the list with the given templates.
void InstallWindows(std::vector<WindowTemplate> templates);

Window *FindWindow(uint32_t id);
// Position of the unit, or -1. Identifier 0 is the window's own unit.
int FindUnit(const Window &window, uint32_t unitId);
UnitRecord *UnitAt(Window &window, int position);
// Position of the unit whose window is `hwnd` (or holds it, for types with flag
// 0x200200); with `tryParent`, once more with the handle's parent. -1 when none.
int UnitOfHandle(const Window &window, HWND hwnd, bool tryParent);
// The window and unit position a handle belongs to, over every loaded window.
bool FindUnitOfHandle(HWND hwnd, Window *&window, int &position);

const rt::DataTypeInfo *TypeInfo(uint32_t typeCode);
uint32_t TypeFlags(uint32_t typeCode);
UnitInterface InterfaceOf(uint32_t typeCode);
template <class Routine> Routine Request(uint32_t typeCode, int32_t request) {
    UnitInterface iface = InterfaceOf(typeCode);
    return iface ? reinterpret_cast<Routine>(const_cast<void *>(iface(request))) : nullptr;
}

fw::WindowObject *LiveObject(const UnitRecord &record);
HWND LiveHandle(const UnitRecord &record);
// True when the record holds a window object whose handle is still a window.
bool IsLive(const UnitRecord &record);
HWND WindowHandle(const Window &window);

} // namespace units
