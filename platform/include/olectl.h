/* OLE controls: loading pictures. */
#ifndef SORVEL_PLATFORM_OLECTL_H
#define SORVEL_PLATFORM_OLECTL_H

#include "ocidl.h"

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1
#define PICTYPE_METAFILE 2
#define PICTYPE_ICON 3
#define PICTYPE_ENHMETAFILE 4

#define PICTURE_SCALABLE 0x1
#define PICTURE_TRANSPARENT 0x2

#define CTL_E_INVALIDPICTURE MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 481)

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid, LPVOID *lplpvObj);

#ifdef __cplusplus
}
#endif

#endif
