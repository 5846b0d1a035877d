#include "c_library_number.h"

#include <cstdio>

namespace cmd {

size_t WriteWithCLibrary(double value, int precision, char *out, size_t size) {
    int length = std::snprintf(out, size, "%.*g", precision, value);
    return length < 0 ? 0 : (size_t(length) < size ? size_t(length) : size - 1);
}

} // namespace cmd
