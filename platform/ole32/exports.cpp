// The export table of ole32.dll, for functions that a program declares and calls itself.
#include <ole2.h>

#include <iterator>

#include "module_exports.h"

namespace platform {

#define EXPORT(fn, ordinal, args) {#fn, ordinal, reinterpret_cast<void *>(&fn), args}

extern const ModuleExport kOle32Exports[] = {
    EXPORT(CLSIDFromProgID, 1, 2),
    EXPORT(CLSIDFromString, 2, 2),
    EXPORT(CoCreateInstance, 3, 5),
    EXPORT(CoGetClassObject, 4, 5),
    EXPORT(CoInitialize, 5, 1),
    EXPORT(CoInitializeEx, 6, 2),
    EXPORT(CoRegisterClassObject, 7, 5),
    EXPORT(CoRevokeClassObject, 8, 1),
    EXPORT(CoTaskMemAlloc, 9, 1),
    EXPORT(CoTaskMemFree, 10, 1),
    EXPORT(CoTaskMemRealloc, 11, 2),
    EXPORT(CoUninitialize, 12, 0),
    EXPORT(IIDFromString, 13, 2),
    EXPORT(OleInitialize, 14, 1),
    EXPORT(OleRun, 15, 1),
    EXPORT(OleUninitialize, 16, 0),
    EXPORT(StringFromGUID2, 17, 3),
    EXPORT(CreateStreamOnHGlobal, 18, 3),
    EXPORT(GetHGlobalFromStream, 19, 2),
};
extern const size_t kOle32ExportCount = std::size(kOle32Exports);

#undef EXPORT

} // namespace platform
