// wininet.dll is a built-in module: its exports resolve by name with their argument counts.
#include <gtest/gtest.h>

#include "client.h"
#include "module_exports.h"

TEST(WininetModule, ExportsResolveWithTheirArgumentCounts) {
    HMODULE module = LoadLibraryA("WinInet.dll");
    ASSERT_NE(module, nullptr);
    struct Expected {
        const char *name;
        void *address;
        int arguments;
    };
    const Expected expected[] = {
        {"InternetOpenA", reinterpret_cast<void *>(&InternetOpenA), 5},
        {"InternetConnectA", reinterpret_cast<void *>(&InternetConnectA), 8},
        {"HttpOpenRequestA", reinterpret_cast<void *>(&HttpOpenRequestA), 8},
        {"HttpSendRequestA", reinterpret_cast<void *>(&HttpSendRequestA), 5},
        {"InternetReadFile", reinterpret_cast<void *>(&InternetReadFile), 4},
        {"HttpQueryInfoA", reinterpret_cast<void *>(&HttpQueryInfoA), 5},
        {"InternetCloseHandle", reinterpret_cast<void *>(&InternetCloseHandle), 1},
    };
    for (const Expected &entry : expected) {
        void *address = reinterpret_cast<void *>(GetProcAddress(module, entry.name));
        EXPECT_EQ(address, entry.address) << entry.name;
        const platform::ModuleExport *record = platform::FindSystemExport(address);
        ASSERT_NE(record, nullptr) << entry.name;
        EXPECT_EQ(record->argumentCount, entry.arguments) << entry.name;
    }
    EXPECT_EQ(GetProcAddress(module, "internetopena"), nullptr);  // export names keep their case
    FreeLibrary(module);
}
