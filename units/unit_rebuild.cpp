#include "unit_rebuild.h"

#include <vector>

#include "runtime_app.h"
#include "window_loading.h"
#include "unit_thread_call.h"

namespace units {
namespace {

thread_local bool destroyingOld = false;

RECT RectInParent(HWND h, HWND parent) {
    RECT rc{};
    GetWindowRect(h, &rc);
    if (!parent) return rc;
    POINT a{rc.left, rc.top}, b{rc.right, rc.bottom};
    ScreenToClient(parent, &a);
    ScreenToClient(parent, &b);
    return {a.x, a.y, b.x, b.y};
}

std::string CurrentPropertyData(UnitRecord &r, fw::WindowObject *object) {
    auto serialize = Request<SerializeRoutine>(r.type, kRequestSerialize);
    if (!serialize) return r.propertyData;
    uint32_t size = 0;
    uint8_t *data = serialize(object, &size);
    if (!data) return r.propertyData;
    std::string bytes(reinterpret_cast<const char *>(data), size);
    delete[] data;
    return bytes;
}

void MoveChildren(HWND from, HWND to) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(from, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    for (HWND c : children) SetParent(c, to);
}

void Rebuild(Window &window, int position) {
    UnitRecord &r = window.units[size_t(position)].record;
    fw::WindowObject *old = LiveObject(r);
    HWND h = old ? old->Handle() : nullptr;
    uint32_t flags = TypeFlags(r.type);
    if (!h || !IsWindow(h) || (flags & kFlagNeverRebuilt)) return;
    auto create = Request<CreateUnitRoutine>(r.type, kRequestCreate);
    if (!create) return;
    std::string data = CurrentPropertyData(r, old);
    HWND parent = GetParent(h);
    RECT rc = RectInParent(h, parent);
    bool visible = IsWindowVisible(h), disabled = !IsWindowEnabled(h), focused = GetFocus() == h;
    CreateUnitArgs args{reinterpret_cast<const uint8_t *>(data.data()),
                        uint32_t(data.size()),
                        DWORD((disabled ? WS_DISABLED : 0) | ((r.state & kStateTabStop) ? WS_TABSTOP : 0)),
                        parent,
                        UINT_PTR(GetWindowLongPtrA(h, GWLP_ID)),
                        nullptr,
                        rc.left,
                        rc.top,
                        rc.right - rc.left,
                        rc.bottom - rc.top,
                        window.id,
                        window.units[size_t(position)].id,
                        {0, 0}};
    fw::WindowObject *created = create(args);
    if (!created) return;
    HWND fresh = created->Handle();
    r.propertyData = data;
    if (flags & kFlagMovesChildren) MoveChildren(h, fresh);
    r.liveObject = reinterpret_cast<uintptr_t>(created);
    SetWindowPos(fresh, h, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(fresh, kMessageUnitsCreated, 0, 0);
    SendMessageA(fresh, kMessageLoadFinished, 0, 0);
    if ((flags & kFlagDocked) && parent) SendMessageA(parent, kMessageWindowLoaded, 0, 0);
    if (visible) ShowWindow(fresh, SW_SHOWNA);
    destroyingOld = true;
    DestroyWindow(h);
    destroyingOld = false;
    if (focused) SetFocus(fresh);
}

} // namespace

bool RebuildDestroying() { return destroyingOld; }

void RebuildUnit(Window &window, int position) {
    HWND h = LiveHandle(window.units[size_t(position)].record);
    if (!h) return;
    rt::RuntimeApp &app = rt::App();
    ++app.eventSuppression;
    RunOnWindowThread(h, [&] { Rebuild(window, position); });
    int value = app.eventSuppression.load();
    while (value > 0 && !app.eventSuppression.compare_exchange_weak(value, value - 1)) {
    }
}

} // namespace units
