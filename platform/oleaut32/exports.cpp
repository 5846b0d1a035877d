// The export table of oleaut32.dll, for functions that a program declares and calls itself.
#include <oleauto.h>
#include <olectl.h>

#include <iterator>

#include "module_exports.h"

namespace platform {

#define EXPORT(fn, ordinal, args) {#fn, ordinal, reinterpret_cast<void *>(&fn), args}

extern const ModuleExport kOleAut32Exports[] = {
    EXPORT(SysAllocString, 2, 1),
    EXPORT(SysReAllocString, 3, 2),
    EXPORT(SysAllocStringLen, 4, 2),
    EXPORT(SysReAllocStringLen, 5, 3),
    EXPORT(SysFreeString, 6, 1),
    EXPORT(SysStringLen, 7, 1),
    EXPORT(VariantInit, 8, 1),
    EXPORT(VariantClear, 9, 1),
    EXPORT(VariantCopy, 10, 2),
    EXPORT(VariantCopyInd, 11, 2),
    EXPORT(VariantChangeType, 12, 4),
    EXPORT(SafeArrayCreate, 15, 3),
    EXPORT(SafeArrayDestroy, 16, 1),
    EXPORT(SafeArrayGetDim, 17, 1),
    EXPORT(SafeArrayGetElemsize, 18, 1),
    EXPORT(SafeArrayGetUBound, 19, 3),
    EXPORT(SafeArrayGetLBound, 20, 3),
    EXPORT(SafeArrayLock, 21, 1),
    EXPORT(SafeArrayUnlock, 22, 1),
    EXPORT(SafeArrayAccessData, 23, 2),
    EXPORT(SafeArrayUnaccessData, 24, 1),
    EXPORT(SafeArrayGetElement, 25, 3),
    EXPORT(SafeArrayPutElement, 26, 3),
    EXPORT(SafeArrayCopy, 27, 2),
    EXPORT(SafeArrayPtrOfIndex, 148, 3),
    EXPORT(SysStringByteLen, 149, 1),
    EXPORT(SysAllocStringByteLen, 150, 2),
    EXPORT(VariantChangeTypeEx, 147, 5),
    EXPORT(LoadTypeLib, 161, 2),
    EXPORT(RegisterTypeLib, 163, 3),
    EXPORT(LHashValOfNameSys, 165, 3),
    EXPORT(LoadTypeLibEx, 183, 3),
    EXPORT(SafeArrayCreateVector, 411, 3),
    EXPORT(SafeArrayGetVartype, 77, 2),
    EXPORT(OleLoadPicture, 418, 5),
};
extern const size_t kOleAut32ExportCount = std::size(kOleAut32Exports);

#undef EXPORT

} // namespace platform
