#include "internet_object.h"

#include <winbase.h>

#include <map>

namespace platform::wininet {
namespace {

std::mutex tableLock;
std::map<uintptr_t, ObjectRef> table;
// Handle values only grow, so a closed handle never names a new object.
uintptr_t nextHandle = 0x00CC0004;

// Connect as WinInet does (60 s); send and receive 30 s, the documented receive default
// of the system's Internet settings.
Timeouts processTimeouts{60000, 30000, 30000};

}  // namespace

HINTERNET RegisterInternetObject(ObjectRef object) {
    std::lock_guard<std::mutex> guard(tableLock);
    uintptr_t value = nextHandle;
    nextHandle += 4;
    table.emplace(value, std::move(object));
    return reinterpret_cast<HINTERNET>(value);
}

ObjectRef LookUpAnyInternetObject(HINTERNET handle) {
    std::lock_guard<std::mutex> guard(tableLock);
    auto found = table.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

ObjectRef LookUpInternetObject(HINTERNET handle, ObjectKind kind) {
    ObjectRef object = LookUpAnyInternetObject(handle);
    if (object && object->kind != kind) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        return nullptr;
    }
    return object;
}

bool CloseInternetObject(HINTERNET handle) {
    ObjectRef released;  // destroyed outside the table lock
    std::lock_guard<std::mutex> guard(tableLock);
    auto found = table.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.end()) return false;
    released = std::move(found->second);
    table.erase(found);
    return true;
}

Timeouts DefaultTimeouts() {
    std::lock_guard<std::mutex> guard(tableLock);
    return processTimeouts;
}

void SetDefaultTimeouts(const Timeouts &timeouts) {
    std::lock_guard<std::mutex> guard(tableLock);
    processTimeouts = timeouts;
}

}  // namespace platform::wininet
