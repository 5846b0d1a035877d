#include "winunit_image.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "button_unit.h"
#include "core_unit_types.h"
#include "image.h"
#include "label_unit.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "WinUnitWindows.h"
#include "window_loading.h"
#include "window_services.h"
#include "window_set_reader.h"
#include "window_unit.h"

namespace winunit_test {
namespace {

int Record(const uint64_t *, int32_t, uint64_t *) {
    uint32_t source[2] = {};
    rt::RuntimeService(rt::kServiceEventSource, reinterpret_cast<intptr_t>(source), 0);
    Calls().push_back(Hex(source[1]));
    return 0;
}

int ReturnZero(const uint64_t *, int32_t, uint64_t *result) {
    *result = 0;
    return 1;
}

int ReturnNothing(const uint64_t *, int32_t, uint64_t *) { return 0; }

int ReturnOne(const uint64_t *, int32_t, uint64_t *result) {
    *result = 1;
    return 1;
}

int CloseVerdict(const uint64_t *, int32_t, uint64_t *result) {
    Calls().push_back("close");
    if (closeAnswer < 0) return 0;
    *result = uint64_t(closeAnswer);
    return 1;
}

template <int N> int Named(const uint64_t *, int32_t, uint64_t *) {
    static const char *const names[] = {"activated", "deactivated", "first activation", "shown", "hidden"};
    Calls().push_back(names[N]);
    return 0;
}

// The notification-area icon's action.
int TrayAction(const uint64_t *args, int32_t count, uint64_t *) {
    Calls().push_back("tray " + std::to_string(count > 0 ? int32_t(args[0]) : -1));
    return 0;
}

const units::EventRoutine kRoutines[] = {Record,   ReturnZero, ReturnNothing, ReturnOne, CloseVerdict,
                                         Named<0>, Named<1>,   Named<2>,      Named<3>,  Named<4>,
                                         TrayAction};
const units::EventRoutineTable kRoutineTable = {11, kRoutines};

rt::DataTypeInfo coreTypes[51] = {};

rt::LibraryInfo Library() {
    units::CoreUnitInterfaces interfaces;
    interfaces.window = units::WindowUnitInterface;
    interfaces.label = units::LabelUnitInterface;
    interfaces.button = units::ButtonUnitInterface;
    units::FillCoreDataTypes(coreTypes, interfaces);
    // An option type for the arrow keys: a button that belongs to an option group.
    coreTypes[kOptionType - 0x10001] = coreTypes[units::kTypeButton - 0x10001];
    coreTypes[kOptionType - 0x10001].flags |= units::kFlagOption;
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.dataTypeCount = 51;
    info.dataTypes = coreTypes;
    return info;
}

alignas(8) const uint8_t kConstantArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const rt::LibraryInfo library = Library();
const rt::LibraryInfo *const libraries[] = {&library};
const rt::ImageHeader image = {3, 0, 0, reinterpret_cast<uintptr_t>(&kRoutineTable), kConstantArea,
                               sizeof kConstantArea, image::WinUnitWindows, image::kWinUnitWindowsSize, 1, libraries,
                               0, nullptr, nullptr};

} // namespace

int closeAnswer = -1;

std::vector<std::string> &Calls() {
    static std::vector<std::string> calls;
    return calls;
}

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

void StartRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        static rt::RuntimeApp app(&image, nullptr, &units::WindowSetTable);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

intptr_t Load(uint32_t window) {
    units::LoadWindowRequest request{window, 0, 0, nullptr};
    return rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0);
}

HWND HandleOf(uint32_t window, uint32_t unit) {
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
    return object ? object->Handle() : nullptr;
}

bool Pump() {
    bool quit = false;
    MSG msg;
    for (int idle = 0; idle < 3;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ++idle;
            continue;
        }
        idle = 0;
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (!rt::App().PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return quit;
}

void CloseAll() {
    for (uint32_t w : {kMain, kSecond, kPictureWindow, kEnterWindow, kDefaults, kOptions})
        if (HWND h = HandleOf(w); h && IsWindow(h)) DestroyWindow(h);
    Pump();
}

} // namespace winunit_test
