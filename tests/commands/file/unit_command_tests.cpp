// AppendText and ShowCommonDialog against units that a small window set hands out
// through service 2007: a stand-in edit box that keeps text and selection as an edit
// control does, and a stand-in dialog unit answering the run-dialog message.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core_library.h"
#include "gbk.h"
#include "image.h"
#include "runtime_app.h"
#include "runtime_fixture.h"
#include "unit_commands.h"
#include "unit_messages.h"
#include "window_object.h"
#include "windows.h"

using namespace testsupport;

namespace {

constexpr uint32_t kWindowId = 7, kEditId = 3, kDialogId = 4;
constexpr UINT kUserSelects = WM_USER + 1; // the user drags a selection over 0..3

struct EditState {
    std::string text;
    int selStart = 0, selEnd = 0;
    std::vector<std::string> log;
    bool userSelectsDuringAppend = false;
};
EditState edit;

struct DialogState {
    LRESULT answer = 0;
    int runs = 0;
    DWORD thread = 0;
};
DialogState dialog;

struct LookUp {
    intptr_t window = -1, unit = -1;
};
LookUp lastLookUp;

void Select(int start, int end) {
    int size = int(edit.text.size());
    edit.selStart = std::min(start, size);
    edit.selEnd = std::min(end, size);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETTEXTLENGTH: edit.log.push_back("length"); return LRESULT(edit.text.size());
    case EM_SETSEL:
        edit.log.push_back("select " + std::to_string(wParam) + " " + std::to_string(lParam));
        Select(int(wParam), int(lParam));
        // User input that arrives while the append is under way.
        if (edit.userSelectsDuringAppend) PostMessageA(hwnd, kUserSelects, 0, 0);
        return 0;
    case kUserSelects: Select(0, 3); return 0;
    case EM_SCROLLCARET: edit.log.push_back("scroll"); return 0;
    case EM_REPLACESEL: {
        const char *text = reinterpret_cast<const char *>(lParam);
        edit.log.push_back(std::string("replace ") + (wParam ? "undoable " : "") + text);
        edit.text.replace(size_t(edit.selStart), size_t(edit.selEnd - edit.selStart), text);
        edit.selStart = edit.selEnd = edit.selStart + int(std::strlen(text));
        return 0;
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != rt::kMessageRunCommonDialog) return DefWindowProcA(hwnd, message, wParam, lParam);
    ++dialog.runs;
    dialog.thread = GetCurrentThreadId();
    return dialog.answer;
}

HWND MakeWindow(const char *className, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

fw::WindowObject editObject, dialogObject;

// Services 2006 and 2007 of the window set: the two units of window 7, nothing else.
intptr_t WindowService(int32_t code, intptr_t p1, intptr_t p2) {
    if (code != rt::kServiceUnitObject && code != rt::kServiceUnitObjectOrReport) return 0;
    lastLookUp = {p1, p2};
    if (p1 != kWindowId) return 0;
    if (p2 == kEditId) return reinterpret_cast<intptr_t>(&editObject);
    if (p2 == kDialogId) return reinterpret_cast<intptr_t>(&dialogObject);
    return 0;
}

bool NoLiveWindow() { return false; }
const rt::WindowSetOperations windowSet = {nullptr, nullptr, [] {}, NoLiveWindow, nullptr, WindowService,
                                           nullptr, nullptr, nullptr, nullptr};

alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};

rt::LibraryInfo CoreLibrary() {
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.notify = cmd::CoreLibraryNotify;
    return info;
}

void StartRuntimeWithUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    static const rt::LibraryInfo core = CoreLibrary();
    static const rt::LibraryInfo *libraries[] = {&core};
    static const rt::ImageHeader header = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 1, libraries, 0,
                                           nullptr, nullptr};
    static rt::RuntimeApp app(&header, nullptr, &windowSet);
    rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    editObject.Attach(MakeWindow("TestEditBox", EditProc));
    dialogObject.Attach(MakeWindow("TestDialogUnit", DialogProc));
}

rt::TypedValue Unit(uint32_t unit) { return {kWindowId, unit, rt::LibraryTypeCode(1, 2)}; }

// Runs `work` on a worker thread while this (the window) thread pumps its messages.
template <typename Work> void OnWorkerWhilePumping(Work work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    worker.join();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

class UnitCommands : public ::testing::Test {
protected:
    void SetUp() override {
        StartRuntimeWithUnits();
        edit = EditState{};
        dialog = DialogState{};
    }
};

TEST_F(UnitCommands, AppendTextAddsEachTextAtTheEndWhateverIsSelected) {
    edit.text = "hello";
    Select(0, 2);
    CallCommand(cmd::AppendText, {Unit(kEditId), TextArg("A"), Utf8TextArg("中")});
    std::string zhong = rt::ToGbk("中");
    EXPECT_EQ(edit.text, "helloA" + zhong);
    const std::vector<std::string> expected = {"length", "select 5 5", "scroll", "replace A",
                                               "length", "select 6 6", "scroll", "replace " + zhong};
    EXPECT_EQ(edit.log, expected);
    EXPECT_EQ(lastLookUp.window, intptr_t(kWindowId));
    EXPECT_EQ(lastLookUp.unit, intptr_t(kEditId));
}

TEST_F(UnitCommands, AppendTextWithoutTextsOrUnitDoesNothing) {
    edit.text = "x";
    CallCommand(cmd::AppendText, {Unit(kEditId)});
    CallCommand(cmd::AppendText, {Unit(99), TextArg("lost")});
    CallCommand(cmd::AppendText, {});
    EXPECT_EQ(edit.text, "x");
    EXPECT_TRUE(edit.log.empty());
}

// The fault this guards against: with the four steps sent one by one from the worker,
// the user's selection lands between "select the end" and "replace the selection", and
// the appended text replaces what the user selected.
TEST_F(UnitCommands, AppendTextFromAWorkerNeverReplacesTheUsersSelection) {
    for (int round = 0; round < 20; ++round) {
        edit = EditState{};
        edit.text = "abcdef";
        edit.userSelectsDuringAppend = true;
        OnWorkerWhilePumping([] { CallCommand(cmd::AppendText, {Unit(kEditId), TextArg("XY")}); });
        ASSERT_EQ(edit.text, "abcdefXY") << "round " << round;
        EXPECT_EQ(edit.selStart, 0); // the user's selection is still there
        EXPECT_EQ(edit.selEnd, 3);
    }
}

TEST_F(UnitCommands, ShowCommonDialogAsksTheUnitOnItsOwnThread) {
    dialog.answer = 1;
    rt::TypedValue result;
    OnWorkerWhilePumping([&] { result = CallCommand(cmd::ShowCommonDialog, {Unit(kDialogId)}); });
    EXPECT_EQ(result.type, rt::kTypeBoolean);
    EXPECT_EQ(result.low, 1u);
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(dialog.thread, GetCurrentThreadId());

    dialog.answer = 0;
    result = CallCommand(cmd::ShowCommonDialog, {Unit(kDialogId)});
    EXPECT_EQ(result.type, rt::kTypeBoolean);
    EXPECT_EQ(result.low, 0u);

    result = CallCommand(cmd::ShowCommonDialog, {Unit(42)});
    EXPECT_EQ(result.type, rt::kTypeBoolean);
    EXPECT_EQ(result.low, 0u);
    EXPECT_EQ(dialog.runs, 2);
}

} // namespace
