// Delay and MessageBox through helper slot 3. Without a display the system message box
// writes "caption: text" to stderr and answers its default button.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "runtime_fixture.h"
#include "conversion_commands.h"
#include "system_commands.h"
#include "windows.h"

using namespace testsupport;

namespace {

class SystemCommands : public ::testing::Test {
protected:
    void SetUp() override { StartTestRuntime(); }
};

// The line the message box wrote, and the answer.
struct Shown {
    std::string line;
    rt::TypedValue answer;
};

std::string GbkToUtf8(const std::string &gbk) {
    WCHAR wide[256];
    int n = MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), wide, 256);
    char utf8[768];
    int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, size_t(m));
}

Shown ShowBox(std::initializer_list<rt::TypedValue> args) {
    testing::internal::CaptureStderr();
    rt::TypedValue answer = CallCommand(cmd::MessageBox, args);
    return {testing::internal::GetCapturedStderr(), answer};
}

TEST_F(SystemCommands, DelaySleepsTheGivenTimeAndNothingForNegativeCounts) {
    // A steady clock of fine grain: the tick count moves in steps of up to 16 ms on Windows.
    auto elapsedMs = [start = std::chrono::steady_clock::now()] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    };
    rt::TypedValue result = CallCommand(cmd::Delay, {rt::MakeInteger(-5)});
    EXPECT_LT(elapsedMs(), 1000); // -5 read as unsigned would sleep for weeks
    EXPECT_EQ(result.type, 0u);
    auto before = elapsedMs();
    CallCommand(cmd::Delay, {rt::MakeInteger(40)});
    EXPECT_GE(elapsedMs() - before, 30);
    CallCommand(cmd::Delay, {rt::MakeDouble(1.9)}); // any number, truncated by the runtime
}

TEST_F(SystemCommands, MessageBoxShowsTextWithTheDefaultCaption) {
    Shown shown = ShowBox({Utf8TextArg("你好"), rt::MakeInteger(0)});
    EXPECT_EQ(shown.line, "信息：: 你好\n");
    EXPECT_EQ(shown.answer.type, rt::kTypeInteger);
    EXPECT_EQ(shown.answer.AsInteger(), 0);

    shown = ShowBox({TextArg("body"), rt::MakeInteger(0), Utf8TextArg("标题")});
    EXPECT_EQ(shown.line, "标题: body\n");
    shown = ShowBox({TextArg("body"), rt::MakeInteger(0), TextArg("")}); // given, though empty
    EXPECT_EQ(shown.line, ": body\n");
}

TEST_F(SystemCommands, MessageBoxShowsNothingForTypesWithoutText) {
    EXPECT_EQ(ShowBox({ByteSetArg("abc"), rt::MakeInteger(0)}).line, "信息：: \n");
    rt::TypedValue pointer{0, 0, rt::kTypeSubroutinePointer};
    EXPECT_EQ(ShowBox({pointer, rt::MakeInteger(0)}).line, "信息：: \n");
    EXPECT_EQ(ShowBox({}).line, "信息：: \n");
}

TEST_F(SystemCommands, MessageBoxWritesNumbersAsToTextDoes) {
    EXPECT_EQ(ShowBox({rt::MakeInteger(-42), rt::MakeInteger(0)}).line, "信息：: -42\n");
    EXPECT_EQ(ShowBox({rt::MakeDouble(0.5), rt::MakeInteger(0)}).line, "信息：: 0.5\n");
    EXPECT_EQ(ShowBox({rt::MakeBoolean(true), rt::MakeInteger(0)}).line, "信息：: 真\n");
    for (rt::TypedValue value : {rt::MakeDateTime(36526.75), rt::MakeFloat(0.1f), rt::MakeLong(-5000000000LL)}) {
        rt::TypedValue text = CallCommand(cmd::ToText, {value});
        std::string expected = "信息：: " + GbkToUtf8(TakeText(text)) + "\n";
        EXPECT_EQ(ShowBox({value, rt::MakeInteger(0)}).line, expected);
    }
}

TEST_F(SystemCommands, MessageBoxAnswersTheButtonIndex) {
    EXPECT_EQ(ShowBox({TextArg("q"), rt::MakeInteger(MB_YESNO)}).answer.AsInteger(), 5);
    EXPECT_EQ(ShowBox({TextArg("q"), rt::MakeInteger(MB_YESNO | MB_DEFBUTTON2)}).answer.AsInteger(), 6);
    EXPECT_EQ(ShowBox({TextArg("q"), rt::MakeInteger(MB_OKCANCEL | MB_DEFBUTTON2)}).answer.AsInteger(), 1);
    EXPECT_EQ(ShowBox({TextArg("q"), rt::MakeInteger(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3)}).answer.AsInteger(), 4);
    EXPECT_EQ(ShowBox({TextArg("q"), rt::MakeInteger(MB_YESNO | MB_SYSTEMMODAL)}).answer.AsInteger(), 5);
}

TEST(MessageBoxRules, TaskModalUnlessSystemModal) {
    EXPECT_EQ(cmd::MessageBoxStyle(0), uint32_t(MB_TASKMODAL));
    EXPECT_EQ(cmd::MessageBoxStyle(MB_YESNO | MB_ICONQUESTION), uint32_t(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL));
    EXPECT_EQ(cmd::MessageBoxStyle(MB_SYSTEMMODAL | MB_OKCANCEL), uint32_t(MB_SYSTEMMODAL | MB_OKCANCEL));
}

TEST(MessageBoxRules, UnknownAnswersAndFailureAreZero) {
    const int ids[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(cmd::PressedButtonIndex(ids[i]), i);
    EXPECT_EQ(cmd::PressedButtonIndex(0), 0);  // the box could not be shown
    EXPECT_EQ(cmd::PressedButtonIndex(10), 0); // a button this command does not know
}

} // namespace
