// SAFEARRAY: descriptor with bounds, element storage, locks and element copies.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>

#include "variant_support.h"

namespace {

// The element type is kept in a prefix in front of the descriptor, as OLE does.
struct ArrayPrefix {
    VARTYPE vt;
    char pad[14];
};
static_assert(sizeof(ArrayPrefix) == 16);

ArrayPrefix *PrefixOf(SAFEARRAY *psa) { return reinterpret_cast<ArrayPrefix *>(psa) - 1; }

USHORT FeaturesFor(VARTYPE vt) {
    switch (vt) {
    case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH: return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
    default: return FADF_HAVEVARTYPE;
    }
}

size_t DescriptorSize(UINT cDims) { return sizeof(SAFEARRAY) + (cDims - 1) * sizeof(SAFEARRAYBOUND); }

// Element count of all dimensions, false on overflow.
bool CellCount(const SAFEARRAY *psa, size_t &count) {
    count = 1;
    for (USHORT i = 0; i < psa->cDims; ++i) {
        size_t n = psa->rgsabound[i].cElements;
        if (n && count > SIZE_MAX / n) return false;
        count *= n;
    }
    return true;
}

VARTYPE ElementType(SAFEARRAY *psa) {
    if (psa->fFeatures & FADF_HAVEVARTYPE) return PrefixOf(psa)->vt;
    if (psa->fFeatures & FADF_BSTR) return VT_BSTR;
    if (psa->fFeatures & FADF_UNKNOWN) return VT_UNKNOWN;
    if (psa->fFeatures & FADF_DISPATCH) return VT_DISPATCH;
    if (psa->fFeatures & FADF_VARIANT) return VT_VARIANT;
    return VT_EMPTY;
}

// Cells of strings, interfaces and variants hold what a copy or a clear must look after;
// all other cells are plain bytes.
bool HoldsReferences(const SAFEARRAY *psa) {
    return psa->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT);
}

void ClearCells(SAFEARRAY *psa, size_t count) {
    if (!HoldsReferences(psa)) return;
    char *cell = static_cast<char *>(psa->pvData);
    for (size_t i = 0; i < count; ++i, cell += psa->cbElements) {
        if (psa->fFeatures & FADF_BSTR) {
            SysFreeString(*reinterpret_cast<BSTR *>(cell));
        } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
            IUnknown *unk = *reinterpret_cast<IUnknown **>(cell);
            if (unk) unk->Release();
        } else if (psa->fFeatures & FADF_VARIANT) {
            VariantClear(reinterpret_cast<VARIANT *>(cell));
        }
    }
}

// Copies one element value into a cell the caller owns, holding its own references.
HRESULT CopyElement(SAFEARRAY *psa, void *to, const void *from) {
    if (psa->fFeatures & FADF_BSTR) {
        BSTR source = *static_cast<const BSTR *>(from);
        BSTR copy = nullptr;
        if (source) {
            copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source), SysStringByteLen(source));
            if (!copy) return E_OUTOFMEMORY;
        }
        *static_cast<BSTR *>(to) = copy;
    } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        IUnknown *unk = *static_cast<IUnknown *const *>(from);
        if (unk) unk->AddRef();
        *static_cast<IUnknown **>(to) = unk;
    } else if (psa->fFeatures & FADF_VARIANT) {
        VariantInit(static_cast<VARIANT *>(to));
        return VariantCopy(static_cast<VARIANT *>(to), static_cast<const VARIANT *>(from));
    } else {
        std::memcpy(to, from, psa->cbElements);
    }
    return S_OK;
}

// Fills the cells of a new array `to` with copies of `count` cells from `from`; on a
// failure the cells not reached stay empty.
HRESULT CopyCells(SAFEARRAY *to, const char *from, size_t count) {
    char *cells = static_cast<char *>(to->pvData);
    if (!HoldsReferences(to)) {
        std::memcpy(cells, from, count * to->cbElements);
        return S_OK;
    }
    for (size_t i = 0; i < count; ++i) {
        HRESULT hr = CopyElement(to, cells + i * to->cbElements, from + i * to->cbElements);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

// Arrays also hold pointer-sized integers, which no VARIANT holds by value.
bool IsArrayElementType(VARTYPE vt) { return ole::IsValidElementType(vt) || vt == VT_INT_PTR || vt == VT_UINT_PTR; }

} // namespace

extern "C" {

SAFEARRAY *WINAPI SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND *rgsabound) {
    if (!cDims || cDims > 0xFFFF || !rgsabound || !IsArrayElementType(vt)) return nullptr;
    char *block = static_cast<char *>(std::calloc(1, sizeof(ArrayPrefix) + DescriptorSize(cDims)));
    if (!block) return nullptr;
    reinterpret_cast<ArrayPrefix *>(block)->vt = vt;
    SAFEARRAY *psa = reinterpret_cast<SAFEARRAY *>(block + sizeof(ArrayPrefix));
    psa->cDims = USHORT(cDims);
    psa->fFeatures = FeaturesFor(vt);
    psa->cbElements = ULONG(ole::ValueSize(vt));
    // The descriptor keeps the bounds in reverse order: the last slot is the first dimension.
    for (UINT i = 0; i < cDims; ++i) psa->rgsabound[i] = rgsabound[cDims - 1 - i];
    size_t count;
    if (!CellCount(psa, count) || count > SIZE_MAX / psa->cbElements ||
        !(psa->pvData = std::calloc(1, count * psa->cbElements + 1))) {
        std::free(block);
        return nullptr;
    }
    return psa;
}

SAFEARRAY *WINAPI SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    SAFEARRAYBOUND bound = {cElements, lLbound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT WINAPI SafeArrayDestroy(SAFEARRAY *psa) {
    if (!psa) return S_OK;
    if (psa->cLocks) return DISP_E_ARRAYISLOCKED;
    size_t count;
    if (psa->pvData && CellCount(psa, count)) ClearCells(psa, count);
    std::free(psa->pvData);
    std::free(PrefixOf(psa));
    return S_OK;
}

UINT WINAPI SafeArrayGetDim(SAFEARRAY *psa) { return psa ? psa->cDims : 0; }

UINT WINAPI SafeArrayGetElemsize(SAFEARRAY *psa) { return psa ? psa->cbElements : 0; }

HRESULT WINAPI SafeArrayGetLBound(SAFEARRAY *psa, UINT nDim, LONG *plLbound) {
    if (!psa || !plLbound) return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[psa->cDims - nDim].lLbound;
    return S_OK;
}

HRESULT WINAPI SafeArrayGetUBound(SAFEARRAY *psa, UINT nDim, LONG *plUbound) {
    if (!psa || !plUbound) return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND &b = psa->rgsabound[psa->cDims - nDim];
    *plUbound = LONG(int64_t(b.lLbound) + int64_t(b.cElements) - 1);
    return S_OK;
}

HRESULT WINAPI SafeArrayGetVartype(SAFEARRAY *psa, VARTYPE *pvt) {
    if (!psa || !pvt) return E_INVALIDARG;
    *pvt = ElementType(psa);
    return *pvt == VT_EMPTY ? E_INVALIDARG : S_OK;
}

HRESULT WINAPI SafeArrayLock(SAFEARRAY *psa) {
    if (!psa) return E_INVALIDARG;
    if (psa->cLocks >= 0xFFFF) return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT WINAPI SafeArrayUnlock(SAFEARRAY *psa) {
    if (!psa) return E_INVALIDARG;
    if (psa->cLocks == 0) return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT WINAPI SafeArrayAccessData(SAFEARRAY *psa, void **ppvData) {
    if (!psa || !ppvData) return E_INVALIDARG;
    HRESULT hr = SafeArrayLock(psa);
    *ppvData = SUCCEEDED(hr) ? psa->pvData : nullptr;
    return hr;
}

HRESULT WINAPI SafeArrayUnaccessData(SAFEARRAY *psa) { return SafeArrayUnlock(psa); }

HRESULT WINAPI SafeArrayPtrOfIndex(SAFEARRAY *psa, LONG *rgIndices, void **ppvData) {
    if (!psa || !rgIndices || !ppvData) return E_INVALIDARG;
    // rgIndices[0] is the first dimension, which varies fastest.
    size_t cell = 0, stride = 1;
    for (USHORT i = 0; i < psa->cDims; ++i) {
        const SAFEARRAYBOUND &b = psa->rgsabound[psa->cDims - 1 - i];
        int64_t offset = int64_t(rgIndices[i]) - b.lLbound;
        if (offset < 0 || offset >= int64_t(b.cElements)) return DISP_E_BADINDEX;
        cell += size_t(offset) * stride;
        stride *= b.cElements;
    }
    *ppvData = static_cast<char *>(psa->pvData) + cell * psa->cbElements;
    return S_OK;
}

HRESULT WINAPI SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv) {
    if (!pv) return E_INVALIDARG;
    void *cell;
    HRESULT hr = SafeArrayPtrOfIndex(psa, rgIndices, &cell);
    if (FAILED(hr)) return hr;
    SafeArrayLock(psa);
    hr = CopyElement(psa, pv, cell);
    SafeArrayUnlock(psa);
    return hr;
}

HRESULT WINAPI SafeArrayPutElement(SAFEARRAY *psa, LONG *rgIndices, void *pv) {
    void *cell;
    HRESULT hr = SafeArrayPtrOfIndex(psa, rgIndices, &cell);
    if (FAILED(hr)) return hr;
    // BSTR and interface elements are passed as the value itself, the others by address.
    bool byValue = psa->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH);
    if (!pv && !byValue) return E_INVALIDARG;
    char fresh[sizeof(VARIANT)];
    hr = CopyElement(psa, fresh, byValue ? static_cast<void *>(&pv) : pv);
    if (FAILED(hr)) return hr;
    SafeArrayLock(psa);
    if (psa->fFeatures & FADF_BSTR) SysFreeString(*static_cast<BSTR *>(cell));
    else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        IUnknown *old = *static_cast<IUnknown **>(cell);
        if (old) old->Release();
    } else if (psa->fFeatures & FADF_VARIANT) VariantClear(static_cast<VARIANT *>(cell));
    std::memcpy(cell, fresh, psa->cbElements);
    SafeArrayUnlock(psa);
    return S_OK;
}

HRESULT WINAPI SafeArrayCopy(SAFEARRAY *psa, SAFEARRAY **ppsaOut) {
    if (!ppsaOut) return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa) return S_OK;
    VARTYPE vt = ElementType(psa);
    SAFEARRAYBOUND bounds[64];
    if (psa->cDims > 64 || vt == VT_EMPTY) return E_INVALIDARG;
    for (USHORT i = 0; i < psa->cDims; ++i) bounds[i] = psa->rgsabound[psa->cDims - 1 - i];
    SAFEARRAY *copy = SafeArrayCreate(vt, psa->cDims, bounds);
    if (!copy) return E_OUTOFMEMORY;
    size_t count;
    CellCount(psa, count);
    HRESULT hr = CopyCells(copy, static_cast<const char *>(psa->pvData), count);
    if (FAILED(hr)) {
        SafeArrayDestroy(copy);
        return hr;
    }
    *ppsaOut = copy;
    return S_OK;
}

} // extern "C"
