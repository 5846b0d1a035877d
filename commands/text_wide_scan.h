// The pair scan built for processors with 32-byte vectors, used when the processor
// running the program has them. Arguments and results as ScanForward/ScanBackward.
#pragma once

#include <cstddef>

#include "text_search.h"

namespace cmd {

// Whether this build has the wide scan and this processor can run it.
bool CanScanWide();

size_t ScanWideForward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop);
size_t ScanWideBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop);

} // namespace cmd
