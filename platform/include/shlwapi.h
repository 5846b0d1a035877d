/* shlwapi: the path helpers the application uses. */
#ifndef SORVEL_PLATFORM_SHLWAPI_H
#define SORVEL_PLATFORM_SHLWAPI_H

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

void WINAPI PathRemoveBlanksA(LPSTR pszPath);

#ifdef __cplusplus
}
#endif

#endif
