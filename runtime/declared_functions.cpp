// Resolution and calls of declared external functions by number. The first call of
// a number loads its module and caches address, module and the export's argument
// count; later calls read the cache only. Two threads resolving the same number at
// once both load the module; the loser releases its extra reference.
#include "declared_functions.h"

#include <cctype>
#include <cstring>
#include <shared_mutex>
#include <string>

#include "gbk.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "word_call.h"
#ifndef _WIN32
#include "module_export_table.h"
#endif

namespace rt {
namespace {

const char *const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

// "#12" names ordinal 12; anything else is the name as written. The number is taken
// digit by digit modulo 65536, so however long it is, its low 16 bits are exact.
LPCSTR ExportKey(const char *name) {
    if (name[0] != '#') return name;
    unsigned ordinal = 0;
    for (const char *p = name + 1; *p >= '0' && *p <= '9'; ++p) ordinal = (ordinal * 10 + unsigned(*p - '0')) & 0xFFFF;
    return MAKEINTRESOURCEA(ordinal);
}

// Modules of the system: a file of the same name beside the program must never be
// run in their place.
const char *const kSystemModules[] = {"kernel32", "user32",   "gdi32",   "advapi32", "mpr",      "shell32", "ole32",
                                      "oleaut32", "wininet",  "shlwapi", "comdlg32", "comctl32", "winmm"};

// The name without a ".dll" ending, in lower case.
std::string ModuleStem(const char *dll) {
    std::string stem(dll);
    for (char &c : stem) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".dll") == 0) stem.resize(stem.size() - 4);
    return stem;
}

bool IsSystemModule(const char *dll) {
    std::string stem = ModuleStem(dll);
    for (const char *name : kSystemModules)
        if (stem == name) return true;
    return false;
}

HMODULE LoadNamedLibrary(const RuntimeApp &app, const char *dll) {
    if (std::strchr(dll, ':')) return LoadLibraryA(dll);
    if (IsSystemModule(dll)) return LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    std::string candidates[] = {app.runDirectory + "\\" + dll,
                                app.moduleDirectory.empty() ? std::string() : app.moduleDirectory + dll, dll};
    for (const std::string &path : candidates)
        if (!path.empty())
            if (HMODULE m = LoadLibraryA(path.c_str())) return m;
    return nullptr;
}

struct Resolution {
    void *address = nullptr;
    HMODULE module = nullptr;
};

// Without a callee-popped stack the export's own argument count stands in for the
// stack-pointer comparison; -1 = not known, no check.
int ArgumentCountOf(const Resolution &r) {
#ifdef _WIN32
    (void)r;
    return -1;
#else
    return GetProcArgumentCount(r.module, reinterpret_cast<FARPROC>(r.address));
#endif
}

bool ArgumentsMatch(int exported, const uintptr_t *args, int32_t count) {
    if (count < 0 || size_t(count) > kMaxWordArguments || (count > 0 && !args)) return false;
    return exported < 0 || exported == count;
}

Resolution FromSystemLibraries(LPCSTR key) {
    for (const char *library : kSystemLibraries) {
        HMODULE m = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!m) continue;
        if (void *address = reinterpret_cast<void *>(GetProcAddress(m, key))) return {address, m};
        FreeLibrary(m);
    }
    return {};
}

Resolution FromNamedLibrary(const RuntimeApp &app, const char *dll, LPCSTR key) {
    HMODULE m = LoadNamedLibrary(app, dll);
    if (!m) return {};
    if (void *address = reinterpret_cast<void *>(GetProcAddress(m, key))) return {address, m};
    FreeLibrary(m);
    return {};
}

[[noreturn]] void ReportUnresolved(const char *dll, const char *name) {
    std::string message = dll && *dll ? ToGbk("无法找到指定DLL库文件“") + dll + ToGbk("”中的输出命令“") + name + ToGbk("”")
                                      : ToGbk("无法找到指定DLL库文件中的输出命令“") + name + ToGbk("”");
    ReportRuntimeError(message.c_str(), 0);
}

// The clean-up empties the tables while a job may still be calling: every use of them
// holds this lock, the clean-up alone. It is never held across a report or a call.
std::shared_mutex tablesLock;

struct Entry {
    bool known = false;
    void *address = nullptr;
    int exported = -1;
    const char *dll = nullptr;
    const char *name = "";
};

Entry ReadEntry(int32_t number) {
    std::shared_lock hold(tablesLock);
    const DeclaredFunctionTables &t = App().declared;
    if (number < 0 || size_t(number) >= t.addresses.size()) return {};
    auto i = size_t(number);
    return {true, t.addresses[i].load(), t.argumentCounts[i].load(), t.dllNames[i],
            t.functionNames[i] ? t.functionNames[i] : ""};
}

// The address now cached for `number`: `r`'s, or another thread's that came first (r's
// module is then released); null when the tables were emptied meanwhile.
void *Publish(int32_t number, const Resolution &r) {
    std::shared_lock hold(tablesLock);
    DeclaredFunctionTables &t = App().declared;
    if (size_t(number) >= t.addresses.size()) {
        FreeLibrary(r.module);
        return nullptr;
    }
    auto i = size_t(number);
    t.argumentCounts[i].store(ArgumentCountOf(r)); // published by the address below
    void *expected = nullptr;
    if (!t.addresses[i].compare_exchange_strong(expected, r.address)) {
        FreeLibrary(r.module);
        return expected;
    }
    t.modules[i].store(r.module);
    return r.address;
}

} // namespace

void *ResolveDeclaredFunction(int32_t number) {
    Entry e = ReadEntry(number);
    if (!e.known) ReportUnresolved(nullptr, ("#" + std::to_string(number)).c_str());
    if (e.address) return e.address;
    LPCSTR key = ExportKey(e.name);
    Resolution r = e.dll && *e.dll ? FromNamedLibrary(App(), e.dll, key) : FromSystemLibraries(key);
    if (!r.address) ReportUnresolved(e.dll, e.name);
    void *address = Publish(number, r);
    if (!address) ReportUnresolved(e.dll, e.name); // released meanwhile: the program is ending
    return address;
}

uint64_t CallDeclaredFunction(int32_t number, const uintptr_t *args, int32_t count) {
    void *address = ResolveDeclaredFunction(number);
    if (!ArgumentsMatch(ReadEntry(number).exported, args, count)) ReportRuntimeErrorNumber(kErrorStackAfterDllCall);
    bool stackKept = true;
    uint64_t result = CallWithWordsChecked(address, args, size_t(count), stackKept);
    if (!stackKept) ReportRuntimeErrorNumber(kErrorStackAfterDllCall);
    return result;
}

void ReleaseDeclaredFunctions() {
    std::unique_lock hold(tablesLock);
    DeclaredFunctionTables &t = App().declared;
    for (auto &m : t.modules)
        if (HMODULE module = m.exchange(nullptr)) FreeLibrary(module);
    t.dllNames.clear();
    t.functionNames.clear();
    t.addresses.clear();
    t.modules.clear();
    t.argumentCounts.clear();
}

} // namespace rt
