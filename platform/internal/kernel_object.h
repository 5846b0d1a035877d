// Kernel handles: every HANDLE the platform gives out points to a live KernelObject.
#pragma once

#include "windef.h"

namespace platform {

struct KernelObject {
    virtual ~KernelObject() = default;
};

HANDLE RegisterKernelObject(KernelObject *object);
// The object behind `handle` when it is live and of type T, else null.
KernelObject *LookUpKernelObject(HANDLE handle);
template <typename T> T *KernelObjectAs(HANDLE handle) { return dynamic_cast<T *>(LookUpKernelObject(handle)); }
// Forgets and deletes the object; false for a handle that is not live.
bool CloseKernelObject(HANDLE handle);

} // namespace platform
