// The window shapes of property 28: regions made from the window's size.
#pragma once

#include <cstdint>

#include "windows.h"

namespace units {

constexpr int32_t kWindowShapeCount = 29; // shapes 1 to 29; 0 is the plain rectangle

// The region of `shape` for a window of width by height pixels, in window
// coordinates; null for shape 0, an unknown shape or an empty window.
HRGN MakeWindowShape(int32_t shape, int width, int height);

} // namespace units
