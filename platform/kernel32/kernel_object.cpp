#include "kernel_object.h"

#include <mutex>
#include <unordered_set>

#include "winbase.h"

namespace platform {
namespace {

std::mutex registryLock;
std::unordered_set<KernelObject *> &Registry() {
    static auto *live = new std::unordered_set<KernelObject *>;
    return *live;
}

} // namespace

HANDLE RegisterKernelObject(KernelObject *object) {
    std::lock_guard lock(registryLock);
    Registry().insert(object);
    return object;
}

KernelObject *LookUpKernelObject(HANDLE handle) {
    std::lock_guard lock(registryLock);
    auto *object = static_cast<KernelObject *>(handle);
    return Registry().count(object) ? object : nullptr;
}

bool CloseKernelObject(HANDLE handle) {
    auto *object = static_cast<KernelObject *>(handle);
    {
        std::lock_guard lock(registryLock);
        if (!Registry().erase(object)) return false;
    }
    delete object;
    return true;
}

DWORD CloseKernelHandle(HANDLE handle) {
    auto *object = static_cast<KernelObject *>(handle);
    {
        std::lock_guard lock(registryLock);
        if (!Registry().erase(object)) return ERROR_INVALID_HANDLE;
    }
    DWORD error = object->Release();
    delete object;
    return error;
}

} // namespace platform

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
    DWORD error = platform::CloseKernelHandle(handle);
    if (error == ERROR_SUCCESS) return TRUE;
    SetLastError(error);
    return FALSE;
}
