// One result page through the tool's own routines (page fetch over the declared
// WinInet functions, re-encoding from UTF-8, the RegExp matcher, AppendText to the
// main window's result box from a job thread), against a plain pipeline over the same
// page in the same run: a reused libcurl handle, iconv to UTF-16, PCRE2 with JIT, and
// each site appended at the end of a bare QPlainTextEdit, all on the window's thread as
// a bare Qt program would do it (the tool's job thread hands each line over instead).
// Pages: the mock's own (10 entries) and one of about 1 MiB. Rounds alternate the two
// sides; the medians of wall time are reported, and ratio = tool / baseline.
#include <curl/curl.h>
#include <iconv.h>
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "collector.h"
#include "fetch_web_page.h"
#include "main_window_units.h"
#include "mock_process.h"
#include "qt_host.h"
#include "regex_matcher.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "sorvel_mock/pages.h"

extern const rt::ImageHeader ApplicationImageHeader;
extern const rt::WindowSetOperations *const ApplicationWindowSet;
int ApplicationEntry();

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 15;
constexpr int kLargeEntries = 7330; // about 1 MiB of page
constexpr const char *kVisitor = "7f3a9c2e51d04b68";

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string ResultAddress(int port) {
    return "http://127.0.0.1:" + std::to_string(port) + sorvel_mock::kResultPathStart + kVisitor + "/s?word=news";
}

// --- the tool ---

struct ToolSide {
    app::RegexMatcher *matcher = app::NewRegexMatcher();
    ~ToolSide() { matcher->methods->destroy(matcher); }

    void ClearResults() {
        rt::RuntimeHelpers.writeUnitProperty(app::kMainWindow, app::kResultBox, app::kContentProperty, -1, 0, 0);
    }
    size_t ResultBytes() { return app::ReadUnitText(app::kResultBox, app::kContentProperty).size(); }
    double Run(const std::string &address) {
        auto start = Clock::now();
        app::AppendSites(matcher, app::FetchWebPage(address));
        return Seconds(start);
    }
};

// --- the baseline ---

size_t Collect(char *data, size_t size, size_t count, void *to) {
    static_cast<std::string *>(to)->append(data, size * count);
    return size * count;
}

std::u16string Utf16Of(const std::string &utf8, iconv_t converter) {
    std::u16string out(utf8.size() + 1, u'\0');
    char *in = const_cast<char *>(utf8.data()), *at = reinterpret_cast<char *>(out.data());
    size_t inLeft = utf8.size(), outLeft = out.size() * 2;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    iconv(converter, &in, &inLeft, &at, &outLeft);
    out.resize(out.size() - outLeft / 2);
    return out;
}

struct BaselineSide {
    CURL *curl = curl_easy_init();
    iconv_t converter = iconv_open("UTF-16LE", "UTF-8");
    pcre2_code *pattern = nullptr;
    pcre2_match_data *match = nullptr;
    QPlainTextEdit *box = nullptr;
    std::string body;

    BaselineSide() {
        const char16_t site[] = u"<span class=\"site\">(.*?)</span>";
        int error = 0;
        PCRE2_SIZE offset = 0;
        pattern = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(site), PCRE2_ZERO_TERMINATED,
                                PCRE2_CASELESS | PCRE2_MULTILINE, &error, &offset, nullptr);
        pcre2_jit_compile(pattern, PCRE2_JIT_COMPLETE);
        match = pcre2_match_data_create_from_pattern(pattern, nullptr);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        OnGuiThread([this] {
            box = new QPlainTextEdit;
            box->resize(400, 300);
            box->show();
        });
    }
    ~BaselineSide() {
        OnGuiThread([this] { delete box; });
        pcre2_match_data_free(match);
        pcre2_code_free(pattern);
        iconv_close(converter);
        curl_easy_cleanup(curl);
    }

    template <typename F> static void OnGuiThread(F f) {
        QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
    }
    void ClearResults() {
        OnGuiThread([this] { box->clear(); });
    }
    size_t ResultBytes() {
        size_t n = 0;
        OnGuiThread([&] { n = size_t(box->toPlainText().size()); });
        return n;
    }
    void Append(const QString &line) {
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(line);
    }
    // Timed on the window's thread: a bare program has no job thread to wait for it.
    double Run(const std::string &address) {
        double seconds = 0;
        OnGuiThread([&] {
            auto start = Clock::now();
            RunHere(address);
            seconds = Seconds(start);
        });
        return seconds;
    }
    void RunHere(const std::string &address) {
        body.clear();
        curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
        curl_easy_perform(curl);
        std::u16string text = Utf16Of(body, converter);
        auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
        for (PCRE2_SIZE at = 0; pcre2_jit_match(pattern, subject, text.size(), at, 0, match, nullptr) > 0;) {
            PCRE2_SIZE *o = pcre2_get_ovector_pointer(match);
            Append(QString::fromUtf16(text.data() + o[2], qsizetype(o[3] - o[2])) + '\n');
            at = o[1] > o[0] ? o[1] : o[1] + 1;
        }
    }
};

struct Figures {
    std::vector<double> tool, baseline;
    size_t toolBytes = 0, baselineChars = 0, pageBytes = 0;
};

template <typename Side> double TimeOnce(Side &side, const std::string &address, size_t *resultSize) {
    side.ClearResults();
    double seconds = side.Run(address);
    *resultSize = side.ResultBytes();
    return seconds;
}

Figures Measure(ToolSide &tool, BaselineSide &baseline, const std::string &address) {
    Figures f;
    f.pageBytes = app::FetchWebPage(address).size();
    for (int round = 0; round < kRounds; ++round) {
        f.tool.push_back(TimeOnce(tool, address, &f.toolBytes));
        f.baseline.push_back(TimeOnce(baseline, address, &f.baselineChars));
    }
    return f;
}

void Report(const char *name, const Figures &f) {
    double tool = Median(f.tool), base = Median(f.baseline);
    std::printf(
        "%-12s page %8zu bytes  tool %8.3f ms  baseline %8.3f ms  ratio %.2f  (medians of %d; results %zu bytes, "
        "%zu characters)\n",
        name, f.pageBytes, tool * 1e3, base * 1e3, tool / base, kRounds, f.toolBytes, f.baselineChars);
}

// Asked on the window thread only: the start-up fills the window list there.
bool MainWindowShown() {
    auto window = reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0));
    intptr_t box = rt::RuntimeService(rt::kServiceUnitObject, app::kMainWindow, app::kResultBox);
    return window && IsWindowVisible(window) && box;
}

// Looks at each turn of the window thread's pump until the main window is shown.
void WatchForTheMainWindow(const std::shared_ptr<std::promise<void>> &shown) {
    if (MainWindowShown()) return shown->set_value();
    QTimer::singleShot(20, [shown] { WatchForTheMainWindow(shown); });
}

// Runs on a thread of its own, as the collector's job does, once the window is shown.
void Drive(std::future<void> shown) {
    if (shown.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        std::fprintf(stderr, "the main window did not open\n");
        std::_Exit(1);
    }
    {
        mock_test::MockProcess mockPage({});
        mock_test::MockProcess largePage({"--entries", std::to_string(kLargeEntries)});
        ToolSide tool;
        BaselineSide baseline;
        Report("mock page", Measure(tool, baseline, ResultAddress(mockPage.Port())));
        Report("1 MiB page", Measure(tool, baseline, ResultAddress(largePage.Port())));
    }
    std::fflush(stdout);
    PostMessageA(reinterpret_cast<HWND>(rt::RuntimeService(rt::kServiceWindowHandleAt, 0, 0)), WM_CLOSE, 0, 0);
}

} // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    static rt::RuntimeApp app(&ApplicationImageHeader, &ApplicationEntry, ApplicationWindowSet);
    auto shown = std::make_shared<std::promise<void>>();
    std::thread(Drive, shown->get_future()).detach();
    platform::GuiApplication(); // the watch needs the window thread's event loop
    WatchForTheMainWindow(shown);
    ExitProcess(UINT(fw::FrameworkMain()));
}
