#include "window_registry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform {
namespace {

std::mutex registryLock;
uintptr_t nextHandle = 0x10010;

std::map<HWND, std::shared_ptr<WindowRecord>> &Windows() {
    static auto *windows = new std::map<HWND, std::shared_ptr<WindowRecord>>;
    return *windows;
}

} // namespace

std::shared_ptr<WindowRecord> FindWindowRecord(HWND handle) {
    std::lock_guard lock(registryLock);
    auto it = Windows().find(handle);
    return it == Windows().end() ? nullptr : it->second;
}

HWND AddWindowRecord(std::shared_ptr<WindowRecord> record) {
    std::lock_guard lock(registryLock);
    record->handle = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    Windows()[record->handle] = record;
    return record->handle;
}

void RemoveWindowRecord(HWND handle) {
    std::lock_guard lock(registryLock);
    Windows().erase(handle);
}

std::vector<HWND> AllWindows() {
    std::lock_guard lock(registryLock);
    std::vector<HWND> found;
    for (auto &[handle, record] : Windows()) found.push_back(handle);
    return found;
}

std::vector<HWND> WindowsOfThread(DWORD threadId) {
    std::lock_guard lock(registryLock);
    std::vector<HWND> found;
    for (auto &[handle, record] : Windows())
        if (record->threadId == threadId) found.push_back(handle);
    return found;
}

} // namespace platform
