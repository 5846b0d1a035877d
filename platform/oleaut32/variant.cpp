// VariantInit, VariantClear, VariantCopy and VariantCopyInd.
#include <oleauto.h>

#include <cstring>

#include "variant_support.h"

namespace ole {

bool IsValidElementType(VARTYPE vt) {
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
    case VT_I8: case VT_UI8: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR: case VT_DISPATCH:
    case VT_ERROR: case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN: case VT_DECIMAL:
        return true;
    default:
        return false;
    }
}

bool IsValidVariantType(VARTYPE vt) {
    if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) return false;
    VARTYPE base = vt & VT_TYPEMASK;
    if (vt & VT_ARRAY) return IsValidElementType(base);
    if (base == VT_EMPTY || base == VT_NULL) return !(vt & VT_BYREF);
    if (base == VT_VARIANT) return (vt & VT_BYREF) != 0;
    return base == VT_RECORD || IsValidElementType(base);
}

size_t ValueSize(VARTYPE vt) {
    switch (vt) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN: case VT_INT_PTR: case VT_UINT_PTR: return sizeof(void *);
    case VT_VARIANT: return sizeof(VARIANT);
    case VT_DECIMAL: return sizeof(DECIMAL);
    default: return 0;
    }
}

bool DereferenceView(const VARIANT *source, VARIANT *view) {
    if (!(source->vt & VT_BYREF)) {
        std::memcpy(view, source, sizeof(VARIANT));
        return true;
    }
    if (!IsValidVariantType(source->vt) || !source->byref) return false;
    VARTYPE vt = source->vt & ~VT_BYREF;
    std::memset(view, 0, sizeof(VARIANT));
    if (vt == VT_VARIANT) {
        if (source->pvarVal->vt & VT_BYREF) return false;
        std::memcpy(view, source->pvarVal, sizeof(VARIANT));
        return true;
    }
    if (vt & VT_ARRAY) {
        view->parray = *source->pparray;
    } else if (vt == VT_RECORD) {
        view->pvRecord = source->pvRecord;
        view->pRecInfo = source->pRecInfo;
    } else if (vt == VT_DECIMAL) {
        view->decVal = *source->pdecVal;
    } else {
        std::memcpy(&view->llVal, source->byref, ValueSize(vt));
    }
    view->vt = vt;
    return true;
}

namespace {

// Deep-copies the owned parts of a bitwise copy in dest; on failure dest is left empty.
HRESULT DeepenCopy(VARIANT *dest) {
    if (dest->vt & VT_BYREF) return S_OK;
    if (dest->vt & VT_ARRAY) {
        SAFEARRAY *copy = nullptr;
        HRESULT hr = SafeArrayCopy(dest->parray, &copy);
        dest->parray = copy;
        if (FAILED(hr)) dest->vt = VT_EMPTY;
        return hr;
    }
    switch (dest->vt) {
    case VT_BSTR:
        if (dest->bstrVal) {
            dest->bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(dest->bstrVal), SysStringByteLen(dest->bstrVal));
            if (!dest->bstrVal) {
                dest->vt = VT_EMPTY;
                return E_OUTOFMEMORY;
            }
        }
        return S_OK;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (dest->punkVal) dest->punkVal->AddRef();
        return S_OK;
    case VT_RECORD: {
        if (!dest->pRecInfo) return S_OK;
        PVOID copy = nullptr;
        HRESULT hr = dest->pRecInfo->RecordCreateCopy(dest->pvRecord, &copy);
        if (FAILED(hr)) {
            dest->vt = VT_EMPTY;
            return hr;
        }
        dest->pvRecord = copy;
        dest->pRecInfo->AddRef();
        return S_OK;
    }
    default:
        return S_OK;
    }
}

} // namespace

} // namespace ole

extern "C" {

void WINAPI VariantInit(VARIANTARG *pvarg) {
    if (!pvarg) return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

HRESULT WINAPI VariantClear(VARIANTARG *pvarg) {
    if (!pvarg) return E_INVALIDARG;
    if (!ole::IsValidVariantType(pvarg->vt)) return DISP_E_BADVARTYPE;
    if (!(pvarg->vt & VT_BYREF)) {
        if (pvarg->vt & VT_ARRAY) {
            HRESULT hr = SafeArrayDestroy(pvarg->parray);
            if (FAILED(hr)) return hr;
        } else if (pvarg->vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if (pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) {
            if (pvarg->punkVal) pvarg->punkVal->Release();
        } else if (pvarg->vt == VT_RECORD && pvarg->pRecInfo) {
            pvarg->pRecInfo->RecordClear(pvarg->pvRecord);
            pvarg->pRecInfo->Release();
        }
    }
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

HRESULT WINAPI VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc) {
    if (!pvargDest || !pvargSrc) return E_INVALIDARG;
    if (pvargDest == pvargSrc) return S_OK;
    if (!ole::IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
    HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr)) return hr;
    std::memcpy(pvargDest, pvargSrc, sizeof(VARIANT));
    return ole::DeepenCopy(pvargDest);
}

HRESULT WINAPI VariantCopyInd(VARIANT *pvarDest, const VARIANTARG *pvargSrc) {
    if (!pvarDest || !pvargSrc) return E_INVALIDARG;
    if (!(pvargSrc->vt & VT_BYREF)) return VariantCopy(pvarDest, pvargSrc);
    VARIANT view;
    if (!ole::DereferenceView(pvargSrc, &view)) return DISP_E_BADVARTYPE;
    HRESULT hr = ole::DeepenCopy(&view);
    if (FAILED(hr)) return hr;
    // The source is a reference, so clearing the destination cannot free what the copy came from.
    hr = VariantClear(pvarDest);
    if (FAILED(hr)) {
        VariantClear(&view);
        return hr;
    }
    std::memcpy(pvarDest, &view, sizeof(VARIANT));
    return S_OK;
}

} // extern "C"
