// Reading the window set from the image with the framework's archive, and relocating
// its handler offsets into routines of the application.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image.h"
#include "window_set_format.h"

namespace units {

// Fills `windows`; false when the data does not read as a window set.
bool ReadWindowSet(const uint8_t *data, size_t size, std::vector<WindowTemplate> &windows);
bool ReadUnitRecord(const uint8_t *data, size_t size, UnitRecord &record);

using rt::EventRoutine;
using rt::EventRoutineTable;

// Replaces every handler offset by its routine (0xFFFFFFFF and null entries give no
// handler, 0); false when an offset lies outside the table.
bool RelocateHandlers(std::vector<WindowTemplate> &windows, const EventRoutineTable *table);

} // namespace units
