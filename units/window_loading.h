// Loading a window with all of its units, starting it, and the clean-up when it or
// one of its units is destroyed.
#pragma once

#include <cstdint>

#include "runtime_interface.h"
#include "window_list.h"

namespace units {

// Private messages sent to the units while a window loads.
constexpr UINT kMessageUnitsCreated = 0x806F;
constexpr UINT kMessageWindowLoaded = 0x8004;
constexpr UINT kMessageLoadFinished = 0x8076;

using rt::LoadWindowRequest;

bool LoadWindow(uint32_t windowId, bool reload, bool modal, HWND owner);
// What service 2005 does after the load: topmost modal windows, the modal loop.
void StartWindow(Window &window);
// Service 2005: 0 on success, -1 on failure.
intptr_t ServiceLoadWindow(const LoadWindowRequest *request);
// Service 2000.
void UnitDestroyed(uint32_t windowId, uint32_t unitId);
// Shows a loaded window as after its load (through the window unit's service).
void ShowAfterLoad(Window &window, bool reload);
// True when the unit at `position` lies on a page other than its container's current one.
bool OnHiddenPage(const Window &window, int position);
// Creates the cursor of every unit from its pointer data.
void DestroyCursors(std::vector<UnitEntry> &units);
// The extra style bits of a unit from its state flags.
DWORD ExtraStyle(const UnitRecord &record);

} // namespace units
