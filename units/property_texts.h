// Request 9: the texts held in a unit's property data, each shown to a visitor that
// may change it, and the data rebuilt around the visited texts.
#pragma once

#include <cstdint>
#include <string>

#include "window_unit_store.h"

namespace units {

using TextVisitor = void (*)(std::string &text, void *parameter);
// (data, length in and out, visitor, parameter) -> the rebuilt data (heap block freed
// with delete[]), or null with length 0 when the data cannot be read.
using WalkTextsRoutine = uint8_t *(*)(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter);

// For the types whose data follow a layout: its text items, read over the type's defaults.
uint8_t *WalkLayoutTexts(const DataLayout &layout, StoredProperties props, const uint8_t *data, uint32_t *size,
                         TextVisitor visitor, void *parameter);
// The bytes as a heap block freed with delete[], their length in `size`.
uint8_t *HeapCopy(const std::string &bytes, uint32_t *size);

} // namespace units
