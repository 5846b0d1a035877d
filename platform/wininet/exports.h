// The exports of wininet.dll, with the number of arguments each one takes.
#pragma once

#include <cstddef>

namespace wininet {

struct ExportEntry {
    const char *name;
    void *address;
    int argumentCount;
};

extern const ExportEntry moduleExports[];
extern const size_t moduleExportCount;

}  // namespace wininet
