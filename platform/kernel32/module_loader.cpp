// LoadLibraryA(ExA) / GetProcAddress / FreeLibrary. The system modules are built in and
// known by case-insensitive name; any other name is a file, loaded with dlopen. A
// module file of ours exports its table (SorvelModuleExports), so its exports can be
// found by ordinal and their argument counts are known.
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
    const SorvelModuleExportTable *table = nullptr;  // a file's own table, if it has one
    int references = 0;
};

struct ExportList {
    const platform::ModuleExport *exports = nullptr;
    size_t count = 0;
};

std::mutex modulesLock;
std::map<HMODULE, LoadedModule> &Modules() {
    static auto *modules = new std::map<HMODULE, LoadedModule>;
    return *modules;
}

// Built-in modules are identified by their table's address.
HMODULE HandleOf(const platform::SystemModule *m) { return reinterpret_cast<HMODULE>(const_cast<platform::SystemModule *>(m)); }

bool HasDirectory(const std::string &name) { return name.find_first_of("\\/:") != std::string::npos; }

// Win32 appends ".dll" to a name whose last part has no extension; a trailing "."
// means "no extension" and is dropped.
std::string WithDefaultExtension(std::string name) {
    size_t base = name.find_last_of("\\/:");
    base = base == std::string::npos ? 0 : base + 1;
    if (!name.empty() && name.back() == '.') {
        name.pop_back();
        return name;
    }
    if (name.find('.', base) == std::string::npos) name += ".dll";
    return name;
}

std::string ProgramDirectoryHostPath() {
    char path[4096];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    std::string dos(path, n);
    dos.resize(dos.rfind('\\') + 1);
    auto host = platform::DosToHostPath(dos.c_str());
    return host ? *host : std::string();
}

void *Open(const std::string &hostPath) { return dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL); }

// A bare name follows the Win32 search: the program's directory, the current
// directory, then the system's own search.
void *OpenFile(const std::string &dosName) {
    auto host = platform::DosToHostPath(dosName.c_str());
    if (!host || host->empty()) return nullptr;
    if (HasDirectory(dosName)) return Open(*host);
    for (const std::string &dir : {ProgramDirectoryHostPath(), std::string("./")})
        if (!dir.empty())
            if (void *lib = Open(dir + *host)) return lib;
    return Open(*host);
}

const SorvelModuleExportTable *TableOf(void *library) {
    return static_cast<const SorvelModuleExportTable *>(dlsym(library, SORVEL_MODULE_EXPORTS_SYMBOL));
}

ExportList ExportsOf(const LoadedModule &m) {
    if (m.system) return {m.system->exports, m.system->exportCount};
    if (m.table) return {m.table->exports, m.table->count};
    return {};
}

const platform::ModuleExport *FindExport(const ExportList &list, LPCSTR key) {
    for (size_t i = 0; i < list.count; ++i) {
        const platform::ModuleExport &e = list.exports[i];
        bool match = IS_INTRESOURCE(key) ? e.ordinal == LOWORD(key) : std::strcmp(e.name, key) == 0;
        if (match) return &e;
    }
    return nullptr;
}

// A built-in module not loaded through LoadLibraryA is still there, without references.
bool FindModule(HMODULE module, LoadedModule &out) {
    std::lock_guard lock(modulesLock);
    auto it = Modules().find(module);
    if (it != Modules().end()) {
        out = it->second;
        return true;
    }
    out = LoadedModule{};
    out.system = platform::SystemModuleAt(module);
    return out.system != nullptr;
}

HMODULE LoadSystemModule(const platform::SystemModule *system) {
    LoadedModule &m = Modules()[HandleOf(system)];
    m.system = system;
    ++m.references;
    return HandleOf(system);
}

HMODULE LoadFileModule(const std::string &name) {
    void *library = OpenFile(name);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto handle = static_cast<HMODULE>(library);
    LoadedModule &m = Modules()[handle];
    if (m.library) dlclose(library); // dlopen counted it already; we count references ourselves
    m.library = library;
    m.table = TableOf(library);
    ++m.references;
    return handle;
}

} // namespace

HMODULE platform::SystemModuleHandle(const char *name) {
    const platform::SystemModule *system = platform::FindSystemModule(WithDefaultExtension(name).c_str());
    return system ? HandleOf(system) : nullptr;
}

int platform::ModuleReferences(HMODULE module) {
    LoadedModule m;
    return FindModule(module, m) ? m.references : 0;
}

extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string file = WithDefaultExtension(name);
    std::lock_guard lock(modulesLock);
    if (const platform::SystemModule *system = platform::FindSystemModule(file.c_str())) return LoadSystemModule(system);
    return LoadFileModule(file);
}

// Only the system's own modules are found in the system folder; a name with a
// directory is refused there, as in Win32.
extern "C" HMODULE WINAPI LoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags) {
    if (!(flags & LOAD_LIBRARY_SEARCH_SYSTEM32)) return LoadLibraryA(name);
    if (!name || !*name || file || HasDirectory(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(modulesLock);
    if (const platform::SystemModule *system = platform::FindSystemModule(WithDefaultExtension(name).c_str()))
        return LoadSystemModule(system);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
    LoadedModule m;
    if (!FindModule(module, m)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (m.system || m.table) {
        if (const platform::ModuleExport *e = FindExport(ExportsOf(m), name))
            return reinterpret_cast<FARPROC>(e->address);
    } else if (!IS_INTRESOURCE(name)) {
        if (void *address = dlsym(m.library, name)) return reinterpret_cast<FARPROC>(address);
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

extern "C" int WINAPI GetProcArgumentCount(HMODULE module, FARPROC address) {
    LoadedModule m;
    if (!address || !FindModule(module, m)) return -1;
    ExportList list = ExportsOf(m);
    for (size_t i = 0; i < list.count; ++i)
        if (list.exports[i].address == reinterpret_cast<void *>(address)) return list.exports[i].argumentCount;
    return -1;
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
