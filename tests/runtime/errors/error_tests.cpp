// Runtime error reports, exits and the clean-up order. Each scenario that ends the
// process runs in a death test, which starts the runtime in a fresh child process.
#include <gtest/gtest.h>

#include "exit_codes.h"

#include <cstdio>

#include "gbk.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_interface.h"

using namespace rt;

namespace {

alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
bool cleanUpRan = false;
DWORD mainThread = 0;

// A library that reports, on stderr, how and where the end notification reached it.
intptr_t WitnessNotify(int32_t code, intptr_t, intptr_t) {
    if (code == kNotifyEnd)
        std::fprintf(stderr, "notified 6, clean-up ran %d, on main %d\n", int(cleanUpRan),
                     int(GetCurrentThreadId() == mainThread));
    return code == kNotifyStart ? 0 : -1;
}

rt::LibraryInfo WitnessLibrary() {
    rt::LibraryInfo info{};
    info.marker = kLibraryRecordMarker;
    info.notify = WitnessNotify;
    return info;
}
const rt::LibraryInfo witness = WitnessLibrary();
const rt::LibraryInfo silent{}; // no notify routine: kept in the table, never called
const rt::LibraryInfo *const libraries[] = {&silent, &witness};
const ImageHeader image = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 2, libraries, 0, nullptr, nullptr};

void ApplicationCleanUp() {
    cleanUpRan = true;
    std::fputs("application clean-up\n", stderr);
}

bool NoLiveWindow() { return false; }
const WindowSetOperations noWindows = {nullptr, nullptr, [] {}, NoLiveWindow, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr};

void StartRuntime() {
    static RuntimeApp app(&image, nullptr, &noWindows);
    RuntimeHelpers.handler(kHandlerInitialize, nullptr);
    uintptr_t routine = reinterpret_cast<uintptr_t>(&ApplicationCleanUp);
    RuntimeHelpers.handler(kHandlerRegisterCleanUp, &routine);
    mainThread = GetCurrentThreadId();
}

DWORD WINAPI ExitFromWorker(LPVOID code) {
    RuntimeHelpers.exit(int32_t(reinterpret_cast<intptr_t>(code)));
    return 0;
}

void ExitOnWorkerThread() {
    StartRuntime();
    CreateThread(nullptr, 0, ExitFromWorker, reinterpret_cast<LPVOID>(intptr_t(7)), 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    std::fputs("the main loop ended instead\n", stderr);
    ExitProcess(3);
}

int EntryWithoutWindows() {
    RuntimeHelpers.handler(kHandlerInitialize, nullptr);
    mainThread = GetCurrentThreadId();
    uintptr_t routine = reinterpret_cast<uintptr_t>(&ApplicationCleanUp);
    RuntimeHelpers.handler(kHandlerRegisterCleanUp, &routine);
    RuntimeHelpers.runMainLoop();
    std::fputs("main loop returned\n", stderr);
    return 0;
}

DWORD WINAPI ReportFromWorker(LPVOID) {
    RuntimeHelpers.reportErrorByNumber(1);
    return 0;
}

// The main loop has ended (no window is left); a job still running then hits an error.
void LateErrorOnAWorker() {
    StartRuntime();
    RuntimeHelpers.runMainLoop();
    HANDLE worker = CreateThread(nullptr, 0, ReportFromWorker, nullptr, 0, nullptr);
    WaitForSingleObject(worker, INFINITE);
    std::fputs("worker ended\n", stderr);
    RuntimeHelpers.exit(0);
}

void RunProgramWithoutWindows() {
    static RuntimeApp app(&image, &EntryWithoutWindows, &noWindows);
    std::exit(fw::FrameworkMain());
}

class RuntimeErrorDeathTest : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

} // namespace

TEST(ReportText, CodeZeroAndNoMessageShowOnlyTheHeading) {
    EXPECT_EQ(BuildReportText(nullptr, 0), ToGbk("运行时出错!\r\n\r\n"));
    EXPECT_EQ(BuildReportText("", 0), ToGbk("运行时出错!\r\n\r\n"));
}

TEST(ReportText, ACodeComesBeforeTheMessage) {
    EXPECT_EQ(BuildReportText(RuntimeErrorMessage(6), 6),
              ToGbk("运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"));
    EXPECT_EQ(BuildReportText(GbkLiteral("坏"), 0), ToGbk("运行时出错!\r\n\r\n错误信息：坏\r\n"));
}

TEST(ReportText, NumbersOutsideTheTableHaveNoText) {
    EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(-1), nullptr);
    EXPECT_STREQ(RuntimeErrorMessage(11), GbkLiteral("所提供参数的数据类型不符合要求"));
    EXPECT_EQ(BuildReportText(RuntimeErrorMessage(12), 12), ToGbk("运行时出错!\r\n\r\n错误代码：12\r\n\r\n"));
}

TEST_F(RuntimeErrorDeathTest, AnErrorSkipsTheApplicationCleanUpButNotTheLibraries) {
    EXPECT_EXIT((StartRuntime(), RuntimeHelpers.reportErrorByNumber(6)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：6\\s+错误信息：调用DLL命令后发现堆栈错误\\s+notified 6, clean-up ran 0, on main 1");
}

TEST_F(RuntimeErrorDeathTest, ArrayIndexErrorsReportTheirNumbers) {
    EXPECT_EXIT((StartRuntime(), RuntimeHelpers.reportErrorByNumber(1)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：1\\s+错误信息：数组成员引用下标超出定义范围");
    EXPECT_EXIT((StartRuntime(), RuntimeHelpers.reportErrorByNumber(4)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：4\\s+错误信息：数组成员引用下标必须大于等于1");
}

TEST_F(RuntimeErrorDeathTest, AnUnknownNumberIsReportedByItsCodeAlone) {
    EXPECT_EXIT((StartRuntime(), RuntimeHelpers.reportErrorByNumber(4096)), testing::ExitedWithCode(testsupport::kRuntimeErrorExit),
                "错误代码：4096\\s*notified 6");
}

TEST_F(RuntimeErrorDeathTest, ACommandsReportCarriesItsText) {
    EXPECT_EXIT((StartRuntime(), RuntimeService(kServiceReportError, intptr_t(GbkLiteral("命令出错")), 0)),
                testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "运行时出错!\\s*错误信息：命令出错");
}

TEST_F(RuntimeErrorDeathTest, ANormalExitRunsTheApplicationCleanUp) {
    EXPECT_EXIT((StartRuntime(), RuntimeHelpers.exit(5)), testing::ExitedWithCode(5),
                "application clean-up\nnotified 6, clean-up ran 1, on main 1");
}

TEST_F(RuntimeErrorDeathTest, AnExitOnAWorkerThreadIsCarriedOutByTheMainThread) {
    EXPECT_EXIT(ExitOnWorkerThread(), testing::ExitedWithCode(7), "notified 6, clean-up ran 1, on main 1");
}

TEST_F(RuntimeErrorDeathTest, AMainLoopWithoutLiveWindowsReturnsAtOnceAndTheProgramEndsWithZero) {
    EXPECT_EXIT(RunProgramWithoutWindows(), testing::ExitedWithCode(0),
                "main loop returned\napplication clean-up\nnotified 6, clean-up ran 1, on main 1");
}

TEST_F(RuntimeErrorDeathTest, AWorkersErrorAfterTheLastWindowClosedEndsOnlyThatThread) {
    EXPECT_EXIT(LateErrorOnAWorker(), testing::ExitedWithCode(0), "worker ended\napplication clean-up");
}

TEST_F(RuntimeErrorDeathTest, NonNumericValuesCannotBecomeIntegers) {
    TypedValue text{0, 0, kTypeText};
    EXPECT_EXIT((StartRuntime(), RuntimeService(kServiceToInteger, reinterpret_cast<intptr_t>(&text), 0)),
                testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "欲转换数据类型不是数值");
}
