// A module file for the loader and declared-call tests. It is built twice: copy 1
// beside the test programs and copy 2 in another directory; ProbeIdentity tells
// which one was loaded.
#include <cstdint>

#include "module_export_table.h"

extern "C" {

int ProbeIdentity() { return PROBE_COPY; }

intptr_t ProbeOrdinalTwelve(intptr_t a) { return a * 12; }

// Weights every argument by its position, so a word in the wrong place shows.
uint64_t ProbeTwelve(uint64_t a1, uint64_t a2, uint64_t a3, uint64_t a4, uint64_t a5, uint64_t a6, uint64_t a7,
                     uint64_t a8, uint64_t a9, uint64_t a10, uint64_t a11, uint64_t a12) {
    return a1 + 2 * a2 + 3 * a3 + 4 * a4 + 5 * a5 + 6 * a6 + 7 * a7 + 8 * a8 + 9 * a9 + 10 * a10 + 11 * a11 + 12 * a12;
}

uint64_t ProbeSeven(uint64_t a1, uint64_t a2, uint64_t a3, uint64_t a4, uint64_t a5, uint64_t a6, uint64_t a7) {
    return a1 + 2 * a2 + 3 * a3 + 4 * a4 + 5 * a5 + 6 * a6 + 7 * a7;
}

// Exported by the linker but not listed in the table.
int ProbeUnlisted() { return 7; }

const SorvelModuleExport kProbeExports[] = {
    {"ProbeIdentity", 1, reinterpret_cast<void *>(&ProbeIdentity), 0},
    {"ProbeOrdinalTwelve", 12, reinterpret_cast<void *>(&ProbeOrdinalTwelve), 1},
    {"ProbeTwelve", 13, reinterpret_cast<void *>(&ProbeTwelve), 12},
    {"ProbeSeven", 14, reinterpret_cast<void *>(&ProbeSeven), 7},
};

extern const SorvelModuleExportTable SorvelModuleExports = {sizeof kProbeExports / sizeof kProbeExports[0], kProbeExports};

} // extern "C"
