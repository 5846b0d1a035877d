/* Export tables with argument counts. x86-64 has no callee-popped stack, so a declared
   call cannot detect a wrong argument list by the stack pointer; the export's argument
   count takes its place. The built-in system modules carry such a table, and a module
   file of ours carries one as the exported symbol SorvelModuleExports. */
#ifndef SORVEL_PLATFORM_MODULE_EXPORT_TABLE_H
#define SORVEL_PLATFORM_MODULE_EXPORT_TABLE_H

#include "winbase.h"
#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SorvelModuleExport {
    const char *name;
    uint16_t ordinal;
    void *address;
    uint8_t argumentCount;
} SorvelModuleExport;

typedef struct SorvelModuleExportTable {
    uint32_t count;
    const SorvelModuleExport *exports;
} SorvelModuleExportTable;

/* The symbol a module file exports its table under. */
#define SORVEL_MODULE_EXPORTS_SYMBOL "SorvelModuleExports"

/* The argument count of an export GetProcAddress returned from `module`, or -1 when
   the module does not say (a foreign file without a table). */
int WINAPI GetProcArgumentCount(HMODULE module, FARPROC address);

#ifdef __cplusplus
}
#endif

#endif
