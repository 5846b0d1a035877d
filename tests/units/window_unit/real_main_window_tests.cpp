// The collector's own main window template built by the real unit types (with
// handlers that do nothing): its frame, its focus order and how it looks.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <cstring>
#include <mutex>

#include "MainWindowSet.h"
#include "image_data.h"
#include "libraries.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "window_host.h"
#include "window_list.h"
#include "window_loading.h"
#include "window_services.h"
#include "window_unit.h"

namespace {

constexpr uint32_t kMainWindow = 0x52019f78;

int Nothing(const uint64_t *, int32_t, uint64_t *) { return 0; }
const rt::EventRoutine kRoutines[6] = {Nothing, Nothing, Nothing, Nothing, Nothing, Nothing};
const rt::EventRoutineTable kTable = {6, kRoutines};

void Start() {
    static std::once_flag once;
    std::call_once(once, [] {
        static const rt::ImageHeader header = {3,
                                               0,
                                               0,
                                               reinterpret_cast<uintptr_t>(&kTable),
                                               image::ConstantArea,
                                               image::kConstantAreaSize,
                                               image::MainWindowSet,
                                               image::kMainWindowSetSize,
                                               image::kLibraryCount,
                                               image::LibraryPointers(),
                                               image::kDeclaredFunctionCount,
                                               image::DeclaredDllNames,
                                               image::DeclaredFunctionNames};
        static rt::RuntimeApp app(&header, nullptr, &units::WindowSetTable);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!rt::App().PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

} // namespace

TEST(RealMainWindow, LoadsWithItsFrameFocusOrderAndLooks) {
    Start();
    units::LoadWindowRequest request{kMainWindow, 0, 0, nullptr};
    ASSERT_EQ(rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0), 0);
    Pump();
    units::Window *window = units::FindWindow(kMainWindow);
    ASSERT_NE(window, nullptr);
    HWND h = units::WindowHandle(*window);
    DWORD style = DWORD(GetWindowLongA(h, GWL_STYLE));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.right - r.left, 589);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 589) / 2);

    // Result box, keyword box, start, status box, save, clear, select all: the labels,
    // the disabled page-count box and the never-shown dialog are left out.
    std::vector<uint32_t> order;
    for (int position : units::TabOrder(*window)) order.push_back(window->units[size_t(position)].id);
    EXPECT_EQ(order, (std::vector<uint32_t>{0x16019f79, 0x16019f7b, 0x16019f81, 0x16019f82, 0x16019f83,
                                            0x16019f84, 0x16019f85}));

    QImage image = platform::HostOf(h)->grab().toImage();
    image.save("/tmp/winunits_real_main.png");
    EXPECT_GT(image.width(), 500);
    DestroyWindow(h);
    Pump();
}

namespace {

// Property 7's public form: a byte set whose first word is the pointer number, a
// cursor file after it for number -1.
std::string PointerBlock(int32_t number, const std::string &file = "") {
    std::string bytes(reinterpret_cast<const char *>(&number), 4);
    bytes += file;
    uint32_t header[2] = {1, uint32_t(bytes.size())};
    return std::string(reinterpret_cast<const char *>(header), 8) + bytes;
}

// A 2x2 cursor file with its hot spot at (1, 1): one 32-bit DIB and its mask.
std::string CursorFile() {
    std::string dib(40, '\0');
    uint32_t fields[] = {40, 2, 4};
    std::memcpy(dib.data(), fields, sizeof fields);
    dib[12] = 1, dib[14] = 32;
    dib += std::string(16, '\x7f') + std::string(8, '\0');
    std::string head("\0\0\2\0\1\0\2\2\0\0\1\0\1\0", 14);
    uint32_t size = uint32_t(dib.size()), offset = 22;
    return head + std::string(reinterpret_cast<const char *>(&size), 4) + std::string(reinterpret_cast<const char *>(&offset), 4) + dib;
}

} // namespace

// The window unit answers WM_SETCURSOR for the unit under the mouse: its own pointer
// when it has one, else the box's class cursor, the I-beam.
TEST(RealMainWindow, EveryPointerKindShowsOverAnEditBox) {
    Start();
    constexpr uint32_t kResultBox = 0x16019f79;
    units::LoadWindowRequest request{kMainWindow, 0, 0, nullptr};
    ASSERT_EQ(rt::RuntimeService(rt::kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0), 0);
    auto *object = reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, kMainWindow, kResultBox));
    ASSERT_NE(object, nullptr);
    HWND box = GetWindow(object->Handle(), GW_CHILD) ? GetWindow(object->Handle(), GW_CHILD) : object->Handle();
    char kind[16] = {};
    GetClassNameA(box, kind, sizeof kind);
    ASSERT_STREQ(kind, "Edit");
    for (int32_t number = -1; number <= 14; ++number) {
        std::string block = PointerBlock(number, number == -1 ? CursorFile() : "");
        auto value = uint64_t(uintptr_t(block.data()));
        rt::RuntimeHelpers.writeUnitProperty(kMainWindow, kResultBox, 7, -1, uint32_t(value), uint32_t(value >> 32));
        SetCursor(nullptr);
        SendMessageA(box, WM_SETCURSOR, WPARAM(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        units::Window *w = units::FindWindow(kMainWindow);
        auto own = reinterpret_cast<HCURSOR>(w->units[size_t(units::FindUnit(*w, kResultBox))].record.cursor);
        ASSERT_TRUE(number == 0 || own) << number;
        EXPECT_EQ(GetCursor(), number == 0 ? LoadCursorA(nullptr, IDC_IBEAM) : own) << number;
    }
    DestroyWindow(units::WindowHandle(*units::FindWindow(kMainWindow)));
    Pump();
}
