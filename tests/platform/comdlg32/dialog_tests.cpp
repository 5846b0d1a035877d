// The file and font dialogs answered by the test hook, and their headless default.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "dialog_hook.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

OPENFILENAMEA SaveRequest(char *file, DWORD size, const char *filter) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = size;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    return ofn;
}

class DialogTest : public ::testing::Test {
protected:
    void TearDown() override {
        platform::SetFileDialogHook(nullptr);
        platform::SetFontDialogHook(nullptr);
        unsetenv("SORVEL_FILE_DIALOG_ANSWER");
    }
};

TEST_F(DialogTest, SaveDialogAnsweredByTheHook) {
    platform::FileDialogRequest seen;
    platform::SetFileDialogHook([&](const platform::FileDialogRequest &r) -> std::optional<std::string> {
        seen = r;
        return std::string("Z:\\tmp\\sites");
    });
    char file[MAX_PATH] = "initial.txt";
    const char filter[] = "txt\0*.txt\0all\0*.*\0";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, filter);
    ofn.lpstrDefExt = "txt";
    ofn.lpstrTitle = "Save";
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_TRUE(seen.save);
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[0], std::make_pair(std::string("txt"), std::string("*.txt")));
    EXPECT_EQ(seen.filterIndex, 1u);
    EXPECT_EQ(seen.initialName, "initial.txt");
    EXPECT_EQ(seen.title, "Save");
    // The default extension is added to a name without one.
    EXPECT_STREQ(file, "Z:\\tmp\\sites.txt");
    EXPECT_EQ(ofn.nFileOffset, 7);
    EXPECT_EQ(ofn.nFileExtension, 13);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(DialogTest, CancelLeavesTheBufferAndAnswersFalse) {
    platform::SetFileDialogHook([](const platform::FileDialogRequest &) { return std::optional<std::string>(); });
    char file[MAX_PATH] = "keep.txt";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file, "keep.txt");
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(DialogTest, HeadlessWithoutAnAnswerCancelsAtOnce) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

TEST_F(DialogTest, EnvironmentAnswerTakesHostPaths) {
    setenv("SORVEL_FILE_DIALOG_ANSWER", "/tmp/answer.txt", 1);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file, "Z:\\tmp\\answer.txt");
    setenv("SORVEL_FILE_DIALOG_ANSWER", "", 1);
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
}

TEST_F(DialogTest, OpenDialogRefusesAMissingFileWhenItMustExist) {
    platform::SetFileDialogHook([](const platform::FileDialogRequest &) {
        return std::optional<std::string>("Z:\\no\\such\\file.txt");
    });
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    ofn.Flags |= OFN_FILEMUSTEXIST;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

TEST_F(DialogTest, TooSmallABufferReportsTheSizeNeeded) {
    platform::SetFileDialogHook([](const platform::FileDialogRequest &) {
        return std::optional<std::string>("Z:\\a\\rather\\long\\name.txt");
    });
    char file[8] = "";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
    WORD needed;
    std::memcpy(&needed, file, sizeof needed);
    EXPECT_EQ(needed, 26);
}

TEST_F(DialogTest, BadStructureSize) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = SaveRequest(file, sizeof file, nullptr);
    ofn.lStructSize = 12;
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
}

TEST_F(DialogTest, FontDialogAnsweredByTheHook) {
    platform::SetFontDialogHook([](LOGFONTA &lf, COLORREF &colour) {
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        lf.lfHeight = -16;
        lf.lfItalic = 1;
        colour = RGB(1, 2, 3);
        return true;
    });
    LOGFONTA lf{};
    lf.lfWeight = FW_BOLD;
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(cf.rgbColors, RGB(1, 2, 3));
    EXPECT_EQ(cf.iPointSize, 120); // 16 pixels at 96 dpi are 12 points
}

} // namespace
