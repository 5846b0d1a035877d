// Kernel handles: every HANDLE the platform gives out points to a live KernelObject.
#pragma once

#include "windef.h"

namespace platform {

struct KernelObject {
    virtual ~KernelObject() = default;
    // Called by CloseHandle before the object goes; a Win32 error code when closing
    // failed (the handle is gone all the same).
    virtual DWORD Release() { return 0; }
};

HANDLE RegisterKernelObject(KernelObject *object);
// The object behind `handle` when it is live and of type T, else null.
KernelObject *LookUpKernelObject(HANDLE handle);
template <typename T> T *KernelObjectAs(HANDLE handle) { return dynamic_cast<T *>(LookUpKernelObject(handle)); }
// Forgets and deletes the object; false for a handle that is not live.
bool CloseKernelObject(HANDLE handle);
// CloseHandle's work: forgets the object, releases and deletes it; the Win32 error.
DWORD CloseKernelHandle(HANDLE handle);

} // namespace platform
