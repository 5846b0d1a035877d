#include "exports.h"

#include <winerror.h>
#include <wininet.h>

namespace platform::wininet {

#define EXPORT(name, count) {#name, reinterpret_cast<void *>(&name), count}

const ExportEntry kModuleExports[] = {
    EXPORT(HttpOpenRequestA, 8),
    EXPORT(HttpQueryInfoA, 5),
    EXPORT(HttpSendRequestA, 5),
    EXPORT(InternetCloseHandle, 1),
    EXPORT(InternetConnectA, 8),
    EXPORT(InternetOpenA, 5),
    EXPORT(InternetQueryOptionA, 4),
    EXPORT(InternetReadFile, 4),
    EXPORT(InternetSetOptionA, 4),
};

const size_t kModuleExportCount = sizeof kModuleExports / sizeof kModuleExports[0];

#undef EXPORT

}  // namespace platform::wininet
