// Threads. A thread object outlives its handle while the thread runs, and the handle
// outlives the thread, so both hold the shared state.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "kernel_object.h"
#include "winbase.h"

namespace {

struct ThreadState {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    DWORD exitCode = STILL_ACTIVE;
    DWORD id = 0;

    void Finish(DWORD code) {
        std::lock_guard guard(lock);
        if (done) return;
        exitCode = code;
        done = true;
        finished.notify_all();
    }
};

struct ThreadObject : platform::KernelObject {
    std::shared_ptr<ThreadState> state;
};

thread_local ThreadState *currentThread = nullptr;

// Marks the thread finished however it leaves: return, ExitThread or cancellation.
struct FinishGuard {
    std::shared_ptr<ThreadState> state;
    ~FinishGuard() { state->Finish(state->exitCode == STILL_ACTIVE ? 0 : state->exitCode); }
};

} // namespace

// Asked on every message: the kernel is asked once per thread.
extern "C" DWORD WINAPI GetCurrentThreadId(void) {
    thread_local const DWORD id = DWORD(syscall(SYS_gettid));
    return id;
}
extern "C" DWORD WINAPI GetCurrentProcessId(void) { return DWORD(getpid()); }

extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                                      DWORD flags, LPDWORD threadId) {
    if (!start || (flags & CREATE_SUSPENDED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    std::mutex started;
    std::condition_variable startedSignal;
    bool haveId = false;
    try {
        std::thread([state, start, parameter, &started, &startedSignal, &haveId] {
            {
                std::lock_guard guard(started);
                state->id = GetCurrentThreadId();
                haveId = true;
                startedSignal.notify_one();
            }
            currentThread = state.get();
            FinishGuard guard{state};
            DWORD code = start(parameter);
            state->exitCode = code;
        }).detach();
    } catch (const std::system_error &) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::unique_lock wait(started);
    startedSignal.wait(wait, [&] { return haveId; });
    if (threadId) *threadId = state->id;
    auto *object = new ThreadObject;
    object->state = state;
    return platform::RegisterKernelObject(object);
}

extern "C" void WINAPI ExitThread(DWORD code) {
    if (currentThread) currentThread->exitCode = code;
    pthread_exit(nullptr);
}

extern "C" BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD code) {
    auto *thread = platform::KernelObjectAs<ThreadObject>(handle);
    if (!thread || !code) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard guard(thread->state->lock);
    *code = thread->state->done ? thread->state->exitCode : STILL_ACTIVE;
    return TRUE;
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto *thread = platform::KernelObjectAs<ThreadObject>(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::shared_ptr<ThreadState> state = thread->state;
    std::unique_lock wait(state->lock);
    if (milliseconds == INFINITE) {
        state->finished.wait(wait, [&] { return state->done; });
        return WAIT_OBJECT_0;
    }
    bool done = state->finished.wait_for(wait, std::chrono::milliseconds(milliseconds), [&] { return state->done; });
    return done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
