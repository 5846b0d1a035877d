// Critical sections keep a recursive mutex behind DebugInfo.
#include <mutex>

#include "winbase.h"

namespace {
std::recursive_mutex &LockOf(LPCRITICAL_SECTION cs) { return *static_cast<std::recursive_mutex *>(cs->DebugInfo); }

void NoteEntered(LPCRITICAL_SECTION cs) {
    cs->OwningThread = reinterpret_cast<HANDLE>(uintptr_t(GetCurrentThreadId()));
    ++cs->RecursionCount;
}
} // namespace

extern "C" void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs) {
    *cs = CRITICAL_SECTION{};
    cs->DebugInfo = new std::recursive_mutex;
    cs->LockCount = -1;
}

extern "C" void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs) {
    LockOf(cs).lock();
    NoteEntered(cs);
}

extern "C" BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
    if (!LockOf(cs).try_lock()) return FALSE;
    NoteEntered(cs);
    return TRUE;
}

extern "C" void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs) {
    if (--cs->RecursionCount == 0) cs->OwningThread = nullptr;
    LockOf(cs).unlock();
}

extern "C" void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    delete static_cast<std::recursive_mutex *>(cs->DebugInfo);
    cs->DebugInfo = nullptr;
}
