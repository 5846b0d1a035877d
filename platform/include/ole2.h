/* OLE start-up and running objects. */
#ifndef SORVEL_PLATFORM_OLE2_H
#define SORVEL_PLATFORM_OLE2_H

#include "objbase.h"
#include "oleauto.h"

#ifdef __cplusplus
extern "C" {
WINOLEAPI OleInitialize(LPVOID pvReserved);
WINOLEAPI_(void) OleUninitialize(void);
WINOLEAPI OleRun(LPUNKNOWN pUnknown);
}
#endif

#endif
