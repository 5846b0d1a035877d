#include "runtime_app.h"

#include "runtime_error.h"

namespace rt {

RuntimeApp::RuntimeApp(const ImageHeader *image, EntryRoutine entry, const WindowSetOperations *windowSet)
    : image(image), entry(entry), windowSet(windowSet) {}

RuntimeApp &App() { return *static_cast<RuntimeApp *>(fw::Application::Current()); }

// A cut path would move the run directory, and with it every file the program writes.
std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Records the module directory and runs the application's entry routine; its result
// (0) makes the framework skip its own loop and go to the exit step.
BOOL RuntimeApp::InitInstance() {
    std::string path = ExecutablePath();
    moduleDirectory = path.substr(0, path.rfind('\\') + 1);
    return entry ? BOOL(entry()) : FALSE;
}

int RuntimeApp::ExitInstance() {
    RuntimeCleanUp(0);
    return fw::Application::ExitInstance();
}

} // namespace rt
