// The one runtime application object and the state the runtime derives from the image.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "application.h"
#include "image.h"
#include "window_set.h"

namespace rt {

using CleanUpRoutine = void (*)();
using IdleRoutine = void (*)(intptr_t parameter);

struct IdleCallback {
    HWND window;
    IdleRoutine routine;
    intptr_t parameter;
};

struct DeclaredFunctionTables {
    std::vector<const char *> dllNames;
    std::vector<const char *> functionNames;
    std::vector<std::atomic<void *>> addresses;
    std::vector<std::atomic<HMODULE>> modules;
    std::vector<std::atomic<int>> argumentCounts; // the export's, -1 = not known
};

class RuntimeApp : public fw::Application {
public:
    RuntimeApp(const ImageHeader *image, EntryRoutine entry, const WindowSetOperations *windowSet);

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG idleCount) override;
    BOOL PreTranslateMessage(MSG *msg) override;

    // Image and program.
    const ImageHeader *image;
    EntryRoutine entry;
    const WindowSetOperations *windowSet;
    uint32_t imageKind = 0;
    uint32_t reservedA = 0;
    uint32_t reservedB = 0;

    // Paths, GBK, DOS form.
    std::string runDirectory;    // no trailing backslash
    std::string executableName;
    std::string moduleDirectory; // with its trailing backslash

    HANDLE heap = nullptr;
    HWND hiddenWindow = nullptr;
    DWORD mainThreadId = 0;

    DeclaredFunctionTables declared;
    std::vector<const LibraryInfo *> libraries;
    std::vector<intptr_t> libraryValues;

    std::mutex idleLock;
    std::vector<IdleCallback> idleCallbacks;
    DWORD idlePeriodStart = 0;
    std::vector<HWND> declinedIdle;

    std::atomic<CleanUpRoutine> cleanUpRoutine{nullptr};
    std::atomic<int> eventSuppression{0};
    // The running handler's window and unit (0 when none), and the window whose modal
    // loop runs.
    std::atomic<uint32_t> eventWindow{0};
    std::atomic<uint32_t> eventUnit{0};
    std::atomic<uint32_t> modalWindow{0};

    // Services 2011-2013 (value, attribute) registry and 2019-2021 icon records.
    std::mutex registryLock;
    std::map<intptr_t, uint8_t> attributeRegistry;
    std::vector<void *> iconRecords; // each begins with its icon handle
    HICON defaultIcons[2] = {};      // service 1000: large and small, once loaded

    bool oleInitialized = false;
    std::atomic<bool> cleaningUp{false};
    bool mainLoopStarted = false;
    // Set once the main loop has ended or the last window has closed: the program is
    // on its way out, and a worker thread's late error is no longer the user's concern.
    std::atomic<bool> programEnding{false};
};

RuntimeApp &App();

// The program's full DOS path, however long.
std::string ExecutablePath();

// Handler 6.
void InitializeRuntime();
// Helper slot 10, and the modal form used while a modal window is up.
void RunMainLoop();
void RunModalLoop(const std::atomic<bool> &stillModal);
void LoadStartupWindow(uint32_t windowId);
// Carries out waiting messages (services 2009, 2010, 2018).
void ProcessWaitingMessages();
// Called when the last window of the set has closed.
void NoteProgramEnding();

} // namespace rt
