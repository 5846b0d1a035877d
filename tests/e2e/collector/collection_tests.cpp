// The whole tool in one process: the program runs on the main thread exactly as it
// does when started, against sorvel-mock, while a driver thread uses it the way a
// person would (types keywords, presses the buttons, closes the window) and checks
// what the boxes show. Each scenario runs in a child process and prints its verdict.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gbk.h"
#include "main_window_units.h"
#include "mock_process.h"
#include "sorvel_mock/pages.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "windows.h"

extern const rt::ImageHeader ApplicationImageHeader;
extern const rt::WindowSetOperations *const ApplicationWindowSet;
int ApplicationEntry();

namespace {

using namespace app;

const std::string kEndLine = rt::ToGbk("采集结束，感谢您的使用\r\n");

HWND UnitWindow(uint32_t unit) {
    intptr_t object = rt::RuntimeService(rt::kServiceUnitObject, kMainWindow, unit);
    return object ? reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceHandleOfWindowObject, object, 0)) : nullptr;
}

std::string Content(uint32_t unit) {
    uint64_t value = rt::RuntimeHelpers.readUnitProperty(kMainWindow, unit, kContentProperty, -1);
    auto *text = reinterpret_cast<char *>(uintptr_t(value));
    std::string s = text ? text : "";
    rt::RuntimeHelpers.free(text);
    return s;
}

void SetContent(uint32_t unit, const std::string &gbk) {
    auto pointer = uint64_t(reinterpret_cast<uintptr_t>(gbk.c_str()));
    rt::RuntimeHelpers.writeUnitProperty(kMainWindow, unit, kContentProperty, -1, uint32_t(pointer), uint32_t(pointer >> 32));
}

bool WaitFor(const std::function<bool()> &done, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (done()) return true;
        Sleep(100);
    }
    return false;
}

size_t Count(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// The sites a keyword gives with two numbered pages: the first page, page 1 (the same
// offset again) and page 2.
std::string ExpectedSites(const std::string &keyword) {
    std::string expected;
    for (int offset : {0, 0, 10})
        for (const std::string &site : sorvel_mock::SitesFor(keyword, offset)) expected += rt::ToGbk(site) + "\r\n";
    return expected;
}

std::string ExpectedStatus(const std::vector<std::string> &keywords) {
    std::string status;
    for (const std::string &k : keywords)
        status += rt::ToGbk("====正在采集") + k + rt::ToGbk("====\r\n正在采集Sorvel第1页\r\n正在采集Sorvel第2页\r\n");
    return status + kEndLine;
}

// Loaded and shown: the window's units exist (the result box is created last) and the
// window became visible at the end of its load.
bool MainWindowShown() {
    auto window = reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0));
    return window && IsWindowVisible(window) && UnitWindow(kResultBox) && UnitWindow(kStartButton);
}

void Verdict(bool ok, const std::string &what) {
    std::fprintf(stderr, "%s\n", ok ? "verdict: ok" : ("verdict: " + what).c_str());
    std::fflush(stderr);
}

// Runs the program with `drive` on a thread of its own; the program's exit code ends
// the process, as it does when the tool is started.
[[noreturn]] void RunToolWith(void (*drive)()) {
    auto mock = std::make_unique<mock_test::MockProcess>(std::vector<std::string>{});
    setenv("SORVEL_HOST", ("127.0.0.1:" + std::to_string(mock->Port())).c_str(), 1);
    static rt::RuntimeApp app(&ApplicationImageHeader, &ApplicationEntry, ApplicationWindowSet);
    std::thread driver([&mock, drive] {
        bool up = WaitFor([] { return MainWindowShown(); }, 20);
        if (up) drive();
        else Verdict(false, "the main window did not open");
        mock.reset();
        PostMessageA(reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0)), WM_CLOSE, 0, 0);
    });
    driver.detach();
    ExitProcess(UINT(fw::FrameworkMain()));
}

void PressStart() { SendMessageA(UnitWindow(kStartButton), BM_CLICK, 0, 0); }

bool CollectionEnded(size_t endLines) {
    return WaitFor([endLines] { return Count(Content(kStatusBox), kEndLine) >= endLines; }, 90);
}

void CollectTwoKeywordsThenPressAgain() {
    SetContent(kKeywordBox, "a\r\n\r\nb\r\n");
    PressStart();
    if (!CollectionEnded(1)) return Verdict(false, "no end line: " + Content(kStatusBox));
    std::string status = Content(kStatusBox), results = Content(kResultBox);
    if (status != ExpectedStatus({"a", "b"})) return Verdict(false, "status: " + status);
    if (results != ExpectedSites("a") + ExpectedSites("b")) return Verdict(false, "results: " + results);
    PressStart(); // the counters are never reset: only the end line comes
    if (!CollectionEnded(2)) return Verdict(false, "no second end line");
    bool ok = Content(kStatusBox) == status + kEndLine && Content(kResultBox) == results;
    Verdict(ok, "second press: " + Content(kStatusBox));
}

void CollectOnlyTwoOfThreeKeywords() {
    SetContent(kKeywordBox, rt::ToGbk("中\r\nx y\r\nthird"));
    PressStart();
    if (!CollectionEnded(1)) return Verdict(false, "no end line");
    std::string results = Content(kResultBox);
    bool ok = Content(kStatusBox) == ExpectedStatus({rt::ToGbk("中"), "x y"}) &&
              results == ExpectedSites(rt::ToGbk("中")) + ExpectedSites("x y");
    Verdict(ok, "status: " + Content(kStatusBox) + " results: " + results);
}

class Collection : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

} // namespace

TEST_F(Collection, TwoKeywordsAreCollectedPageByPageAndASecondPressOnlyEnds) {
    EXPECT_EXIT(RunToolWith(CollectTwoKeywordsThenPressAgain), testing::ExitedWithCode(0), "verdict: ok");
}

TEST_F(Collection, OnlyTheFirstTwoKeywordsAreCollected) {
    EXPECT_EXIT(RunToolWith(CollectOnlyTwoOfThreeKeywords), testing::ExitedWithCode(0), "verdict: ok");
}
