// The collector's own main window template built by the real unit types (with
// handlers that do nothing): its frame, its focus order and how it looks.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

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
