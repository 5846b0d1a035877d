// WinHelpA: what it checks itself (the window, the file for the commands that need
// one) and what reaches the viewer, here a hook.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "help_hook.h"
#include "windows.h"

namespace {

class WinHelp : public testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/win-help-XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        host = name;
        file = "Z:" + host;
        for (char &c : file)
            if (c == '/') c = '\\';
        platform::SetHelpHook([this](const platform::HelpRequest &r) {
            calls.push_back(r);
            return TRUE;
        });
    }
    void TearDown() override {
        platform::SetHelpHook(nullptr);
        unlink(host.c_str());
    }
    std::string host, file;
    std::vector<platform::HelpRequest> calls;
};

} // namespace

TEST_F(WinHelp, AnExistingFileReachesTheViewerWithCommandAndData) {
    EXPECT_TRUE(WinHelpA(nullptr, file.c_str(), HELP_CONTEXT, 42));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, file);
    EXPECT_EQ(calls[0].command, UINT(HELP_CONTEXT));
    EXPECT_EQ(calls[0].data, ULONG_PTR(42));
}

TEST_F(WinHelp, AMissingFileOrADirectoryFailsBeforeTheViewer) {
    SetLastError(0);
    EXPECT_FALSE(WinHelpA(nullptr, "Z:\\tmp\\no-such-help.hlp", HELP_CONTENTS, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(WinHelpA(nullptr, "Z:\\tmp", HELP_CONTENTS, 0));
    EXPECT_FALSE(WinHelpA(nullptr, nullptr, HELP_FORCEFILE, 0));
    EXPECT_TRUE(calls.empty());
}

TEST_F(WinHelp, QuitAndHelpOnHelpNeedNoFile) {
    EXPECT_TRUE(WinHelpA(nullptr, nullptr, HELP_QUIT, 0));
    EXPECT_TRUE(WinHelpA(nullptr, "Z:\\tmp\\no-such-help.hlp", HELP_HELPONHELP, 0));
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(WinHelp, AWindowThatIsGoneFails) {
    SetLastError(0);
    EXPECT_FALSE(WinHelpA(reinterpret_cast<HWND>(intptr_t(0x7777)), file.c_str(), HELP_CONTENTS, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(calls.empty());
}

// Without a hook nothing is shown headless, but the call is made.
TEST_F(WinHelp, HeadlessWithoutAHookAnswersTrue) {
    platform::SetHelpHook(nullptr);
    EXPECT_TRUE(WinHelpA(nullptr, file.c_str(), HELP_CONTENTS, 0));
}
