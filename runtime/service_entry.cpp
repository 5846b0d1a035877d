// The runtime service entry: every support library's door into the runtime.
#include <cstring>

#include <algorithm>
#include <mutex>

#include "gbk.h"
#include "icon_records.h"
#include "memory.h"
#include "ole_link.h"
#include "picture_data.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"
#include "sound_player.h"
#include "window_object.h"

namespace rt {
namespace {

constexpr const char *kDefaultIconName = "DEFAULT_ICON";

const DataTypeInfo *DataTypeOf(uint32_t code) {
    uint32_t library = code >> 16, type = code & 0xFFFF;
    RuntimeApp &app = App();
    if (library == 0 || library > app.libraries.size() || type == 0) return nullptr;
    const LibraryInfo *info = app.libraries[library - 1];
    if (!info || type > info->dataTypeCount || !info->dataTypes) return nullptr;
    return &info->dataTypes[type - 1];
}

int32_t ToInteger(const TypedValue &v) {
    switch (v.type) {
    case kTypeByte: return int32_t(uint8_t(v.low));
    case kTypeShortInteger: return int32_t(int16_t(v.low));
    case kTypeInteger:
    case kTypeLongInteger: return int32_t(v.low);
    case kTypeFloat:
    case kTypeDouble: {
        double d = v.type == kTypeFloat ? double(v.AsFloat()) : v.AsDouble();
        // Out of range (or NaN) gives the integer indefinite value, as the conversion instruction does.
        if (!(d > -2147483649.0 && d < 2147483648.0)) return INT32_MIN;
        return int32_t(d);
    }
    default: ReportRuntimeError(GbkLiteral("欲转换数据类型不是数值"), 0);
    }
}

intptr_t WritePath(const RuntimeApp &app, intptr_t which, char *buffer) {
    std::string path;
    if (which == 1 || which == 2001) path = app.runDirectory + "\\";
    else if (which == 2002) path = app.executableName;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return 0;
}

// The identifier of IUnknown, which the object type answers with.
void WriteObjectInterfaceId(uint8_t *out) {
    const uint8_t iid[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::memcpy(out, iid, 16);
}

intptr_t InterfaceIdOf(uint32_t type, uint8_t *out) {
    if (type == kTypeComObject) {
        WriteObjectInterfaceId(out);
        return 1;
    }
    RuntimeApp &app = App();
    uint32_t library = type >> 16;
    if (library == 0 || library > app.libraries.size()) return 0;
    const LibraryInfo *info = app.libraries[library - 1];
    if (!info || !info->notify) return 0;
    return info->notify(kNotifyTypeInterface, intptr_t(type & 0xFFFF) - 1, reinterpret_cast<intptr_t>(out)) == 1;
}

intptr_t DataTypeKind(uint32_t type) {
    const DataTypeInfo *info = DataTypeOf(type);
    if (!info) return 0;
    if (info->flags & 0x04) return 2;
    return (info->flags & 0x40) ? 1 : 0;
}

intptr_t RegisterIdle(RuntimeApp &app, const IdleCallback *entry) {
    std::lock_guard lock(app.idleLock);
    for (const IdleCallback &c : app.idleCallbacks)
        if (c.window == entry->window) return 0;
    app.idleCallbacks.push_back(*entry);
    return 0;
}

intptr_t UnregisterIdle(RuntimeApp &app, HWND window) {
    std::lock_guard lock(app.idleLock);
    auto &list = app.idleCallbacks;
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->window == window) {
            list.erase(it);
            break;
        }
    return 0;
}

intptr_t AttributeRegistry(RuntimeApp &app, int32_t code, intptr_t value, intptr_t attribute) {
    std::lock_guard lock(app.registryLock);
    auto &registry = app.attributeRegistry;
    auto it = registry.find(value);
    switch (code) {
    case kServiceRegistryQuery: return it == registry.end() ? -1 : it->second;
    case kServiceRegistryAdd:
        if (it == registry.end()) registry[value] = uint8_t(attribute);
        return 0;
    default:
        if (it == registry.end()) return 0;
        registry.erase(it);
        return 1;
    }
}

intptr_t IconRecords(RuntimeApp &app, int32_t code, void *record) {
    std::lock_guard lock(app.registryLock);
    auto &list = app.iconRecords;
    auto it = std::find(list.begin(), list.end(), record);
    switch (code) {
    case kServiceIconRecordAdd:
        if (it == list.end()) list.push_back(record);
        return 0;
    case kServiceIconRecordRemove:
        if (it == list.end()) return 0;
        list.erase(it);
        FreeIconRecord(record);
        return 1;
    default: return it != list.end();
    }
}

intptr_t FrameworkObjects(int32_t code, intptr_t p1, intptr_t p2) {
    auto *object = reinterpret_cast<fw::WindowObject *>(p1);
    switch (code) {
    case kServiceWindowObjectOfHandle:
        return p1 ? reinterpret_cast<intptr_t>(fw::WindowObject::FromHandlePermanent(reinterpret_cast<HWND>(p1))) : 0;
    case kServiceDestroyWindowObject: delete object; return 0;
    case kServiceDetachWindowObject: return object ? reinterpret_cast<intptr_t>(object->Detach()) : 0;
    // Asked by jobs too, about a unit whose window the window thread may be destroying.
    case kServiceHandleOfWindowObject: return reinterpret_cast<intptr_t>(fw::WindowObject::HandleOfObject(object));
    default: {
        auto *target = reinterpret_cast<fw::WindowObject *>(p2);
        HWND hwnd = reinterpret_cast<HWND>(p1);
        if (!target || target->Handle() || fw::WindowObject::FromHandlePermanent(hwnd)) return 0;
        return target->Attach(hwnd);
    }
    }
}

intptr_t WindowService(RuntimeApp &app, int32_t code, intptr_t p1, intptr_t p2) {
    return app.windowSet ? app.windowSet->service(code, p1, p2) : 0;
}

void ChangeSuppression(RuntimeApp &app, int delta) {
    ProcessWaitingMessages();
    if (delta > 0) {
        ++app.eventSuppression;
        return;
    }
    int count = app.eventSuppression.load();
    while (count > 0 && !app.eventSuppression.compare_exchange_weak(count, count - 1)) {
    }
}

// The program's default icon, large and small, loaded once from its resources and kept.
intptr_t DefaultIcon(intptr_t p1) {
    static std::mutex lock;
    std::lock_guard guard(lock);
    HICON(&icons)[2] = App().defaultIcons;
    HINSTANCE program = GetModuleHandleA(nullptr);
    const int sizes[2] = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)};
    for (int i = 0; i < 2; ++i)
        if (!icons[i]) icons[i] = static_cast<HICON>(LoadImageA(program, kDefaultIconName, IMAGE_ICON, sizes[i], sizes[i], 0));
    if (p1) std::memcpy(reinterpret_cast<void *>(p1), icons, sizeof icons);
    return reinterpret_cast<intptr_t>(icons[1]);
}

intptr_t PlaySound(intptr_t p1, int32_t mode) {
    const auto *sound = reinterpret_cast<const SoundData *>(p1);
    return sound && PlaySoundData(sound->bytes, sound->sizeBytes, mode) ? 1 : 0;
}

} // namespace

intptr_t RuntimeService(int32_t code, intptr_t p1, intptr_t p2) {
    RuntimeApp &app = App();
    switch (code) {
    case kServiceDefaultIcon: return DefaultIcon(p1);
    case kServicePictureToBitmap:
        return reinterpret_cast<intptr_t>(BitmapFromPictureData(reinterpret_cast<const void *>(p1), size_t(p2)));
    case kServiceBitmapToPicture: return reinterpret_cast<intptr_t>(PictureDataFromBitmap(reinterpret_cast<HBITMAP>(p1)));
    case kServicePlaySound: return PlaySound(p1, int32_t(p2));
    case kServiceStopSound: StopSoundData(); return 0;
    case kServiceNone2002:
    case kServiceNotifyObjects: return 0;
    case kServiceDataTypeInfo: return reinterpret_cast<intptr_t>(DataTypeOf(uint32_t(p1)));
    case kServiceConstant1: return 1;
    case kServiceConstant5: return 5;
    case kServicePath: return WritePath(app, p1, reinterpret_cast<char *>(p2));
    case kServiceWindowObjectOfHandle:
    case kServiceDestroyWindowObject:
    case kServiceDetachWindowObject:
    case kServiceHandleOfWindowObject:
    case kServiceAttachWindowObject: return FrameworkObjects(code, p1, p2);
    case kServiceRegisterIdle: return RegisterIdle(app, reinterpret_cast<const IdleCallback *>(p1));
    case kServiceUnregisterIdle: return UnregisterIdle(app, reinterpret_cast<HWND>(p1));
    case kServiceToInteger: return ToInteger(*reinterpret_cast<const TypedValue *>(p1));
    case kServiceRunDirectory: return reinterpret_cast<intptr_t>(app.runDirectory.c_str());
    case kServiceExecutableName: return reinterpret_cast<intptr_t>(app.executableName.c_str());
    case kServiceSuppressEvents: ChangeSuppression(app, +1); return 0;
    case kServiceResumeEvents: ChangeSuppression(app, -1); return 0;
    case kServiceRegistryQuery:
    case kServiceRegistryAdd:
    case kServiceRegistryRemove: return AttributeRegistry(app, code, p1, p2);
    case kServiceProcessMessages: ProcessWaitingMessages(); return 0;
    case kServiceIconRecordAdd:
    case kServiceIconRecordRemove:
    case kServiceIconRecordTest: return IconRecords(app, code, reinterpret_cast<void *>(p1));
    case kServiceFreeArray: FreeArray(uint32_t(p1), reinterpret_cast<void *>(p2)); return 0;
    case kServiceAllocate:
        return reinterpret_cast<intptr_t>(p2 ? AllocateMemoryPlain(size_t(p1)) : AllocateMemory(size_t(p1)));
    case kServiceFree: FreeMemory(reinterpret_cast<void *>(p1)); return 0;
    case kServiceReallocate: return reinterpret_cast<intptr_t>(ReallocateMemory(reinterpret_cast<void *>(p1), size_t(p2)));
    case kServiceReportError: ReportRuntimeError(reinterpret_cast<const char *>(p1), 0);
    case kServiceExit: ExitProgram(int32_t(p1));
    case kServiceDataTypeKind: return DataTypeKind(uint32_t(p1));
    case kServiceImageKind: return app.imageKind;
    case kServiceInterfaceId: return InterfaceIdOf(uint32_t(p1), reinterpret_cast<uint8_t *>(p2));
    case kServiceClearObject: return ClearObjectHolder(reinterpret_cast<void **>(p1));
    case kServiceWindowList:
    case kServiceIsUnitWindow:
    case kServiceUnitDestroyed:
    case kServiceLoadWindow:
    case kServiceUnitObject:
    case kServiceUnitObjectOrReport:
    case kServiceRaiseEvent:
    case kServiceEventSource:
    case kServiceUnitType:
    case kServiceRaiseTypedEvent:
    case kServiceWindowCount:
    case kServiceWindowHandleAt:
    case kServiceWindowSet2037:
    case kServiceWindowSet2038:
    case kServiceWindowSet2039:
    case kServiceWindowSet2040: return WindowService(app, code, p1, p2);
    default: return 0;
    }
}

} // namespace rt
