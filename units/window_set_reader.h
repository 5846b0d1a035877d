// Reading the window set from the image with the framework's archive, and relocating
// its handler offsets into routines of the application.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "window_set_format.h"

namespace units {

// Fills `windows`; false when the data does not read as a window set.
bool ReadWindowSet(const uint8_t *data, size_t size, std::vector<WindowTemplate> &windows);
bool ReadUnitRecord(const uint8_t *data, size_t size, UnitRecord &record);

// An application event routine: the arguments in order, one 64-bit word each; returns
// 1 when it returned a value, which it stores in *result, 0 when it returned none.
using EventRoutine = int (*)(const uint64_t *args, int32_t count, uint64_t *result);

// The image's code base points at this table; a handler offset is an index into it.
struct EventRoutineTable {
    uint32_t count;
    const EventRoutine *routines;
};

// Replaces every handler offset by its routine (0xFFFFFFFF and null entries give no
// handler, 0); false when an offset lies outside the table.
bool RelocateHandlers(std::vector<WindowTemplate> &windows, const EventRoutineTable *table);

} // namespace units
