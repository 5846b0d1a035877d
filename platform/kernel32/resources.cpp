// Resources of the program module, from the tables the program registered. Other
// modules carry none. Names and string types compare without regard to case, as
// Win32 does; integer names compare by value.
#include <mutex>
#include <vector>

#include "program_resources.h"
#include "windows.h"

namespace {

struct Table {
    const SorvelProgramResource *resources;
    DWORD count;
};

std::mutex tablesLock;
std::vector<Table> &Tables() {
    static std::vector<Table> tables;
    return tables;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool SameId(LPCSTR a, LPCSTR b) {
    if (IS_INTRESOURCE(a) || IS_INTRESOURCE(b)) return a == b;
    for (; *a && Upper(*a) == Upper(*b); ++a, ++b) {
    }
    return Upper(*a) == Upper(*b);
}

bool IsProgramModule(HMODULE module) { return !module || module == GetModuleHandleA(nullptr); }

} // namespace

extern "C" BOOL WINAPI RegisterProgramResources(const SorvelProgramResource *resources, DWORD count) {
    if (!resources && count) return FALSE;
    std::lock_guard guard(tablesLock);
    Tables().push_back({resources, count});
    return TRUE;
}

extern "C" HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IsProgramModule(module)) {
        std::lock_guard guard(tablesLock);
        // HRSRC points into the program's own table, which lives as long as it does.
        for (const Table &t : Tables())
            for (const SorvelProgramResource *r = t.resources; r != t.resources + t.count; ++r)
                if (SameId(r->name, name) && SameId(r->type, type))
                    return reinterpret_cast<HRSRC>(const_cast<SorvelProgramResource *>(r));
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE, HRSRC info) {
    auto *r = reinterpret_cast<const SorvelProgramResource *>(info);
    return r ? const_cast<BYTE *>(r->data) : nullptr;
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

extern "C" DWORD WINAPI SizeofResource(HMODULE, HRSRC info) {
    auto *r = reinterpret_cast<const SorvelProgramResource *>(info);
    return r ? r->size : 0;
}

// Resources are never unloaded; Win32 answers FALSE as well.
extern "C" BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
