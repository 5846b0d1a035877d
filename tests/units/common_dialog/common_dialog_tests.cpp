// The common dialog unit: its stored form and write rules, and the dialogs it runs
// through ShowCommonDialog, answered by the window layer's test hook.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>

#include "common_dialog_run.h"
#include "commdlg.h"
#include "dialog_hook.h"
#include "help_calls.h"
#include "help_hook.h"
#include "edit_test_units.h"
#include "gbk.h"
#include "runtime_fixture.h"
#include "temp_folder.h"
#include "unit_commands.h"
#include "window_list.h"

using namespace edittest;

namespace {

std::string TemplateData(uint32_t unit) {
    units::Window *w = units::FindWindow(kMain);
    return w->units[size_t(units::FindUnit(*w, unit))].record.propertyData;
}

bool Show(uint32_t unit) {
    rt::TypedValue result = testsupport::CallCommand(cmd::ShowCommonDialog, {rt::TypedValue{kMain, unit, 0x1001f}});
    EXPECT_EQ(result.type, rt::kTypeBoolean);
    return result.low != 0;
}

platform::FileDialogRequest seen;
int asked = 0;

void Answer(std::optional<std::string> path) {
    platform::SetFileDialogHook([path](const platform::FileDialogRequest &r) {
        seen = r;
        ++asked;
        return path;
    });
}

class CommonDialog : public testing::Test {
protected:
    void SetUp() override {
        StartRuntime();
        ASSERT_TRUE(Load(kMain));
        seen = {};
        asked = 0;
    }
    void TearDown() override {
        platform::SetFileDialogHook(nullptr);
        platform::SetFontDialogHook(nullptr);
        platform::SetHelpHook(nullptr);
        Close(kMain);
    }
};

} // namespace

TEST(CommonDialogFilter, PairsEndWithAnEmptyString) {
    using units::FilterPairs;
    EXPECT_EQ(FilterPairs(""), "");
    EXPECT_EQ(FilterPairs("txt|*.txt"), std::string("txt\0*.txt\0\0", 11));
    EXPECT_EQ(FilterPairs("txt|*.txt||"), std::string("txt\0*.txt\0\0", 11));
    EXPECT_EQ(FilterPairs("a|*.a|b|*.b"), std::string("a\0*.a\0b\0*.b\0\0", 13));
    // 0x81 0x7C is one double-byte character whose second byte looks like "|".
    EXPECT_EQ(FilterPairs("\x81|x|*.x"), std::string("\x81|x\0*.x\0\0", 9));
}

TEST_F(CommonDialog, NoDataGivesTheDefaults) {
    EXPECT_EQ(Read(kPlainDialog, 8), 0u);
    EXPECT_EQ(ReadText(kPlainDialog, 10), "");
    EXPECT_EQ(Read(kPlainDialog, 15), 0u);
    EXPECT_EQ(Read(kPlainDialog, 16), 1u);
    EXPECT_EQ(Read(kPlainDialog, 17), 1u);
    EXPECT_EQ(Read(kPlainDialog, 18), 1u);
    EXPECT_EQ(Read(kPlainDialog, 19), 0u);
    EXPECT_EQ(Read(kPlainDialog, 26), 0u);
    EXPECT_FALSE(IsWindowVisible(Handle(kPlainDialog))); // never shown, whatever its flag says
}

TEST_F(CommonDialog, TemplateDataReadsAndWritesBack) {
    EXPECT_EQ(Read(kSaveDialog, 8), 1u);
    EXPECT_EQ(ReadText(kSaveDialog, 9), rt::ToGbk("保存"));
    EXPECT_EQ(ReadText(kSaveDialog, 10), "a.txt");
    EXPECT_EQ(ReadText(kSaveDialog, 11), "txt|*.txt");
    EXPECT_EQ(ReadText(kSaveDialog, 14), "txt");
    EXPECT_EQ(Read(kSaveDialog, 20), 255u);
    EXPECT_EQ(Read(kSaveDialog, 21), 1u);
    EXPECT_EQ(Read(kSaveDialog, 24), 1u);
    EXPECT_EQ(ReadText(kSaveDialog, 25), rt::ToGbk("宋体"));
    EXPECT_EQ(Read(kSaveDialog, 26), 12u);
    EXPECT_EQ(Serialized(kSaveDialog), TemplateData(kSaveDialog));
}

TEST_F(CommonDialog, WriteRules) {
    HWND before = Handle(kPlainDialog);
    Write(kPlainDialog, 8, 7);
    EXPECT_EQ(Read(kPlainDialog, 8), 3u);
    Write(kPlainDialog, 8, uint64_t(-1));
    EXPECT_EQ(Read(kPlainDialog, 8), 0u);
    Write(kPlainDialog, 12, uint64_t(-4));
    EXPECT_EQ(Read(kPlainDialog, 12), 0u);
    Write(kPlainDialog, 26, uint64_t(-2));
    EXPECT_EQ(Read(kPlainDialog, 26), 0u);
    Write(kPlainDialog, 29, uint64_t(-2));
    EXPECT_EQ(int32_t(Read(kPlainDialog, 29)), -2);
    WriteText(kPlainDialog, 13, "Z:\\tmp");
    EXPECT_EQ(ReadText(kPlainDialog, 13), "Z:\\tmp");
    EXPECT_EQ(Handle(kPlainDialog), before); // never rebuilt
}

TEST_F(CommonDialog, SaveKindWithOneFilterStoresTheChosenPath) {
    Write(kPlainDialog, 8, 1);
    WriteText(kPlainDialog, 11, "txt|*.txt");
    Answer(std::string("Z:\\tmp\\sites.txt"));
    EXPECT_TRUE(Show(kPlainDialog));
    EXPECT_TRUE(seen.save);
    ASSERT_EQ(seen.filters.size(), 1u);
    EXPECT_EQ(seen.filters[0], std::make_pair(std::string("txt"), std::string("*.txt")));
    EXPECT_EQ(seen.filterIndex, 1u);
    EXPECT_EQ(seen.flags, DWORD(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST));
    EXPECT_EQ(ReadText(kPlainDialog, 10), "Z:\\tmp\\sites.txt");
}

TEST_F(CommonDialog, OpenKindPassesItsSettings) {
    WriteText(kPlainDialog, 11, rt::ToGbk("文本|*.txt|全部|*.*"));
    Write(kPlainDialog, 12, 1);
    WriteText(kPlainDialog, 9, "Pick");
    WriteText(kPlainDialog, 10, "start.txt");
    WriteText(kPlainDialog, 13, "Z:\\tmp");
    WriteText(kPlainDialog, 14, "txt");
    Write(kPlainDialog, 15, 1);
    Write(kPlainDialog, 16, 0);
    Write(kPlainDialog, 17, 0);
    Write(kPlainDialog, 18, 0);
    Write(kPlainDialog, 19, 1);
    Answer(std::string("Z:\\tmp\\other.txt"));
    EXPECT_TRUE(Show(kPlainDialog));
    EXPECT_FALSE(seen.save);
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[1], std::make_pair(rt::ToGbk("全部"), std::string("*.*")));
    EXPECT_EQ(seen.filterIndex, 2u);
    EXPECT_EQ(seen.title, "Pick");
    EXPECT_EQ(seen.initialName, "start.txt");
    EXPECT_EQ(seen.initialDir, "Z:\\tmp");
    EXPECT_EQ(seen.defaultExt, "txt");
    EXPECT_EQ(seen.flags, DWORD(OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOCHANGEDIR));
}

TEST_F(CommonDialog, WithoutFilterNoFilterIsSet) {
    testsupport::TempFolder folder; // the open kind wants the chosen file to exist
    ASSERT_TRUE(folder.Ok());
    folder.Put("x", "");
    Answer(folder.Dos("x"));
    EXPECT_TRUE(Show(kPlainDialog));
    EXPECT_TRUE(seen.filters.empty());
    EXPECT_EQ(seen.filterIndex, 0u);
}

TEST_F(CommonDialog, CancelChangesNothing) {
    Answer(std::nullopt);
    EXPECT_FALSE(Show(kSaveDialog));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadText(kSaveDialog, 10), "a.txt");
    EXPECT_EQ(Serialized(kSaveDialog), TemplateData(kSaveDialog));
}

TEST_F(CommonDialog, FontKindPresetsAndTakesTheChoice) {
    Write(kSaveDialog, 8, 2);
    LOGFONTA given{};
    COLORREF givenColour = 0;
    platform::SetFontDialogHook([&](LOGFONTA &font, COLORREF &colour) {
        given = font;
        givenColour = colour;
        font.lfWeight = 400;
        font.lfItalic = 1;
        font.lfUnderline = 0;
        font.lfHeight = -24;
        std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "Arial");
        colour = 0x00ff00;
        return true;
    });
    EXPECT_TRUE(Show(kSaveDialog));
    EXPECT_EQ(given.lfWeight, 700);
    EXPECT_EQ(given.lfUnderline, 1);
    EXPECT_EQ(given.lfItalic, 0);
    EXPECT_EQ(given.lfHeight, -16); // 12 points at 96 pixels an inch
    EXPECT_EQ(std::string(given.lfFaceName), rt::ToGbk("宋体"));
    EXPECT_EQ(givenColour, 255u);
    EXPECT_EQ(Read(kSaveDialog, 20), 0x00ff00u);
    EXPECT_EQ(Read(kSaveDialog, 21), 0u);
    EXPECT_EQ(Read(kSaveDialog, 22), 1u);
    EXPECT_EQ(Read(kSaveDialog, 24), 0u);
    EXPECT_EQ(ReadText(kSaveDialog, 25), "Arial");
    EXPECT_EQ(Read(kSaveDialog, 26), 18u);
}

TEST_F(CommonDialog, FontKindCancelChangesNothing) {
    Write(kSaveDialog, 8, 2);
    platform::SetFontDialogHook([](LOGFONTA &font, COLORREF &colour) {
        font.lfWeight = 100;
        colour = 7;
        return false;
    });
    EXPECT_FALSE(Show(kSaveDialog));
    Write(kSaveDialog, 8, 1);
    EXPECT_EQ(Serialized(kSaveDialog), TemplateData(kSaveDialog));
}

TEST_F(CommonDialog, HelpKindChecksItsFile) {
    Write(kPlainDialog, 8, 3);
    Write(kPlainDialog, 28, 4);
    EXPECT_TRUE(Show(kPlainDialog));
    EXPECT_TRUE(units::HelpOpenedBy(kMain));
    Write(kPlainDialog, 28, 5);
    EXPECT_TRUE(Show(kPlainDialog));
    EXPECT_FALSE(units::HelpOpenedBy(kMain));
    Write(kPlainDialog, 28, 1);
    WriteText(kPlainDialog, 27, "Z:\\tmp\\no-such-help-file.hlp");
    EXPECT_FALSE(Show(kPlainDialog));
    char host[] = "/tmp/helpXXXXXX";
    int fd = mkstemp(host);
    ASSERT_GE(fd, 0);
    close(fd);
    WriteText(kPlainDialog, 27, std::string("Z:") + host);
    EXPECT_TRUE(Show(kPlainDialog));
    unlink(host);
    // Without a file name the program's own name with ".hlp" is tried; none is here.
    WriteText(kPlainDialog, 27, "");
    EXPECT_FALSE(Show(kPlainDialog));
}

// Commands 0 to 5 become WinHelp's commands; a topic of 0 means the contents.
TEST_F(CommonDialog, HelpKindCallsWinHelpWithTheCommandAndTopic) {
    std::vector<platform::HelpRequest> calls;
    platform::SetHelpHook([&calls](const platform::HelpRequest &r) {
        calls.push_back(r);
        return TRUE;
    });
    char host[] = "/tmp/helpXXXXXX";
    int fd = mkstemp(host);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string file = std::string("Z:") + host;
    Write(kPlainDialog, 8, 3);
    WriteText(kPlainDialog, 27, file);
    const struct {
        int32_t command, topic;
        UINT expected;
        ULONG_PTR data;
    } cases[] = {{0, 9, HELP_CONTENTS, 0},     {1, 7, HELP_CONTEXT, 7}, {1, 0, HELP_CONTENTS, 0},
                 {2, 5, HELP_CONTEXTPOPUP, 5}, {3, 0, HELP_FORCEFILE, 0}, {4, 0, HELP_HELPONHELP, 0},
                 {5, 0, HELP_QUIT, 0}};
    for (const auto &c : cases) {
        Write(kPlainDialog, 28, uint32_t(c.command));
        Write(kPlainDialog, 29, uint32_t(c.topic));
        EXPECT_TRUE(Show(kPlainDialog)) << c.command;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().command, c.expected) << c.command;
        EXPECT_EQ(calls.back().file, file) << c.command;
        if (c.expected != HELP_CONTENTS) {
            EXPECT_EQ(calls.back().data, c.data) << c.command;
        }
    }
    unlink(host);
    EXPECT_EQ(calls.size(), std::size(cases));
    EXPECT_FALSE(units::HelpOpenedBy(kMain)); // the last call closed it
}

// A job thread asking for the dialog gets it run on the window's thread.
TEST_F(CommonDialog, ShowFromAWorkerRunsOnTheWindowThread) {
    Write(kPlainDialog, 8, 1);
    DWORD dialogThread = 0;
    platform::SetFileDialogHook([&](const platform::FileDialogRequest &) -> std::optional<std::string> {
        dialogThread = GetCurrentThreadId();
        return std::string("Z:\\tmp\\w.txt");
    });
    std::atomic<bool> done{false};
    bool shown = false;
    std::thread worker([&] {
        shown = Show(kPlainDialog);
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    worker.join();
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialogThread, GetCurrentThreadId());
    EXPECT_EQ(ReadText(kPlainDialog, 10), "Z:\\tmp\\w.txt");
}
