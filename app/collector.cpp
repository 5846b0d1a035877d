#include "collector.h"

#include <cmath>
#include <cstring>

#include "app_globals.h"
#include "conversion_commands.h"
#include "fetch_web_page.h"
#include "image_data.h"
#include "literals.h"
#include "main_window_units.h"
#include "regex_matcher.h"
#include "runtime_calls.h"
#include "system_commands.h"
#include "text_between.h"
#include "text_calls.h"
#include "text_commands.h"
#include "unit_commands.h"
#include "url_encode.h"
#include "windows.h"

namespace app {

volatile LONG KeywordsToCollect = 0;
volatile LONG JobsStarted = 0;
volatile LONG JobsRunning = 0;

namespace {

constexpr int32_t kPollMilliseconds = 4000;
constexpr int32_t kMostKeywords = 2;

// Set while a driver runs: a second press then leaves the running collection alone,
// so KeywordList is never replaced under a job and no job starts beyond it.
volatile LONG driverRunning = 0;

// Each running job's matcher by keyword number, written by that job alone: a job whose
// thread is ended under way at the program's end leaves it here to the end of the process.
RegexMatcher *jobMatchers[kMostKeywords + 1] = {};

std::string L(image::Constant offset) { return Literal(offset); }

void StartThread(uint32_t (*routine)(void *), intptr_t parameter) {
    uint32_t threadId = 0;
    CallDeclared(image::kDeclaredCreateThread,
                 {Word(0), Word(0), reinterpret_cast<uintptr_t>(routine), uintptr_t(parameter), Word(0), Word(&threadId)});
}

void Append(uint32_t box, const std::string &text) {
    CallCommand(cmd::AppendText, {UnitArg(kEditBoxType, box), TextArg(text.c_str())});
}

void Delay(int32_t milliseconds) { CallCommand(cmd::Delay, {IntegerArg(milliseconds)}); }

// The keyword list without empty elements: an empty keyword is never collected.
void *KeywordArrayOf(const std::string &text) {
    rt::TypedValue parts = CallCommand(cmd::SplitText, {TextArg(text.c_str()), TextArg(Literal(image::kLineBreak))});
    auto *array = parts.Pointer<uint32_t>();
    if (!array) return NewEmptyArray();
    uint32_t count = array[1], kept = 0;
    uint8_t *elements = reinterpret_cast<uint8_t *>(array + 2);
    for (uint32_t i = 0; i < count; ++i) {
        char *element;
        std::memcpy(&element, elements + i * sizeof element, sizeof element);
        if (!element || !*element) {
            rt::RuntimeHelpers.free(element);
            continue;
        }
        std::memcpy(elements + kept++ * sizeof element, &element, sizeof element);
    }
    array[1] = kept;
    return array;
}

std::string Keyword(int32_t k) {
    auto *array = static_cast<const uint32_t *>(KeywordList);
    if (k < 1) rt::RuntimeHelpers.reportErrorByNumber(4);
    if (!array || uint32_t(k) > array[1]) rt::RuntimeHelpers.reportErrorByNumber(1);
    const char *element;
    std::memcpy(&element, reinterpret_cast<const uint8_t *>(array + 2) + (k - 1) * sizeof element, sizeof element);
    return element ? element : "";
}

std::string FirstPageAddress(const std::string &host, const std::string &visitor, const std::string &keyword) {
    return L(image::kHttpPrefix) + host + L(image::kFirstPagePath) + visitor + L(image::kFirstPageQuery) +
           UrlEncode(keyword, true, false) + L(image::kFirstPageTail);
}

std::string NumberedPageAddress(const std::string &host, const std::string &visitor, const std::string &keyword,
                                int32_t page) {
    std::string offset = TakeText(CallCommand(cmd::ToText, {DoubleArg(double(page - 1))}));
    return L(image::kHttpPrefix) + host + L(image::kFirstPagePath) + visitor + L(image::kNumberedPageMiddle) + visitor +
           L(image::kNumberedPageQuery) + UrlEncode(keyword, true, false) + L(image::kPageOffsetKey) + offset +
           L(image::kNumberedPageTail);
}

// The page count box's number, truncated toward zero; not a number gives 0.
int32_t PageCount() {
    std::string text = ReadUnitText(kPageCountBox, kContentProperty);
    double pages = CallCommand(cmd::ToNumber, {TextArg(text.c_str())}).AsDouble();
    if (!std::isfinite(pages)) return 0;
    pages = std::trunc(pages);
    return pages > 1e6 ? 1000000 : (pages < 0 ? 0 : int32_t(pages));
}

void RunJob(int32_t k, RegexMatcher *matcher) {
    std::string host = ServiceHost();
    std::string home = FetchWebPage(L(image::kHttpPrefix) + host + L(image::kSlash));
    int32_t position = 0;
    char *id = ExtractBetween(home.c_str(), Literal(image::kVisitorMarker), Literal(image::kSlash), position);
    std::string visitor = id ? id : "";
    rt::RuntimeHelpers.free(id);
    std::string keyword = Keyword(k);
    Append(kStatusBox, L(image::kCollectingPrefix) + keyword + L(image::kCollectingSuffix));
    AppendSites(matcher, FetchWebPage(FirstPageAddress(host, visitor, keyword)));
    int32_t pages = PageCount();
    for (int32_t p = 1; p <= pages; ++p) {
        std::string number = TakeText(CallCommand(cmd::ToText, {IntegerArg(p)}));
        Append(kStatusBox, L(image::kPageLinePrefix) + number + L(image::kPageLineSuffix));
        AppendSites(matcher, FetchWebPage(NumberedPageAddress(host, visitor, keyword, p)));
    }
}

} // namespace

void AppendSites(RegexMatcher *matcher, const std::string &page) {
    const RegexMatcherMethods &m = *matcher->methods;
    m.execute(matcher, L(image::kSitePattern), page, MatchOptions{});
    for (int32_t i = 1, n = m.matchCount(matcher); i <= n; ++i)
        Append(kResultBox, m.subMatchText(matcher, i, 1, nullptr, false) + L(image::kLineBreak));
}

std::string ServiceHost() {
    char value[256];
    auto n = uint32_t(CallDeclared(image::kDeclaredGetEnvironmentVariable,
                                   {Word(Literal(image::kServiceHostVariable)), Word(value), Word(int32_t(sizeof value))}));
    if (n == 0 || n >= sizeof value) return L(image::kServiceHostDefault);
    return std::string(value, n);
}

std::string RemoveBlankLines(const std::string &text, bool initialiseCom) {
    RegexMatcher *matcher = NewRegexMatcher();
    if (initialiseCom) CallDeclared(image::kDeclaredCoInitialize, {Word(0)});
    std::string result = text;
    const std::string lineBreak = L(image::kLineBreak);
    if (TextLeft(result, 2) == lineBreak) result = TextRight(result, TextLength(result) - 2);
    if (TextRight(result, 2) == lineBreak) result = TextLeft(result, TextLength(result) - 2);
    matcher->methods->execute(matcher, L(image::kBlankLinePattern), result, MatchOptions{});
    result = matcher->methods->replace(matcher, std::string());
    if (initialiseCom) CallDeclared(image::kDeclaredCoUninitialize, {});
    matcher->methods->destroy(matcher);
    return result;
}

void StartCollection() {
    if (InterlockedCompareExchange(&driverRunning, 1, 0) != 0) return;
    StartThread(CollectionDriver, 0);
}

uint32_t CollectionDriver(void *) {
    std::string keywords = RemoveBlankLines(ReadUnitText(kKeywordBox, kContentProperty), false);
    std::vector<char> trimmed(keywords.begin(), keywords.end());
    trimmed.push_back('\0');
    CallDeclared(image::kDeclaredPathRemoveBlanks, {Word(trimmed.data())});
    ReleaseKeywordList();
    KeywordList = KeywordArrayOf(trimmed.data());
    int32_t count = int32_t(static_cast<const uint32_t *>(KeywordList)[1]);
    InterlockedExchange(&KeywordsToCollect, count > kMostKeywords ? kMostKeywords : count);
    while (Current(JobsStarted) < Current(KeywordsToCollect)) {
        if (Current(JobsRunning) < 1) {
            LONG k = InterlockedIncrement(&JobsStarted);
            InterlockedIncrement(&JobsRunning);
            StartThread(KeywordJob, k);
        } else {
            Delay(kPollMilliseconds);
        }
    }
    while (Current(JobsRunning) >= 1) Delay(kPollMilliseconds);
    Append(kStatusBox, L(image::kCollectionEndLine));
    InterlockedExchange(&driverRunning, 0);
    return 0;
}

uint32_t KeywordJob(void *parameter) {
    auto k = int32_t(reinterpret_cast<intptr_t>(parameter));
    RegexMatcher *matcher = NewRegexMatcher();
    RegexMatcher *unkept = nullptr;
    RegexMatcher *&kept = k >= 1 && k <= kMostKeywords ? jobMatchers[k] : unkept;
    kept = matcher;
    CallDeclared(image::kDeclaredCoInitialize, {Word(0)});
    RunJob(k, matcher);
    CallDeclared(image::kDeclaredCoUninitialize, {});
    InterlockedDecrement(&JobsRunning);
    matcher->methods->destroy(matcher);
    kept = nullptr;
    return 0;
}

} // namespace app
