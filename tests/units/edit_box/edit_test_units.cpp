#include "edit_test_units.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "common_dialog.h"
#include "core_library.h"
#include "core_unit_types.h"
#include "edit_box.h"
#include "EditWindows.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_services.h"
#include "window_set_reader.h"

namespace edittest {
namespace {

using namespace units;

constexpr char kWindowClass[] = "EditTestWindow";

// The window unit stand-in: a top-level window that reports its end to the runtime.
class TestWindow : public fw::WindowObject {
public:
    uint32_t windowId = 0;
    void PostNcDestroy() override {
        rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, 0);
        delete this;
    }
};

fw::WindowObject *CreateWindowUnit(const CreateUnitArgs &a) {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    auto *w = new TestWindow;
    w->windowId = a.windowId;
    HWND h = CreateWindowExA(0, kWindowClass, "", WS_OVERLAPPED | WS_CLIPCHILDREN, a.left, a.top, a.width, a.height,
                             a.parent, a.menu, nullptr, nullptr);
    if (!h || !w->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete w;
        return nullptr;
    }
    return w;
}

intptr_t WindowService(fw::WindowObject *object, int32_t service, intptr_t) {
    if (service == kWindowShowAfterLoad) ShowWindow(object->Handle(), SW_SHOW);
    return 1;
}

const void *WindowInterface(int32_t request) {
    if (request == kRequestCreate) return reinterpret_cast<const void *>(&CreateWindowUnit);
    if (request == kRequestWindowService) return reinterpret_cast<const void *>(&WindowService);
    return nullptr;
}

std::string SourceUnit() {
    uint32_t source[2] = {};
    rt::RuntimeService(rt::kServiceEventSource, reinterpret_cast<intptr_t>(source), 0);
    return Hex(source[1]);
}

int Changed(const uint64_t *, int32_t, uint64_t *) {
    Events().push_back("changed " + SourceUnit());
    return 0;
}
int Adjuster(const uint64_t *args, int32_t count, uint64_t *) {
    Events().push_back("adjuster " + SourceUnit() + " " + (count > 0 ? std::to_string(int32_t(args[0])) : "?"));
    return 0;
}
int Focus(const uint64_t *, int32_t, uint64_t *) {
    Events().push_back("focus " + SourceUnit());
    return 0;
}
int Lost(const uint64_t *, int32_t, uint64_t *) {
    Events().push_back("lost " + SourceUnit());
    return 0;
}

const EventRoutine kRoutines[] = {Changed, Adjuster, Focus, Lost};
const EventRoutineTable kRoutineTable = {4, kRoutines};

rt::DataTypeInfo coreTypes[51] = {};

rt::LibraryInfo Library() {
    CoreUnitInterfaces interfaces;
    interfaces.window = &WindowInterface;
    interfaces.editBox = EditBoxInterface();
    interfaces.commonDialog = CommonDialogInterface();
    FillCoreDataTypes(coreTypes, interfaces);
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.dataTypeCount = 51;
    info.dataTypes = coreTypes;
    info.notify = cmd::CoreLibraryNotify;
    return info;
}

alignas(8) const uint8_t kConstantArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};

} // namespace

std::vector<std::string> &Events() {
    static std::vector<std::string> events;
    return events;
}

int CountEvents(const std::string &line) { return int(std::count(Events().begin(), Events().end(), line)); }

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

void StartRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        static const rt::LibraryInfo library = Library();
        static const rt::LibraryInfo *const libraries[] = {&library};
        static const rt::ImageHeader image = {3, 0, 0, reinterpret_cast<uintptr_t>(&kRoutineTable), kConstantArea,
                                              sizeof kConstantArea, image::EditWindows, image::kEditWindowsSize, 1,
                                              libraries, 0, nullptr, nullptr};
        static rt::RuntimeApp app(&image, nullptr, &units::WindowSetTable);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

bool Load(uint32_t window) {
    LoadWindowRequest request{window, 0, 0, nullptr};
    bool loaded = rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0) == 0;
    Pump();
    return loaded;
}

void Close(uint32_t window) {
    if (fw::WindowObject *w = Object(window, 0)) DestroyWindow(w->Handle());
    Pump();
}

void Pump() {
    MSG msg;
    for (int idle = 0; idle < 3;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            idle = 0;
        } else ++idle;
    }
}

fw::WindowObject *Object(uint32_t window, uint32_t unit) {
    return reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
}

HWND Handle(uint32_t unit) {
    fw::WindowObject *o = Object(kMain, unit);
    return o ? o->Handle() : nullptr;
}

HWND EditOf(uint32_t unit) {
    auto *box = dynamic_cast<EditBoxUnit *>(Object(kMain, unit));
    return box ? box->edit : nullptr;
}

uint64_t Read(uint32_t unit, int32_t property) {
    return rt::RuntimeHelpers.readUnitProperty(kMain, unit, property, -1);
}

void Write(uint32_t unit, int32_t property, uint64_t value) {
    rt::RuntimeHelpers.writeUnitProperty(kMain, unit, property, -1, uint32_t(value), uint32_t(value >> 32));
}

std::string ReadText(uint32_t unit, int32_t property) {
    auto *text = reinterpret_cast<char *>(uintptr_t(Read(unit, property)));
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(text);
    return s;
}

void WriteText(uint32_t unit, int32_t property, const std::string &text) {
    Write(unit, property, uint64_t(uintptr_t(text.c_str())));
}

std::string Serialized(uint32_t unit) {
    fw::WindowObject *o = Object(kMain, unit);
    auto type = rt::RuntimeService(rt::kServiceUnitType, kMain, unit);
    auto serialize = Request<SerializeRoutine>(uint32_t(type), kRequestSerialize);
    uint32_t size = 0;
    uint8_t *data = serialize(o, &size);
    std::string bytes(reinterpret_cast<const char *>(data), size);
    delete[] data;
    return bytes;
}

} // namespace edittest
