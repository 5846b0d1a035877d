// What the tool does with its results: saving them under the time of the press,
// exporting them through the save dialog, clearing and selecting them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <set>

#include "date_time_commands.h"
#include "dialog_hook.h"
#include "dos_path.h"
#include "expected_pages.h"
#include "gbk.h"
#include "main_window_units.h"
#include "runtime_interface.h"
#include "time_to_text.h"
#include "tool_harness.h"

namespace {

namespace fs = std::filesystem;
using namespace app;
using namespace e2e;

constexpr int32_t kLabelCaption = 8;

const std::string kSample = rt::ToGbk("www.a.com\r\n中文.cn\r\n");

std::string FileText(const fs::path &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

double Now() {
    rt::TypedValue now{};
    cmd::CurrentTime(&now, 0, nullptr);
    return now.AsDouble();
}

// The DOS paths the tool may save to when pressed in one of `seconds` seconds from
// `from`: the run directory and TimeToText's name of the moment.
std::vector<std::string> SavePathsFrom(double from, int seconds) {
    std::string directory = platform::HostToDosPath(RunDirectory());
    if (directory.back() != '\\') directory += '\\';
    std::vector<std::string> paths;
    for (int i = 0; i < seconds; ++i) {
        char *name = TimeToText(rt::MakeDateTime(from + i / 86400.0), 0, 0);
        paths.push_back(directory + name + ".txt");
        rt::RuntimeHelpers.free(name);
    }
    return paths;
}

bool Contains(const std::vector<std::string> &items, const std::string &item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

std::string SaveMessage() { return Text(kSaveMessage, kLabelCaption); }

// The path a shown save message names after `prefix`; empty when none shows.
std::string SavedPath(const std::string &prefix) {
    std::string message;
    if (!WaitFor([&message] { return !(message = SaveMessage()).empty(); }, 10)) return "";
    return message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : "";
}

std::string HostPath(const std::string &dosPath) { return platform::DosToHostPath(dosPath.c_str()).value_or(""); }

void SaveTheResults() {
    SetContent(kResultBox, kSample);
    double pressed = Now();
    Press(kSaveButton);
    std::string path = SavedPath(rt::ToGbk("采集结果保存在"));
    if (path.empty()) return Verdict(false, "no saved-to message: " + SaveMessage());
    bool named = Contains(SavePathsFrom(pressed, 5), path);
    bool same = FileText(HostPath(path)) == Content(kResultBox) && Content(kResultBox) == kSample;
    bool cleared = WaitFor([] { return SaveMessage().empty(); }, 5);
    Verdict(named && same && cleared, path + " named " + std::to_string(named) + " same " + std::to_string(same) +
                                          " cleared " + std::to_string(cleared));
}

// A directory standing at every name the save may take makes the write fail.
void SaveOverADirectory() {
    SetContent(kResultBox, kSample);
    double pressed = Now();
    std::vector<std::string> paths = SavePathsFrom(pressed, 10);
    for (const std::string &path : paths) fs::create_directories(HostPath(path));
    Press(kSaveButton);
    std::string path = SavedPath(rt::ToGbk("采集结果保存失败："));
    if (path.empty()) return Verdict(false, "no failure message: " + SaveMessage());
    bool named = Contains(paths, path) && fs::is_directory(HostPath(path));
    bool cleared = WaitFor([] { return SaveMessage().empty(); }, 5);
    Verdict(named && cleared, path + " named " + std::to_string(named) + " cleared " + std::to_string(cleared));
}

struct DialogAnswers {
    std::mutex lock;
    std::vector<std::optional<std::string>> answers;
    std::vector<platform::FileDialogRequest> requests;
};
DialogAnswers dialog;

void AnswerSaveDialogs(std::vector<std::optional<std::string>> answers) {
    dialog.answers = std::move(answers);
    platform::SetFileDialogHook([](const platform::FileDialogRequest &request) -> std::optional<std::string> {
        std::lock_guard<std::mutex> guard(dialog.lock);
        size_t n = dialog.requests.size();
        dialog.requests.push_back(request);
        return n < dialog.answers.size() ? dialog.answers[n] : std::nullopt;
    });
}

size_t DialogsShown() {
    std::lock_guard<std::mutex> guard(dialog.lock);
    return dialog.requests.size();
}

void DoubleClick(HWND box) {
    PostMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool Exported(const std::string &name) {
    return WaitFor([&name] { return FileText(RunDirectory() + name) == kSample; }, 10);
}

// A chosen name gets ".txt"; one that has it in any case keeps it; a cancel writes nothing.
void ExportThroughTheSaveDialog() {
    std::string directory = platform::HostToDosPath(RunDirectory());
    AnswerSaveDialogs({directory + "chosen", directory + "Kept.TXT", std::nullopt});
    SetContent(kResultBox, kSample);
    HWND box = UnitWindow(kResultBox);
    std::set<fs::path> before(fs::directory_iterator(RunDirectory()), {});
    DoubleClick(box);
    bool chosen = Exported("chosen.txt");
    DoubleClick(box);
    bool kept = Exported("Kept.TXT");
    DoubleClick(box);
    bool asked = WaitFor([] { return DialogsShown() == 3; }, 10);
    Sleep(500);
    std::set<fs::path> after(fs::directory_iterator(RunDirectory()), {});
    bool onlyTwo = after.size() == before.size() + 2;
    const platform::FileDialogRequest &first = dialog.requests.front();
    bool request = first.save && first.filters.size() == 1 && first.filters[0].first == "txt" &&
                   first.filters[0].second == "*.txt";
    Verdict(chosen && kept && asked && onlyTwo && request,
            "chosen " + std::to_string(chosen) + " kept " + std::to_string(kept) + " asked " + std::to_string(asked) +
                " only two " + std::to_string(onlyTwo) + " request " + std::to_string(request));
}

// The lines appended after the clear are a tail of the whole collection.
void ClearDuringACollection() {
    SetContent(kKeywordBox, "a\r\nb");
    Press(kStartButton);
    if (!WaitFor([] { return Count(Content(kResultBox), "\r\n") >= 10; }, 60)) return Verdict(false, "nothing came");
    Press(kClearButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line");
    std::string all = ExpectedSites("a", 2) + ExpectedSites("b", 2), results = Content(kResultBox);
    size_t cut = all.size() - results.size();
    bool tail = !results.empty() && results.size() < all.size() && all.compare(cut, std::string::npos, results) == 0 &&
                all[cut - 1] == '\n';
    bool status = Content(kStatusBox) == ExpectedStatus({"a", "b"}, 2);
    Verdict(tail && status, "results: " + results + " status: " + Content(kStatusBox));
}

// The selection from 0 to the end, the focus in the box; else what was seen.
std::string SelectionProblem(HWND box) {
    DWORD start = 1, end = 0;
    SendMessageA(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    HWND focus = nullptr;
    OnWindowThread([&focus] { focus = GetFocus(); });
    int length = GetWindowTextLengthA(box);
    bool inBox = focus == box || IsChild(box, focus); // the unit holds its edit control
    if (start == 0 && end == DWORD(length) && inBox) return "";
    return "selection " + std::to_string(start) + "-" + std::to_string(end) + " of " + std::to_string(length) +
           (inBox ? "" : ", focus elsewhere");
}

void SelectAllOfEmptyAndFullBoxes() {
    HWND box = UnitWindow(kResultBox);
    SendMessageA(UnitWindow(kSelectAllButton), BM_CLICK, 0, 0);
    std::string empty = SelectionProblem(box);
    SetContent(kResultBox, kSample);
    SendMessageA(UnitWindow(kSelectAllButton), BM_CLICK, 0, 0);
    std::string full = GetWindowTextLengthA(box) > 0 ? SelectionProblem(box) : "no text";
    Verdict(empty.empty() && full.empty(), "empty box: " + empty + "; full box: " + full);
}

} // namespace

TEST(Results, SaveWritesTheBoxToAFileNamedByTheTimeAndShowsWhereForASecond) { ExpectToolScenario(SaveTheResults); }

TEST(Results, ASaveThatCannotWriteSaysSo) { ExpectToolScenario(SaveOverADirectory); }

TEST(Results, ADoubleClickExportsToTheFileChosenInTheSaveDialog) { ExpectToolScenario(ExportThroughTheSaveDialog); }

TEST(Results, ClearingDuringACollectionKeepsWhatComesAfter) {
    ExpectToolScenario(ClearDuringACollection, {"--slow", "0.2"});
}

TEST(Results, SelectAllSelectsTheWholeBoxEvenWhenEmpty) { ExpectToolScenario(SelectAllOfEmptyAndFullBoxes); }
