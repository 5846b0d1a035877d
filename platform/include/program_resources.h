/* The program's resources. A Windows program carries them in its file; here a build
   step (program_resources() in CMake) turns the program's resource list into a table
   that the program registers before main, and FindResourceA and the loaders read it
   for the program module. An icon resource (RT_GROUP_ICON) holds a whole .ico file. */
#ifndef SORVEL_PLATFORM_PROGRAM_RESOURCES_H
#define SORVEL_PLATFORM_PROGRAM_RESOURCES_H

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SorvelProgramResource {
    LPCSTR type; /* RT_... or a name */
    LPCSTR name; /* a name or MAKEINTRESOURCEA(id) */
    const BYTE *data;
    DWORD size;
} SorvelProgramResource;

/* Adds the table (kept, not copied) to the program module's resources. */
BOOL WINAPI RegisterProgramResources(const SorvelProgramResource *resources, DWORD count);

#ifdef __cplusplus
}
#endif

#endif
