/* Control interfaces: the picture object. */
#ifndef SORVEL_PLATFORM_OCIDL_H
#define SORVEL_PLATFORM_OCIDL_H

#include "oaidl.h"
#include "objidl.h"

#ifdef __cplusplus

/* The SDK declares OLE_HANDLE as a 32-bit UINT because Windows' GDI and USER handles
   fit in 32 bits; this platform's handles are addresses, so it is pointer-sized here.
   Callers convert it with (HANDLE)(UINT_PTR)h, which is right for both. */
typedef UINT_PTR OLE_HANDLE;
typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;

EXTERN_C const IID IID_IPicture;

struct IPicture : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE *pHandle) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE *phPal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(SHORT *pType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC *pWidth) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC *pHeight) = 0;
    virtual HRESULT STDMETHODCALLTYPE Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                             OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc,
                                             OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE hPal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurDC(HDC *phDC) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectPicture(HDC hDCIn, HDC *phDCOut, OLE_HANDLE *phBmpOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL *pKeep) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) = 0;
    virtual HRESULT STDMETHODCALLTYPE PictureChanged(void) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM pStream, BOOL fSaveMemCopy, LONG *pCbSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes(DWORD *pDwAttr) = 0;
};
typedef IPicture *LPPICTURE;

#endif

#endif
