// Collections of the whole tool against sorvel-mock: what the boxes show, what the
// service is asked, and how the tool copes with a slow, cut or verbose service.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "expected_pages.h"
#include "gbk.h"
#include "icon_object.h"
#include "main_window_units.h"
#include "runtime_interface.h"
#include "skin.h"
#include "tool_harness.h"
#include "window_host.h"

namespace {

using namespace app;
using namespace e2e;

constexpr int32_t kButtonCaption = 10;

const char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QW7ZR; .NET CLR 2.0.50727; "
                             ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// Every request in the order the jobs make them, each with the tool's own headers and
// its address as referrer.
std::string RequestProblem(const std::vector<std::string> &expectedTargets) {
    std::vector<LoggedRequest> log = ReadRequestLog(RunDirectory() + "requests.log");
    if (log.size() != expectedTargets.size())
        return std::to_string(log.size()) + " requests, " + std::to_string(expectedTargets.size()) + " expected";
    for (size_t i = 0; i < log.size(); ++i) {
        const LoggedRequest &r = log[i];
        if (r.path != expectedTargets[i]) return "request " + std::to_string(i) + ": " + r.path;
        bool headers = r.HasHeader("Host", MockHost()) && r.HasHeader("User-Agent", kDefaultAgent) &&
                       r.HasHeader("Accept", "*/*") && r.HasHeader("Accept-Language", "zh-cn") &&
                       r.HasHeader("Referer", "http://" + MockHost() + r.path);
        if (!headers) return "headers: " + r.line;
    }
    return "";
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A picture of the window after a collection, for the README, when asked for.
void SaveScreenshot() {
    const char *file = std::getenv("SORVEL_SCREENSHOT");
    if (!file) return;
    HWND window = reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0));
    OnWindowThread([window, file] { platform::HostOf(window)->window()->grab().toImage().save(file); });
}

int IconWidth(LRESULT icon) {
    platform::IconObject *object = platform::IconObjectOf(reinterpret_cast<HICON>(icon));
    return object ? object->image.width() : -1;
}

// The program's own icon, large and small, from its resources.
bool HasProgramIcons() {
    HWND window = reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0));
    return IconWidth(SendMessageA(window, WM_GETICON, ICON_BIG, 0)) == GetSystemMetrics(SM_CXICON) &&
           IconWidth(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)) == GetSystemMetrics(SM_CXSMICON);
}

void OpenWithUnitsSampleKeywordsAndSkin() {
    std::string keywords = Content(kKeywordBox);
    bool sample = keywords == rt::ToGbk("Lumora 官网\r\n新浪\r\nSorvel网\r\n板凳");
    HWND pages = UnitWindow(kPageCountBox);
    bool pageBox = Content(kPageCountBox) == "2" && IsWindowVisible(pages) && !IsWindowEnabled(pages);
    bool buttons = Text(kStartButton, kButtonCaption) == rt::ToGbk("获取") &&
                   Text(kSaveButton, kButtonCaption) == rt::ToGbk("保存") &&
                   Text(kClearButton, kButtonCaption) == rt::ToGbk("清空网址") &&
                   Text(kSelectAllButton, kButtonCaption) == rt::ToGbk("全选");
    bool installed = std::filesystem::exists(RunDirectory() + "SkinH_EL.dll");
    // Skin 13's window colour reaches the application once the library has applied it.
    bool skinned = WaitFor(
        [] {
            QColor colour;
            OnWindowThread([&colour] { colour = QApplication::palette().color(QPalette::Window); });
            return colour == QColor(0xdf, 0xe8, 0xf5);
        },
        5);
    bool icons = HasProgramIcons();
    Verdict(sample && pageBox && buttons && installed && skinned && icons,
            "sample " + std::to_string(sample) + " page box " + std::to_string(pageBox) + " buttons " +
                std::to_string(buttons) + " installed " + std::to_string(installed) + " skinned " +
                std::to_string(skinned) + " icons " + std::to_string(icons));
}

void CollectTwoKeywordsThenPressAgain() {
    SetContent(kKeywordBox, "a\r\n\r\nb\r\n");
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line: " + Content(kStatusBox));
    std::string status = Content(kStatusBox), results = Content(kResultBox);
    if (status != ExpectedStatus({"a", "b"}, 2)) return Verdict(false, "status: " + status);
    if (results != ExpectedSites("a", 2) + ExpectedSites("b", 2)) return Verdict(false, "results: " + results);
    std::string requests = RequestProblem(Joined(ExpectedTargets("a", 2), ExpectedTargets("b", 2)));
    if (!requests.empty()) return Verdict(false, requests);
    SaveScreenshot();
    Press(kStartButton); // the counters are never reset: only the end line comes
    if (!CollectionEnded(2)) return Verdict(false, "no second end line");
    bool ok = Content(kStatusBox) == status + EndLine() && Content(kResultBox) == results &&
              ReadRequestLog(RunDirectory() + "requests.log").size() == 8;
    Verdict(ok, "second press: " + Content(kStatusBox));
}

void CollectOnlyTwoOfThreeKeywords() {
    const std::string zhong = rt::ToGbk("中");
    SetContent(kKeywordBox, zhong + "\r\nx y\r\nthird");
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line");
    std::string results = Content(kResultBox);
    if (Content(kStatusBox) != ExpectedStatus({zhong, "x y"}, 2)) return Verdict(false, "status: " + Content(kStatusBox));
    if (results != ExpectedSites(zhong, 2) + ExpectedSites("x y", 2)) return Verdict(false, "results: " + results);
    std::string requests = RequestProblem(Joined(ExpectedTargets("%D6%D0", 2), ExpectedTargets("x%20y", 2)));
    Verdict(requests.empty(), requests);
}

// A keyword box of line breaks only: no job, the end line at once.
void CollectNothingFromBlankLines() {
    SetContent(kKeywordBox, "\r\n\r\n  \r\n\r\n");
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line");
    bool ok = Content(kStatusBox) == EndLine() && Content(kResultBox).empty() &&
              ReadRequestLog(RunDirectory() + "requests.log").empty();
    Verdict(ok, "status: " + Content(kStatusBox) + " results: " + Content(kResultBox));
}

void CollectOneKeyword(int pages, bool dropped) {
    SetContent(kKeywordBox, "a");
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line: " + Content(kStatusBox));
    if (Content(kStatusBox) != ExpectedStatus({"a"}, pages)) return Verdict(false, "status: " + Content(kStatusBox));
    std::string results = Content(kResultBox);
    Verdict(results == ExpectedSites("a", pages, dropped), "results: " + results);
}

void CollectTwoPages() { CollectOneKeyword(2, false); }
void CollectTwoPagesOfCutPages() {
    std::string cut = ExpectedSites("a", 2, true);
    if (cut.empty() || cut.size() >= ExpectedSites("a", 2).size())
        return Verdict(false, "cut pages that hold every site or none test nothing");
    CollectOneKeyword(2, true);
}

// Every fetch fails: the job goes through its pages all the same and finds nothing.
void CollectFromAnUnreachableService() {
    setenv("SORVEL_HOST", "127.0.0.1:1", 1); // read by each job as it starts
    SetContent(kKeywordBox, "a");
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line: " + Content(kStatusBox));
    bool ok = Content(kStatusBox) == ExpectedStatus({"a"}, 2) && Content(kResultBox).empty();
    Verdict(ok, "status: " + Content(kStatusBox) + " results: " + Content(kResultBox));
}

// The job leaves no trace of a window that is gone: the program ends with 0. With
// many pages the job is appending while the window goes.
void CloseDuringACollection() {
    SetContent(kKeywordBox, "a\r\nb");
    SetContent(kPageCountBox, "500");
    Press(kStartButton);
    bool started = WaitFor([] { return !Content(kResultBox).empty(); }, 30);
    Verdict(started, "nothing was collected");
}

// Files of system modules' names and a foreign skin library lie beside the program:
// the tool runs with the system's modules, rewrites the skin library and decodes pages
// that declare only "UTF-8" in their head.
void CollectBesideForeignModules() {
    const auto *library = static_cast<const char *>(SkinLibraryFile());
    uint32_t size = 0;
    std::memcpy(&size, library + 4, sizeof size);
    std::ifstream file(RunDirectory() + "SkinH_EL.dll", std::ios::binary);
    bool ownSkin = std::string(std::istreambuf_iterator<char>(file), {}) == std::string(library + 8, size);
    const std::string zhong = rt::ToGbk("中");
    SetContent(kKeywordBox, zhong);
    Press(kStartButton);
    if (!CollectionEnded(1)) return Verdict(false, "no end line: " + Content(kStatusBox));
    bool collected = Content(kStatusBox) == ExpectedStatus({zhong}, 2) && Content(kResultBox) == ExpectedSites(zhong, 2);
    Verdict(ownSkin && collected, "own skin " + std::to_string(ownSkin) + " results: " + Content(kResultBox));
}

struct PageCountCase {
    const char *name;
    const char *text;
    int pages;
};

void PrintTo(const PageCountCase &c, std::ostream *out) { *out << '"' << c.text << '"'; }

class PageCount : public testing::TestWithParam<PageCountCase> {};

const PageCountCase *currentCase = nullptr;

void CollectWithPageCountText() {
    SetContent(kPageCountBox, currentCase->text);
    CollectOneKeyword(currentCase->pages, false);
}

} // namespace

TEST(Collection, TheWindowOpensWithItsUnitsSampleKeywordsSkinAndIcon) { ExpectToolScenario(OpenWithUnitsSampleKeywordsAndSkin); }

TEST(Collection, TwoKeywordsAreCollectedPageByPageAndASecondPressOnlyEnds) {
    ExpectToolScenario(CollectTwoKeywordsThenPressAgain, {"--log", "requests.log"});
}

TEST(Collection, OnlyTheFirstTwoKeywordsAreCollectedAndSentAsGbk) {
    ExpectToolScenario(CollectOnlyTwoOfThreeKeywords, {"--log", "requests.log"});
}

TEST(Collection, BlankLinesAloneCollectNothing) {
    ExpectToolScenario(CollectNothingFromBlankLines, {"--log", "requests.log"});
}

TEST_P(PageCount, TruncatesTowardZeroAndNotANumberIsNone) {
    currentCase = &GetParam();
    ExpectToolScenario(CollectWithPageCountText);
}

INSTANTIATE_TEST_SUITE_P(Texts, PageCount,
                         testing::Values(PageCountCase{"Zero", "0", 0}, PageCountCase{"Negative", "-3", 0},
                                         PageCountCase{"Letters", "abc", 0}, PageCountCase{"Fraction", "2.9", 2}),
                         [](const testing::TestParamInfo<PageCountCase> &info) { return info.param.name; });

TEST(FaultyService, ASlowServiceLosesNothing) { ExpectToolScenario(CollectTwoPages, {"--slow", "0.5"}); }

TEST(FaultyService, HeaderBlocksOverTheBufferLoseNothing) {
    ExpectToolScenario(CollectTwoPages, {"--big-headers"});
}

TEST(FaultyService, CutPagesKeepEverySiteThatArrived) {
    ExpectToolScenario(CollectTwoPagesOfCutPages, {"--drop"});
}

TEST(FaultyService, AnUnreachableServiceGivesTheStatusLinesAndNoSites) {
    ExpectToolScenario(CollectFromAnUnreachableService);
}

TEST(ForeignFiles, SystemModuleNamesAndAForeignSkinLibraryBesideTheToolAreNotRun) {
    ExpectToolScenario(CollectBesideForeignModules, {"--upper-charset"},
                       {"wininet.dll", "ole32.dll", "shlwapi.dll", "kernel32.dll", "user32.dll", "SkinH_EL.dll"});
}

TEST(Closing, TheWindowClosedDuringACollectionEndsTheProgramWithZero) {
    ExpectToolScenario(CloseDuringACollection);
}
