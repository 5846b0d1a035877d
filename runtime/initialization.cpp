// Runtime initialisation (handler 6), step by step in the order the image expects.
#include "gbk.h"
#include "shlobj.h"
#include "hidden_window.h"
#include "memory.h"
#include "ole_link.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"

namespace rt {
namespace {

bool CanWriteIn(const std::string &directory) {
    std::string probe = directory + "\\~sorvel-write-probe.tmp";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(h);
    DeleteFileA(probe.c_str());
    return true;
}

// A program installed where its user cannot write (a system prefix) keeps its files in
// a per-user folder named after it instead; when there is none, nothing changes.
std::string WritableRunDirectory(const std::string &directory, const std::string &executable) {
    if (directory.empty() || CanWriteIn(directory)) return directory;
    char base[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK)
        return directory;
    std::string stem = executable.substr(0, executable.rfind('.'));
    std::string own = std::string(base) + "\\" + stem;
    CreateDirectoryA(own.c_str(), nullptr);
    return CanWriteIn(own) ? own : directory;
}

void TakePaths(RuntimeApp &app) {
    std::string path = ExecutablePath();
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) {
        app.runDirectory.clear();
        app.executableName = path;
    } else {
        app.runDirectory = path.substr(0, slash);
        app.executableName = path.substr(slash + 1);
        app.runDirectory = WritableRunDirectory(app.runDirectory, app.executableName);
    }
    // "Z:" alone would name the drive's current directory, not its root.
    std::string directory = app.runDirectory.size() == 2 ? app.runDirectory + "\\" : app.runDirectory;
    if (!directory.empty()) SetCurrentDirectoryA(directory.c_str());
}

void SizeDeclaredTables(RuntimeApp &app, const ImageHeader &image) {
    uint32_t n = image.declaredFunctionCount;
    if (n == 0) return;
    app.declared.dllNames.assign(image.declaredDllNames, image.declaredDllNames + n);
    app.declared.functionNames.assign(image.declaredFunctionNames, image.declaredFunctionNames + n);
    app.declared.addresses = std::vector<std::atomic<void *>>(n);
    app.declared.modules = std::vector<std::atomic<HMODULE>>(n);
    app.declared.argumentCounts = std::vector<std::atomic<int>>(n);
}

void StartLibraries(RuntimeApp &app, const ImageHeader &image) {
    for (uint32_t i = 0; i < image.libraryCount; ++i) {
        const LibraryInfo *library = image.libraries[i];
        if (library && library->notify) library->notify(kNotifyStart, reinterpret_cast<intptr_t>(&RuntimeService), 0);
    }
    app.libraries.assign(image.libraries, image.libraries + image.libraryCount);
    app.libraryValues.assign(image.libraryCount, 0);
}

void LoadWindowSet(RuntimeApp &app, const ImageHeader &image) {
    if (image.windowTemplateSize == 0) return;
    if (!app.windowSet || !app.windowSet->load(image.windowTemplates, image.windowTemplateSize, image.codeBase))
        ReportRuntimeError(GbkLiteral("载入窗口模板数据段出错!"), 0);
}

} // namespace

void InitializeRuntime() {
    RuntimeApp &app = App();
    const ImageHeader &image = *app.image;
    app.heap = GetProcessHeap();
    app.imageKind = image.imageKind;
    app.reservedA = image.reservedA;
    app.reservedB = image.reservedB + 1;
    if (!app.oleInitialized) app.oleInitialized = InitializeOle();
    TakePaths(app);
    app.hiddenWindow = CreateHiddenWindow();
    app.mainThreadId = GetCurrentThreadId();
    if (image.constantAreaSize != 0) RegisterImageRange(image.constantArea, image.constantAreaSize);
    SizeDeclaredTables(app, image);
    StartLibraries(app, image);
    LoadWindowSet(app, image);
}

} // namespace rt
