// The exit operation and the runtime clean-up. The clean-up always runs on the main
// thread: another thread hands the request over through the hidden window and waits.
#include "declared_functions.h"
#include "hidden_window.h"
#include "icon_records.h"
#include "memory.h"
#include "ole_link.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"
#include "sound_player.h"

namespace rt {
namespace {

void NotifyLibrariesOfEnd(RuntimeApp &app) {
    for (size_t i = 0; i < app.libraries.size(); ++i) {
        const LibraryInfo *library = app.libraries[i];
        if (library && library->notify) library->notify(kNotifyEnd, app.libraryValues[i], 0);
    }
    app.libraries.clear();
    app.libraryValues.clear();
}

void CleanUpOnMainThread(RuntimeApp &app) {
    {
        std::lock_guard lock(app.idleLock);
        app.idleCallbacks.clear();
    }
    if (app.windowSet) app.windowSet->clear();
    if (CleanUpRoutine routine = app.cleanUpRoutine.exchange(nullptr)) routine();
    NotifyLibrariesOfEnd(app);
    ReleaseDeclaredFunctions();
    ClearImageRanges();
    StopSoundData();
    DestroyDefaultIcons(app);
    if (app.hiddenWindow && IsWindow(app.hiddenWindow)) DestroyWindow(app.hiddenWindow);
    app.hiddenWindow = nullptr;
    {
        std::lock_guard lock(app.registryLock);
        app.attributeRegistry.clear();
        for (void *record : app.iconRecords) FreeIconRecord(record);
        app.iconRecords.clear();
    }
    if (app.oleInitialized) UninitializeOle();
    app.oleInitialized = false;
}

} // namespace

void RuntimeCleanUp(int32_t code) {
    RuntimeApp &app = App();
    ++app.eventSuppression;
    if (GetCurrentThreadId() != app.mainThreadId) {
        if (!app.cleaningUp && app.hiddenWindow && IsWindow(app.hiddenWindow))
            SendMessageA(app.hiddenWindow, kMessageExitRequest, WPARAM(uint32_t(code)), 0);
        ExitProcess(UINT(code));
    }
    app.programEnding = true;
    if (app.cleaningUp.exchange(true)) return;
    CleanUpOnMainThread(app);
}

void ExitProgram(int32_t code) {
    RuntimeCleanUp(code);
    ExitProcess(UINT(code));
}

} // namespace rt
