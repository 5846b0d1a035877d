// Export tables of the built-in system modules. Each export carries its argument
// count, which stands in for the stack check of a declared call.
#pragma once

#include <cstdint>

#include "module_export_table.h"
#include "windef.h"

namespace platform {

using ModuleExport = SorvelModuleExport;

struct SystemModule {
    const char *name; // "kernel32.dll"
    const ModuleExport *exports;
    size_t exportCount;
};

// Export tables kept beside the modules that implement them.
extern const ModuleExport kOle32Exports[];
extern const size_t kOle32ExportCount;
extern const ModuleExport kOleAut32Exports[];
extern const size_t kOleAut32ExportCount;

// The built-in modules, for LoadLibraryA by case-insensitive name.
const SystemModule *FindSystemModule(const char *fileName);
// The built-in module whose table is at address, if any.
const SystemModule *SystemModuleAt(const void *address);
// The handle of a built-in module by file name ("oleaut32" gets ".dll"), or null. The
// built-in modules are part of the process from its start, as linked modules are in Win32.
HMODULE SystemModuleHandle(const char *name);
// The export record behind an address GetProcAddress returned, if it is a system export.
const ModuleExport *FindSystemExport(const void *address);

// How many references LoadLibraryA has given out for a loaded module (0 when not loaded).
int ModuleReferences(HMODULE module);

} // namespace platform
