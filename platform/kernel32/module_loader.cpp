// LoadLibraryA / GetProcAddress / FreeLibrary. The system modules are built in and
// known by case-insensitive name; any other name is a file, loaded with dlopen.
#include <dlfcn.h>
#include <strings.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "dos_path.h"
#include "module_exports.h"
#include "winbase.h"

namespace {

struct LoadedModule {
    const platform::SystemModule *system = nullptr; // built-in
    void *library = nullptr;                         // dlopen handle
    int references = 0;
};

std::mutex modulesLock;
std::map<HMODULE, LoadedModule> &Modules() {
    static auto *modules = new std::map<HMODULE, LoadedModule>;
    return *modules;
}

// Built-in modules are identified by their table's address.
HMODULE HandleOf(const platform::SystemModule *m) { return reinterpret_cast<HMODULE>(const_cast<platform::SystemModule *>(m)); }

bool HasDirectory(const char *name) { return std::strpbrk(name, "\\/:") != nullptr; }

// A bare name is looked for next to the program, then in the current directory.
std::string ProgramDirectoryHostPath() {
    char path[4096];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    std::string dos(path, n);
    dos.resize(dos.rfind('\\') + 1);
    auto host = platform::DosToHostPath(dos.c_str());
    return host ? *host : std::string();
}

void *OpenFile(const char *dosName) {
    auto host = platform::DosToHostPath(dosName);
    if (!host || host->empty()) return nullptr;
    if (HasDirectory(dosName)) return dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
    for (const std::string &dir : {ProgramDirectoryHostPath(), std::string("./")}) {
        if (dir.empty()) continue;
        if (void *lib = dlopen((dir + *host).c_str(), RTLD_NOW | RTLD_LOCAL)) return lib;
    }
    return nullptr;
}

} // namespace

extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(modulesLock);
    if (const platform::SystemModule *system = platform::FindSystemModule(name)) {
        LoadedModule &m = Modules()[HandleOf(system)];
        m.system = system;
        ++m.references;
        return HandleOf(system);
    }
    void *library = OpenFile(name);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto handle = static_cast<HMODULE>(library);
    LoadedModule &m = Modules()[handle];
    if (m.library) dlclose(library); // dlopen counted it already; we count references ourselves
    m.library = library;
    ++m.references;
    return handle;
}

extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
    LoadedModule m;
    {
        std::lock_guard lock(modulesLock);
        auto it = Modules().find(module);
        if (it == Modules().end()) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
        m = it->second;
    }
    if (m.system) {
        for (size_t i = 0; i < m.system->exportCount; ++i) {
            const platform::ModuleExport &e = m.system->exports[i];
            bool match = IS_INTRESOURCE(name) ? e.ordinal == LOWORD(name) : std::strcmp(e.name, name) == 0;
            if (match) return reinterpret_cast<FARPROC>(e.address);
        }
    } else if (!IS_INTRESOURCE(name)) {
        if (void *address = dlsym(m.library, name)) return reinterpret_cast<FARPROC>(address);
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
    std::lock_guard lock(modulesLock);
    auto it = Modules().find(module);
    if (it == Modules().end()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (--it->second.references == 0) {
        if (it->second.library) dlclose(it->second.library);
        Modules().erase(it);
    }
    return TRUE;
}
