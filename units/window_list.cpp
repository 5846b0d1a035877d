#include "window_list.h"

#include "runtime_interface.h"

namespace units {
namespace {

WindowList theList;

bool Contains(HWND ancestor, HWND hwnd) {
    for (HWND h = GetParent(hwnd); h; h = GetParent(h))
        if (h == ancestor) return true;
    return false;
}

int ScanUnits(const Window &window, HWND hwnd) {
    for (size_t i = 1; i < window.units.size(); ++i)
        if (LiveHandle(window.units[i].record) == hwnd) return int(i);
    for (size_t i = 1; i < window.units.size(); ++i) {
        const UnitRecord &r = window.units[i].record;
        HWND own = LiveHandle(r);
        if (own && (TypeFlags(r.type) & kFlagOwnsDescendants) == kFlagOwnsDescendants && Contains(own, hwnd))
            return int(i);
    }
    return -1;
}

} // namespace

WindowList &TheWindowList() { return theList; }

void InstallWindows(std::vector<WindowTemplate> templates) {
    theList.keys.clear();
    theList.windows.clear();
    for (WindowTemplate &t : templates) {
        auto w = std::make_unique<Window>();
        w->id = t.id;
        w->words[0] = t.words[0];
        w->words[1] = t.words[1];
        w->texts[0] = std::move(t.texts[0]);
        w->texts[1] = std::move(t.texts[1]);
        w->units = std::move(t.units);
        theList.keys.push_back(w->id);
        theList.windows.push_back(std::move(w));
    }
}

Window *FindWindow(uint32_t id) {
    const auto &keys = theList.keys;
    if (keys.empty()) return nullptr;
    if (keys[0] == id) return theList.windows[0].get();
    for (size_t i = 1; i < keys.size(); ++i)
        if (keys[i] == id) return theList.windows[i].get();
    return nullptr;
}

int FindUnit(const Window &window, uint32_t unitId) {
    const auto &u = window.units;
    if (u.empty()) return -1;
    if (unitId == 0 || u[0].id == unitId) return 0;
    for (size_t i = 1; i < u.size(); ++i)
        if (u[i].id == unitId) return int(i);
    return -1;
}

UnitRecord *UnitAt(Window &window, int position) {
    if (position < 0 || size_t(position) >= window.units.size()) return nullptr;
    return &window.units[size_t(position)].record;
}

int UnitOfHandle(const Window &window, HWND hwnd, bool tryParent) {
    if (!hwnd) return -1;
    int found = ScanUnits(window, hwnd);
    if (found < 0 && tryParent && GetParent(hwnd)) found = ScanUnits(window, GetParent(hwnd));
    return found;
}

bool FindUnitOfHandle(HWND hwnd, Window *&window, int &position) {
    for (auto &w : theList.windows) {
        if (!w->loaded && !w->modalRunning && !IsLive(w->units[0].record)) continue;
        if (WindowHandle(*w) == hwnd) {
            window = w.get();
            position = 0;
            return true;
        }
        int p = UnitOfHandle(*w, hwnd, false);
        if (p >= 0) {
            window = w.get();
            position = p;
            return true;
        }
    }
    return false;
}

const rt::DataTypeInfo *TypeInfo(uint32_t typeCode) {
    return reinterpret_cast<const rt::DataTypeInfo *>(rt::RuntimeService(rt::kServiceDataTypeInfo, typeCode, 0));
}

uint32_t TypeFlags(uint32_t typeCode) {
    const rt::DataTypeInfo *info = TypeInfo(typeCode);
    return info ? info->flags : 0;
}

UnitInterface InterfaceOf(uint32_t typeCode) {
    const rt::DataTypeInfo *info = TypeInfo(typeCode);
    return info ? reinterpret_cast<UnitInterface>(const_cast<void *>(info->unitInterface)) : nullptr;
}

fw::WindowObject *LiveObject(const UnitRecord &record) {
    return reinterpret_cast<fw::WindowObject *>(record.liveObject);
}

HWND LiveHandle(const UnitRecord &record) {
    fw::WindowObject *object = LiveObject(record);
    return object ? object->Handle() : nullptr;
}

bool IsLive(const UnitRecord &record) {
    HWND h = LiveHandle(record);
    return h && IsWindow(h);
}

HWND WindowHandle(const Window &window) {
    return window.units.empty() ? nullptr : LiveHandle(window.units[0].record);
}

} // namespace units
