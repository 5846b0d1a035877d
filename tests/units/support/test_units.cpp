#include "test_units.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "event_dispatch.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "TestWindows.h"
#include "unit_interface.h"
#include "window_loading.h"
#include "window_services.h"
#include "window_set_reader.h"

namespace testunits {
namespace {

using namespace units;

constexpr char kClass[] = "SorvelTestUnit";
constexpr uint32_t kMaxVersion = 1;
int calls[5] = {};

void Note(const std::string &line) { Log().push_back(line); }

// Data: version, then from version 1 a counted caption.
bool ReadData(const uint8_t *data, uint32_t size, TestUnit &unit) {
    if (!data || size == 0) return true;
    if (size < 4) return false;
    uint32_t version;
    std::memcpy(&version, data, 4);
    if (version > kMaxVersion) return false;
    if (version == 0) return true;
    uint32_t length;
    if (size < 8) return false;
    std::memcpy(&length, data + 4, 4);
    if (length > size - 8) return false;
    unit.caption.assign(reinterpret_cast<const char *>(data + 8), length);
    return true;
}

void RegisterClassOnce() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
}

fw::WindowObject *Create(const CreateUnitArgs &a, bool isWindow) {
    RegisterClassOnce();
    auto *unit = new TestUnit;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    unit->isWindow = isWindow;
    if (!ReadData(a.propertyData, a.propertyDataSize, *unit)) {
        delete unit;
        return nullptr;
    }
    DWORD style = a.extraStyle | (isWindow ? (a.parent ? WS_POPUP : WS_OVERLAPPED) : WS_CHILD);
    HWND h = CreateWindowExA(0, kClass, unit->caption.c_str(), style, a.left, a.top, a.width, a.height, a.parent,
                             isWindow ? a.menu : reinterpret_cast<HMENU>(a.controlId), nullptr, nullptr);
    if (!h || !unit->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete unit;
        return nullptr;
    }
    Note("created " + Hex(a.unitId) + " id " + std::to_string(a.controlId));
    // A focus event while the window loads reaches no handler.
    Raise(a.windowId, a.unitId, -7);
    return unit;
}

fw::WindowObject *CreateWindowUnit(const CreateUnitArgs &a) { return Create(a, true); }
fw::WindowObject *CreateControl(const CreateUnitArgs &a) { return Create(a, false); }

int WriteControl(fw::WindowObject *object, int32_t property, const PropertyValue *value, uint32_t *) {
    auto *unit = static_cast<TestUnit *>(object);
    if (property == 0) unit->caption = value->first ? reinterpret_cast<const char *>(value->first) : "";
    if (property == 1) unit->number = int32_t(value->first);
    if (property == 2) unit->font.assign(reinterpret_cast<const char *>(value->first), value->second);
    return property == 1; // the number needs a new window
}

int ReadControl(fw::WindowObject *object, int32_t property, PropertyValue *value) {
    auto *unit = static_cast<TestUnit *>(object);
    if (property == 0) *value = {reinterpret_cast<uintptr_t>(unit->caption.c_str()), 0};
    else if (property == 1) *value = {uint32_t(unit->number), 0};
    else if (property == 2) *value = {reinterpret_cast<uintptr_t>(unit->font.data()), unit->font.size()};
    else return 0;
    return 1;
}

uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    auto *unit = static_cast<TestUnit *>(object);
    *size = uint32_t(8 + unit->caption.size());
    auto *data = new uint8_t[*size];
    uint32_t words[2] = {1, uint32_t(unit->caption.size())};
    std::memcpy(data, words, 8);
    std::memcpy(data + 8, unit->caption.data(), unit->caption.size());
    return data;
}

intptr_t WindowService(fw::WindowObject *object, int32_t service, intptr_t reload) {
    if (service != kWindowShowAfterLoad) return 0;
    ShowWindow(object->Handle(), SW_SHOW);
    Note(std::string("shown") + (reload ? " on reload" : ""));
    return 1;
}

const void *WindowInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&CreateWindowUnit);
    case kRequestWindowService: return reinterpret_cast<const void *>(&WindowService);
    default: return nullptr;
    }
}

const void *ControlInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&CreateControl);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&WriteControl);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&ReadControl);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    default: return nullptr;
    }
}

const PropertyInfo kControlProperties[] = {
    {nullptr, nullptr, nullptr, kValuePixels, 0xe000, nullptr},  {nullptr, nullptr, nullptr, kValuePixels, 0xe000, nullptr},
    {nullptr, nullptr, nullptr, kValuePixels, 0xe000, nullptr},  {nullptr, nullptr, nullptr, kValuePixels, 0xe000, nullptr},
    {nullptr, nullptr, nullptr, kValueText, 0xe000, nullptr},    {nullptr, nullptr, nullptr, kValueLogical, 0xe000, nullptr},
    {nullptr, nullptr, nullptr, kValueLogical, 0xe000, nullptr}, {nullptr, nullptr, nullptr, kValuePointer, 0xe000, nullptr},
    {nullptr, nullptr, nullptr, kValueText, 0x8000, nullptr},    {nullptr, nullptr, nullptr, kValuePixels, 0x8000, nullptr},
    {nullptr, nullptr, nullptr, kValueFont, 0x8000, nullptr},
};

rt::DataTypeInfo Type(uint32_t flags, UnitInterface iface, bool properties) {
    rt::DataTypeInfo info{};
    info.flags = flags;
    info.unitInterface = reinterpret_cast<const void *>(iface);
    if (properties) {
        info.propertyCount = 11;
        info.properties = kControlProperties;
    }
    return info;
}

const rt::DataTypeInfo kTypes[6] = {
    Type(0x800000d0, WindowInterface, true),  Type(0x80000040, ControlInterface, true),
    Type(0x80000004, nullptr, false),         Type(0x80008040, ControlInterface, true),
    Type(0x80000040, nullptr, false),         Type(0x80000000, ControlInterface, true),
};

rt::LibraryInfo Library() {
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.dataTypeCount = 6;
    info.dataTypes = kTypes;
    return info;
}

int Record(const uint64_t *args, int32_t count, uint64_t *) {
    ++calls[0];
    uint32_t source[2] = {};
    rt::RuntimeService(rt::kServiceEventSource, reinterpret_cast<intptr_t>(source), 0);
    std::string line = "handler 0 from " + Hex(source[1]) + ":";
    for (int32_t i = 0; i < count; ++i) line += " " + std::to_string(args[i]);
    Note(line);
    return 0;
}

int ReturnZero(const uint64_t *, int32_t, uint64_t *result) {
    ++calls[1];
    *result = 0;
    return 1;
}

int ReturnZ(const uint64_t *, int32_t, uint64_t *result) {
    ++calls[2];
    *result = 'Z';
    return 1;
}

int CloseCurrentWindow(const uint64_t *, int32_t, uint64_t *) {
    ++calls[3];
    uint32_t source[2] = {};
    rt::RuntimeService(rt::kServiceEventSource, reinterpret_cast<intptr_t>(source), 0);
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, source[0], 0));
    if (object) PostMessageA(object->Handle(), WM_CLOSE, 0, 0);
    return 0;
}

int ReturnNothing(const uint64_t *, int32_t, uint64_t *) {
    ++calls[4];
    return 0;
}

const EventRoutine kRoutines[] = {Record, ReturnZero, ReturnZ, CloseCurrentWindow, ReturnNothing};
const EventRoutineTable kRoutineTable = {5, kRoutines};

alignas(8) const uint8_t kConstantArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const rt::LibraryInfo library = Library();
const rt::LibraryInfo *const libraries[] = {&library};
const rt::ImageHeader image = {3, 0, 0, reinterpret_cast<uintptr_t>(&kRoutineTable), kConstantArea,
                               sizeof kConstantArea, image::TestWindows, image::kTestWindowsSize, 1, libraries, 0,
                               nullptr, nullptr};

} // namespace

void (*onClose)(uint32_t unitId) = nullptr;
bool traceDestroy = false;

LRESULT TestUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && onClose) onClose(unitId);
    if (message == kMessageUnitsCreated || message == kMessageWindowLoaded || message == kMessageLoadFinished) {
        char line[64];
        std::snprintf(line, sizeof line, "message %X to %s", message, Hex(unitId).c_str());
        Note(line);
    }
    return Default(message, wParam, lParam);
}

void TestUnit::PostNcDestroy() {
    if (traceDestroy) std::fprintf(stderr, "destroyed %08x; ", unitId); // one line: death-message patterns do not cross lines everywhere
    rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, isWindow ? 0 : unitId);
    delete this;
}

std::vector<std::string> &Log() {
    static std::vector<std::string> log;
    return log;
}

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

void StartUnitsRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        static rt::RuntimeApp app(&image, nullptr, &units::WindowSetTable);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

int HandlerCalls(int handler) { return calls[handler]; }

} // namespace testunits
