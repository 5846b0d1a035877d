// The Windows build: the system's C library (msvcrt) itself, not the compiler's own
// standard-conforming printf that mingw puts in front of it.
#include "c_library_number.h"

#include <cstdio>

namespace cmd {

size_t WriteWithCLibrary(double value, int precision, char *out, size_t size) {
    int length = _snprintf(out, size - 1, "%.*g", precision, value);
    out[size - 1] = '\0';
    if (length < 0) length = int(size - 1);
    out[length] = '\0';
    return size_t(length);
}

} // namespace cmd
