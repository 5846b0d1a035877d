// The exports of wininet.dll, with the number of arguments each one takes.
#pragma once

#include <cstddef>

namespace platform::wininet {

struct ExportEntry {
    const char *name;
    void *address;
    int argumentCount;
};

extern const ExportEntry kModuleExports[];
extern const size_t kModuleExportCount;

}  // namespace platform::wininet
