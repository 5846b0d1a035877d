// Builds without the wide scan: the narrower one is always used.
#include "text_wide_scan.h"

namespace cmd {

bool CanScanWide() { return false; }

size_t ScanWideForward(const Needle &, const uint8_t *, size_t, size_t, size_t *) { return kNotFound; }
size_t ScanWideBackward(const Needle &, const uint8_t *, size_t, size_t, size_t *) { return kNotFound; }

} // namespace cmd
