// Accelerator tables: a key-down that matches an entry becomes WM_COMMAND (1 in the
// high word) sent to the window.
#include <mutex>
#include <set>
#include <vector>

#include "windows.h"

namespace {

struct AcceleratorTable {
    std::vector<ACCEL> entries;
};

std::mutex tablesLock;
std::set<AcceleratorTable *> &Tables() {
    static auto *tables = new std::set<AcceleratorTable *>;
    return *tables;
}

AcceleratorTable *TableOf(HACCEL handle) {
    std::lock_guard lock(tablesLock);
    auto *t = reinterpret_cast<AcceleratorTable *>(handle);
    return Tables().count(t) ? t : nullptr;
}

bool Matches(const ACCEL &a, const MSG &m) {
    bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    bool alt = (m.message == WM_SYSKEYDOWN || m.message == WM_SYSCHAR) && (m.lParam & (1 << 29));
    if (a.fVirt & FVIRTKEY) {
        if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
        if (a.key != m.wParam) return false;
        return bool(a.fVirt & FSHIFT) == shift && bool(a.fVirt & FCONTROL) == control && bool(a.fVirt & FALT) == alt;
    }
    if (m.message != WM_CHAR && m.message != WM_SYSCHAR) return false;
    return a.key == m.wParam && bool(a.fVirt & FALT) == alt;
}

} // namespace

extern "C" HACCEL WINAPI CreateAcceleratorTableA(LPACCEL entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto *table = new AcceleratorTable{std::vector<ACCEL>(entries, entries + count)};
    std::lock_guard lock(tablesLock);
    Tables().insert(table);
    return reinterpret_cast<HACCEL>(table);
}

extern "C" BOOL WINAPI DestroyAcceleratorTable(HACCEL handle) {
    AcceleratorTable *table = TableOf(handle);
    if (!table) return FALSE;
    {
        std::lock_guard lock(tablesLock);
        Tables().erase(table);
    }
    delete table;
    return TRUE;
}

extern "C" int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL handle, LPMSG msg) {
    AcceleratorTable *table = TableOf(handle);
    if (!table) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!msg || !IsWindow(hwnd)) return 0;
    for (const ACCEL &a : table->entries) {
        if (!Matches(a, *msg)) continue;
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
