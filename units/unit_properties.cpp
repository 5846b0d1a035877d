#include "unit_properties.h"

#include <algorithm>
#include <cstring>

#include "font_properties.h"
#include "gbk.h"
#include "mouse_pointer.h"
#include "property_values.h"
#include "runtime_error.h"
#include "unit_rebuild.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_menu.h"

namespace units {
namespace {

constexpr uint32_t kMenuChecked = 0x4, kMenuDisabled = 0x2, kMenuHidden = 0x1;

Window &WindowOrReport(uint32_t id) {
    Window *window = FindWindow(id);
    if (!window) rt::ReportRuntimeError(rt::GbkLiteral("未载入欲访问窗口组件所在的窗口"), 0);
    return *window;
}

[[noreturn]] void ReportNotLoaded() { rt::ReportRuntimeError(rt::GbkLiteral("指定窗口尚未载入"), 0); }

const PropertyInfo *InfoOf(const UnitRecord &r, int32_t property) {
    const rt::DataTypeInfo *info = TypeInfo(r.type);
    if (!info || !info->properties || property < 0 || uint32_t(property) >= info->propertyCount) return nullptr;
    return &info->properties[property];
}

bool IsPopup(HWND h) { return !(GetWindowLongA(h, GWL_STYLE) & WS_CHILD); }

RECT LiveRect(HWND h) {
    RECT rc{};
    GetWindowRect(h, &rc);
    HWND parent = GetParent(h);
    if (parent && !IsPopup(h)) {
        POINT a{rc.left, rc.top}, b{rc.right, rc.bottom};
        ScreenToClient(parent, &a);
        ScreenToClient(parent, &b);
        rc = {a.x, a.y, b.x, b.y};
    }
    return rc;
}

uint64_t ReadCommon(const UnitRecord &r, int32_t property) {
    bool live = IsLive(r);
    HWND h = LiveHandle(r);
    RECT rc = live ? LiveRect(h) : RECT{};
    switch (property) {
    case 0: return uint32_t(live ? rc.left : r.left);
    case 1: return uint32_t(live ? rc.top : r.top);
    case 2: return uint32_t(live ? rc.right - rc.left : r.width);
    case 3: return uint32_t(live ? rc.bottom - rc.top : r.height);
    case 4: return NewTextValue(r.tag);
    case 5: return live ? IsWindowVisible(h) != FALSE : (r.state & kStateVisible) != 0;
    case 6: return live ? !IsWindowEnabled(h) : (r.state & kStateDisabled) != 0;
    default: return NewByteSetValue(PointerDataToPublic(r.pointerData));
    }
}

uint64_t ReadMenuItem(const UnitRecord &r, int32_t property) {
    switch (property) {
    case 0: return NewTextValue(r.caption);
    case 1: return (r.state & kMenuChecked) != 0;
    case 2: return (r.state & kMenuDisabled) != 0;
    case 3: return (r.state & kMenuHidden) == 0;
    default: return 0;
    }
}

// The unit's font, or the default GUI font when it has none.
LOGFONTA CurrentFont(const UnitRecord &r, int32_t property) {
    auto read = Request<ReadPropertyRoutine>(r.type, kRequestReadProperty);
    PropertyValue value{0, 0};
    if (!read || !read(LiveObject(r), property - 8, &value)) value = {0, 0};
    return FontOf(reinterpret_cast<const void *>(value.first), value.second);
}

uint64_t ReadSpecific(const UnitRecord &r, const PropertyInfo &info, int32_t property, int32_t index) {
    if (!IsLive(r)) ReportNotLoaded();
    if (info.valueType == kValueFont) return ReadFontPart(CurrentFont(r, property), index);
    auto read = Request<ReadPropertyRoutine>(r.type, kRequestReadProperty);
    PropertyValue value{0, 0};
    if (!read || !read(LiveObject(r), property - 8, &value)) return 0;
    return ValueFromRecord(info.valueType, value);
}

void SetFlag(uint32_t &state, uint32_t bit, bool on) { state = on ? (state | bit) : (state & ~bit); }

void WriteMenuItem(Window &window, UnitRecord &r, int32_t property, uint32_t low, uint32_t high) {
    uint32_t before = r.state;
    if (property == 0) {
        const char *text = TextOfValue(low, high);
        std::string caption = text ? text : "";
        if (caption == r.caption) return;
        r.caption = caption;
    } else if (property == 1) SetFlag(r.state, kMenuChecked, low != 0);
    else if (property == 2) SetFlag(r.state, kMenuDisabled, low != 0);
    else if (property == 3) SetFlag(r.state, kMenuHidden, low == 0);
    else return;
    if (property != 0 && r.state == before) return;
    RefreshMenu(window);
}

void MoveLive(HWND h, int32_t left, int32_t top, bool setLeft) {
    RECT rc = LiveRect(h);
    int x = setLeft ? left : rc.left, y = setLeft ? rc.top : top;
    MoveWindow(h, x, y, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void ResizeLive(HWND h, int32_t width, int32_t height, bool setWidth) {
    RECT rc = LiveRect(h);
    int w = setWidth ? width : rc.right - rc.left, ht = setWidth ? rc.bottom - rc.top : height;
    SetWindowPos(h, nullptr, 0, 0, w, ht, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WriteVisible(Window &window, int position, bool visible) {
    UnitRecord &r = window.units[size_t(position)].record;
    SetFlag(r.state, kStateVisible, visible);
    if (!IsLive(r)) return;
    HWND h = LiveHandle(r);
    if (!visible) {
        ShowWindow(h, SW_HIDE);
        return;
    }
    if (position == 0) {
        if (window.shown) ShowWindow(h, SW_SHOW);
        else {
            ShowAfterLoad(window, false);
            StartWindow(window);
        }
        return;
    }
    if (!(TypeFlags(r.type) & kFlagNeverShown) && !OnHiddenPage(window, position)) ShowWindow(h, SW_SHOW);
}

// A unit that is not live only keeps the data: its cursor is made when it is created,
// so no record outside a load holds a cursor that a later clean-up could miss.
void WritePointer(UnitRecord &r, uint32_t low, uint32_t high) {
    if (r.cursor) DestroyCursor(reinterpret_cast<HCURSOR>(r.cursor));
    r.cursor = 0;
    r.pointerData = PointerDataToStored(BytesOfValue(low, high));
    if (!IsLive(r)) return;
    r.cursor = reinterpret_cast<uintptr_t>(MakeCursor(r.pointerData));
    POINT at{};
    GetCursorPos(&at);
    SetCursorPos(at.x, at.y);
}

void WriteCommon(Window &window, int position, int32_t property, uint32_t low, uint32_t high) {
    UnitRecord &r = window.units[size_t(position)].record;
    int32_t v = int32_t(low);
    HWND h = IsLive(r) ? LiveHandle(r) : nullptr;
    switch (property) {
    case 0:
    case 1:
        v = std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
        (property == 0 ? r.left : r.top) = v;
        if (h) MoveLive(h, v, v, property == 0);
        return;
    case 2:
    case 3:
        v = std::clamp(v, 0, kCoordinateLimit);
        (property == 2 ? r.width : r.height) = v;
        if (h) ResizeLive(h, v, v, property == 2);
        return;
    case 4: {
        const char *text = TextOfValue(low, high);
        r.tag = text ? text : "";
        return;
    }
    case 5: WriteVisible(window, position, low != 0); return;
    case 6:
        SetFlag(r.state, kStateDisabled, low != 0);
        if (h) EnableWindow(h, low == 0);
        return;
    default: WritePointer(r, low, high);
    }
}

void WriteSpecific(Window &window, int position, const PropertyInfo &info, int32_t property, int32_t index,
                   uint32_t low, uint32_t high) {
    UnitRecord &r = window.units[size_t(position)].record;
    if (!IsLive(r)) ReportNotLoaded();
    auto write = Request<WritePropertyRoutine>(r.type, kRequestWriteProperty);
    if (!write) return;
    std::string storage;
    LOGFONTA font{};
    PropertyValue value{0, 0};
    if (info.valueType == kValueFont) {
        font = CurrentFont(r, property);
        if (!WriteFontPart(font, index, low, high)) return;
        value = {reinterpret_cast<uintptr_t>(&font), sizeof font};
    } else value = RecordFromValue(info.valueType, low, high, storage);
    uint32_t output = 0;
    if (write(LiveObject(r), property - 8, &value, &output) == 1 && IsLive(r)) RebuildUnit(window, position);
}

} // namespace

uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t index) {
    Window &window = WindowOrReport(windowId);
    UnitRecord *r = UnitAt(window, FindUnit(window, unitId));
    if (!r) return 0;
    if (r->IsMenuItem()) return ReadMenuItem(*r, property);
    const PropertyInfo *info = InfoOf(*r, property);
    if (property >= 8) {
        if (!IsLive(*r)) ReportNotLoaded();
        return info ? ReadSpecific(*r, *info, property, index) : 0;
    }
    return property >= 0 ? ReadCommon(*r, property) : 0;
}

void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t index, uint32_t low,
                   uint32_t high) {
    Window &window = WindowOrReport(windowId);
    int position = FindUnit(window, unitId);
    UnitRecord *r = UnitAt(window, position);
    if (!r) return;
    if (r->IsMenuItem()) return WriteMenuItem(window, *r, property, low, high);
    if (property >= 8) {
        if (!IsLive(*r)) ReportNotLoaded();
        if (const PropertyInfo *info = InfoOf(*r, property)) WriteSpecific(window, position, *info, property, index, low, high);
        return;
    }
    if (property >= 0) WriteCommon(window, position, property, low, high);
}

namespace {

// The window and unit identifiers of a unit value whose unit has this type.
bool UnitOfType(uint32_t type, uintptr_t object, uint32_t (&ids)[2]) {
    if (!object) return false;
    std::memcpy(ids, reinterpret_cast<const void *>(object), sizeof ids);
    Window *window = FindWindow(ids[0]);
    int position = window ? FindUnit(*window, ids[1]) : -1;
    return position >= 0 && window->units[size_t(position)].record.type == type;
}

} // namespace

uint64_t ReadObjectProperty(uint32_t type, uintptr_t object, int32_t property, int32_t index) {
    uint32_t ids[2];
    return UnitOfType(type, object, ids) ? ReadProperty(ids[0], ids[1], property, index) : 0;
}

void WriteObjectProperty(uint32_t type, uintptr_t object, int32_t property, int32_t index, uint32_t low,
                         uint32_t high) {
    uint32_t ids[2];
    if (UnitOfType(type, object, ids)) WriteProperty(ids[0], ids[1], property, index, low, high);
}

} // namespace units
