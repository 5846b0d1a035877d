// Compiled with 32-byte vectors enabled (see CMakeLists.txt); called only after
// CanScanWide().
#include "text_wide_scan.h"

#include "text_pair_scan.h"

namespace cmd {

bool CanScanWide() {
    __builtin_cpu_init(); // may run before the library's own constructors
    return __builtin_cpu_supports("avx2");
}

size_t ScanWideForward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop) {
    return needle.ignoreCase ? ScanForward<true>(needle, text, from, end, stop)
                             : ScanForward<false>(needle, text, from, end, stop);
}

size_t ScanWideBackward(const Needle &needle, const uint8_t *text, size_t from, size_t end, size_t *stop) {
    return needle.ignoreCase ? ScanBackward<true>(needle, text, from, end, stop)
                             : ScanBackward<false>(needle, text, from, end, stop);
}

} // namespace cmd
