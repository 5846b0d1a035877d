// The real program on a real X server, used with the mouse and the keyboard.
#include <gtest/gtest.h>

#include <algorithm>

#include "expected_pages.h"
#include "x11_desktop.h"

namespace {

using x11::Desktop;
using x11::Spot;

// The main window's units, from its window template.
constexpr Spot kResultBox{200, 60};
constexpr Spot kKeywordBox{150, 200};
constexpr Spot kStartButton{420, 280};
constexpr Spot kSaveButton{420, 312};
constexpr Spot kClearButton{420, 344};

#define START_DESKTOP(desktop)                                                                \
    if (!desktop.Usable()) GTEST_SKIP() << desktop.Problem();                                 \
    ASSERT_TRUE(desktop.StartTool()) << desktop.ToolErrors()

// Presses 保存 and gives the content of the file it wrote. The new file is told by name,
// not by order: a name holds the time, and "…10秒" sorts before "…9秒".
std::string Save(Desktop &d) {
    std::vector<std::string> before = d.Files(".txt");
    d.Click(kSaveButton);
    std::vector<std::string> files;
    x11::WaitFor([&] { return (files = d.Files(".txt")).size() > before.size(); }, 5);
    // A save happens at most once a second: the file is named by the time.
    ::sleep(1);
    for (const std::string &name : files)
        if (std::find(before.begin(), before.end(), name) == before.end()) return d.Read(name);
    return "<no file>";
}

// Empties an edit box with the keys a person would use.
void Empty(Desktop &d, Spot box) {
    d.Click(box);
    d.Key("ctrl+End");
    d.Key("ctrl+shift+Home");
    d.Key("Delete");
}

TEST(Desktop, TypedKeywordsAreCollectedSavedAndCleared) {
    Desktop d;
    START_DESKTOP(d);
    Empty(d, kKeywordBox);
    d.Type("alpha");
    d.Key("Return");
    d.Type("beta");
    d.Click(kStartButton);
    std::string expected = e2e::ExpectedSites("alpha", 2) + e2e::ExpectedSites("beta", 2);
    std::string saved;
    x11::WaitFor([&] { return (saved = Save(d)) == expected; }, 120);
    EXPECT_EQ(saved, expected);
    d.Shot("collected.png");
    d.Click(kClearButton);
    EXPECT_EQ(Save(d), "");
}

TEST(Desktop, ADoubleClickExportsThroughTheSaveDialogAndEscapeCancels) {
    Desktop d;
    START_DESKTOP(d);
    d.Click(kResultBox);
    d.Type("one.example");
    d.Key("Return");
    d.Type("two.example");
    d.DoubleClick(kResultBox);
    ASSERT_FALSE(d.WaitWindow("^Save As$", 10).empty()) << "no save dialog";
    d.Shot("export-dialog.png");
    d.Type(d.RunDirectory() + "/exported");
    d.Key("Return");
    ASSERT_TRUE(d.WindowGone("^Save As$", 10));
    x11::WaitFor([&] { return !d.Read("exported.txt").empty(); }, 5);
    EXPECT_EQ(d.Read("exported.txt"), "one.example\r\ntwo.example");

    d.DoubleClick(kResultBox);
    ASSERT_FALSE(d.WaitWindow("^Save As$", 10).empty());
    d.Key("Escape");
    ASSERT_TRUE(d.WindowGone("^Save As$", 10));
    EXPECT_EQ(d.Files(".txt"), std::vector<std::string>{"exported.txt"});
}

TEST(Desktop, EscapeEndsTheProgramWithZero) {
    Desktop d;
    START_DESKTOP(d);
    d.Click(kKeywordBox);
    d.Key("Escape");
    EXPECT_EQ(d.WaitToolExit(10), 0) << d.ToolErrors();
}

TEST(Desktop, TheContextMenuSelectsAllCopiesAndPastes) {
    Desktop d;
    START_DESKTOP(d);
    d.Click(kKeywordBox, 3);
    d.Shot("context-menu.png");
    d.Key("a");
    d.Click(kKeywordBox, 3);
    d.Key("c");
    d.Click(kResultBox, 3);
    d.Key("p");
    EXPECT_EQ(Save(d), "Lumora \xB9\xD9\xCD\xF8\r\n\xD0\xC2\xC0\xCB\r\nSorvel\xCD\xF8\r\n\xB0\xE5\xB5\xCA");
}

TEST(Desktop, AWorkersErrorReportIsAMessageBoxWhileTheWorkerWaits) {
    Desktop d;
    if (!d.Usable()) GTEST_SKIP() << d.Problem();
    ASSERT_TRUE(d.StartProgram(WORKER_BOX_PROBE_PATH, "^worker box probe$"));
    std::string box = d.WaitWindow("^\xE9\x94\x99\xE8\xAF\xAF$", 10); // 错误
    ASSERT_FALSE(box.empty()) << d.ToolErrors();
    d.Shot("worker-error.png");
    EXPECT_EQ(d.ToolErrors().find("worker answered"), std::string::npos) << "the worker did not wait";
    d.Focus(box);
    d.Key("Return");
    EXPECT_EQ(d.WaitToolExit(10), 0) << d.ToolErrors();
    EXPECT_NE(d.ToolErrors().find("worker answered 1"), std::string::npos) << d.ToolErrors();
}

// The pointer's name as the X server knows it ("text" is the I-beam, "left_ptr" the arrow).
std::string PointerOver(Desktop &d, Spot at) {
#ifdef CURSOR_PROBE_PATH
    d.Hover(at);
    ::usleep(300000);
    std::string line = d.Output({CURSOR_PROBE_PATH});
    return line.substr(0, line.find(' '));
#else
    return "no probe";
#endif
}

TEST(Desktop, TheIBeamShowsOverEditBoxesAndTheArrowOverButtons) {
    Desktop d;
    START_DESKTOP(d);
    EXPECT_EQ(PointerOver(d, kResultBox), "name=text");
    EXPECT_EQ(PointerOver(d, kStartButton), "name=left_ptr");
    EXPECT_EQ(PointerOver(d, kKeywordBox), "name=text");
}

} // namespace
