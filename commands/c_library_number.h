// The platform C library's own "%.<precision>g". The runtime writes non-finite reals
// with it: their text is the library's (inf and -nan in glibc, 1.#INF and -1.#IND in
// the Windows C library), the one place where the platforms' number texts differ.
#pragma once

#include <cstddef>

namespace cmd {

// Writes `value` into `out` (room for `size` bytes, NUL included); returns the length.
size_t WriteWithCLibrary(double value, int precision, char *out, size_t size);

} // namespace cmd
