#include "tool_harness.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <thread>

#include "gbk.h"
#include "main_window_units.h"
#include "mock_process.h"
#include "qt_host.h"
#include "runtime_app.h"
#include "runtime_interface.h"

extern const rt::ImageHeader ApplicationImageHeader;
extern const rt::WindowSetOperations *const ApplicationWindowSet;
int ApplicationEntry();

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char *kScenarioVariable = "SORVEL_E2E_SCENARIO";
constexpr int kScenarioSeconds = 240;

std::string mockHost;

// Asked on the window thread only: the start-up fills the window list there.
bool MainWindowShown() {
    auto window = reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0));
    // The result box is the last unit created, the start button the last one bound.
    return window && IsWindowVisible(window) && UnitWindow(app::kResultBox) && UnitWindow(app::kStartButton);
}

// Looks at each turn of the window thread's pump until the main window is shown, then
// tells the driver once; the driver touches nothing of the tool before that.
void WatchForTheMainWindow(const std::shared_ptr<std::promise<void>> &shown) {
    if (MainWindowShown()) return shown->set_value();
    QTimer::singleShot(20, [shown] { WatchForTheMainWindow(shown); });
}

// The program's exit code ends the process, as it does when the tool is started.
[[noreturn]] void RunTool(Drive drive, const std::vector<std::string> &mockSwitches) {
    auto mock = std::make_unique<mock_test::MockProcess>(mockSwitches);
    mockHost = "127.0.0.1:" + std::to_string(mock->Port());
    setenv("SORVEL_HOST", mockHost.c_str(), 1);
    static rt::RuntimeApp app(&ApplicationImageHeader, &ApplicationEntry, ApplicationWindowSet);
    auto shown = std::make_shared<std::promise<void>>();
    std::future<void> started = shown->get_future();
    platform::GuiApplication(); // the watch needs the window thread's event loop
    WatchForTheMainWindow(shown);
    std::thread driver([&mock, drive, started = std::move(started)] {
        if (started.wait_for(std::chrono::seconds(20)) == std::future_status::ready) drive();
        else Verdict(false, "the main window did not open");
        mock.reset();
        PostMessageA(reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0)), WM_CLOSE, 0, 0);
    });
    driver.detach();
    ExitProcess(UINT(fw::FrameworkMain()));
}

std::string FileText(const fs::path &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string CurrentTestName() {
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(test->test_suite_name()) + "." + test->name();
}

// A hard link where the file system allows one: the sanitizer build is large.
void PlaceProgram(const fs::path &program, const fs::path &copy) {
    std::error_code error;
    fs::create_hard_link(program, copy, error);
    if (error) fs::copy_file(program, copy);
}

}  // namespace

void ExpectToolScenario(Drive drive, std::vector<std::string> mockSwitches,
                        const std::vector<std::string> &foreignModules) {
    if (std::getenv(kScenarioVariable)) RunTool(drive, mockSwitches);
    std::string name = CurrentTestName();
    std::string directoryName = name + "-" + std::to_string(getpid());
    for (char &c : directoryName)
        if (c == '/') c = '-';
    fs::path program = fs::read_symlink("/proc/self/exe");
    fs::path directory = program.parent_path() / "runs" / directoryName;
    fs::remove_all(directory);
    fs::create_directories(directory);
    PlaceProgram(program, directory / program.filename());
    for (const std::string &name : foreignModules)
        fs::copy_file(program.parent_path() / "declared_probe.dll", directory / name);
    std::string command = "cd '" + directory.string() + "' && " + kScenarioVariable + "=1 timeout " +
                          std::to_string(kScenarioSeconds) + " ./" + program.filename().string() +
                          " --gtest_filter='" + name + "' > output.txt 2>&1";
    int status = std::system(command.c_str());
    std::string output = FileText(directory / "output.txt");
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_NE(output.find("verdict: ok"), std::string::npos) << output;
    if (!testing::Test::HasFailure()) fs::remove_all(directory);
}

void Verdict(bool ok, const std::string &what) {
    std::fprintf(stderr, "%s\n", ok ? "verdict: ok" : ("verdict: " + what).c_str());
    std::fflush(stderr);
}

std::string RunDirectory() { return fs::read_symlink("/proc/self/exe").parent_path().string() + "/"; }

std::string MockHost() { return mockHost; }

HWND UnitWindow(uint32_t unit) {
    intptr_t object = rt::RuntimeService(rt::kServiceUnitObject, app::kMainWindow, unit);
    return object ? reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceHandleOfWindowObject, object, 0)) : nullptr;
}

std::string Text(uint32_t unit, int32_t property) {
    uint64_t value = rt::RuntimeHelpers.readUnitProperty(app::kMainWindow, unit, property, -1);
    auto *text = reinterpret_cast<char *>(uintptr_t(value));
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(text);
    return s;
}

std::string Content(uint32_t unit) { return Text(unit, app::kContentProperty); }

void SetContent(uint32_t unit, const std::string &gbk) {
    auto pointer = uint64_t(reinterpret_cast<uintptr_t>(gbk.c_str()));
    rt::RuntimeHelpers.writeUnitProperty(app::kMainWindow, unit, app::kContentProperty, -1, uint32_t(pointer),
                                         uint32_t(pointer >> 32));
}

bool WaitFor(const std::function<bool()> &done, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (done()) return true;
        Sleep(100);
    }
    return done();
}

size_t Count(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

void Press(uint32_t button) { PostMessageA(UnitWindow(button), BM_CLICK, 0, 0); }

bool CollectionEnded(size_t endLines) {
    static const std::string endLine = rt::ToGbk("采集结束，感谢您的使用\r\n");
    return WaitFor([endLines] { return Count(Content(app::kStatusBox), endLine) >= endLines; }, 90);
}

void OnWindowThread(const std::function<void()> &work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::BlockingQueuedConnection);
}

}  // namespace e2e
