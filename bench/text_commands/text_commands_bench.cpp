// The searching, replacing and splitting text commands against plain baselines over
// the same text, measured in the same run. Each benchmark's manual time is the
// command's; the counter "ratio" is command time / baseline time. Both are measured
// in thread CPU time, so a busy machine does not charge one side for the other.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "memory.h"
#include "text_commands.h"
#include "value.h"

namespace {

double Now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Mostly ASCII words with some two-byte characters, commas and line breaks.
std::string MakeText(size_t size) {
    std::mt19937 random(42);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        unsigned kind = random() % 20;
        if (kind == 0) {
            text += char(0xB0 + random() % 0x48);
            text += char(0xA1 + random() % 0x5E);
        } else {
            size_t letters = 2 + random() % 8;
            for (size_t i = 0; i < letters; ++i) text += char('a' + random() % 26);
        }
        text += kind == 1 ? "\r\n" : (kind < 8 ? "," : " ");
    }
    text.resize(size);
    return text;
}

const std::string &Text(size_t size) {
    static std::string small = MakeText(1 << 20);
    static std::string large = MakeText(64 << 20);
    return size == (1u << 20) ? small : large;
}

// The text with `needle` written over it at `fraction` of its length.
std::string TextWithNeedle(size_t size, std::string_view needle, double fraction) {
    std::string text = Text(size);
    size_t at = size_t(double(size - needle.size()) * fraction);
    // Start at a character: step back over an unfinished two-byte character.
    size_t walk = 0;
    while (walk < at) walk += uint8_t(text[walk]) >= 0x80 ? 2 : 1;
    text.replace(walk, needle.size(), needle);
    return text;
}

rt::TypedValue TextValue(const std::string &s) {
    rt::TypedValue v{0, 0, rt::kTypeText};
    v.SetPointer(s.c_str());
    return v;
}

rt::TypedValue Call(rt::CommandRoutine command, std::vector<rt::TypedValue> args) {
    rt::TypedValue result{0, 0, 0};
    command(&result, int32_t(args.size()), args.data());
    return result;
}

// Runs `ours` and `baseline` once per iteration; reports our time and the ratio.
template <typename Ours, typename Baseline>
void Measure(benchmark::State &state, size_t bytes, Ours ours, Baseline baseline) {
    double oursTotal = 0, baseTotal = 0;
    for (auto _ : state) {
        double t0 = Now();
        ours();
        double t1 = Now();
        baseline();
        double t2 = Now();
        oursTotal += t1 - t0;
        baseTotal += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["ratio"] = oursTotal / baseTotal;
}

constexpr std::string_view kNeedle = "sorvelneedle";

void FindTextVsMemmem(benchmark::State &state) {
    size_t size = size_t(state.range(0));
    std::string text = TextWithNeedle(size, kNeedle, 0.95);
    std::string needle(kNeedle);
    int32_t found = 0;
    const void *hit = nullptr;
    Measure(state, size,
            [&] { found = Call(cmd::FindText, {TextValue(text), TextValue(needle)}).AsInteger(); },
            [&] { hit = memmem(text.data(), text.size(), needle.data(), needle.size()); });
    if (found < 1 || static_cast<const char *>(hit) != text.data() + found - 1) state.SkipWithError("mismatch");
}

// range(1): where the only match lies, in percent of the text.
void FindTextReverseVsRfind(benchmark::State &state) {
    size_t size = size_t(state.range(0));
    std::string text = TextWithNeedle(size, kNeedle, double(state.range(1)) / 100);
    std::string needle(kNeedle);
    int32_t found = 0;
    size_t hit = 0;
    Measure(state, size,
            [&] { found = Call(cmd::FindTextReverse, {TextValue(text), TextValue(needle)}).AsInteger(); },
            [&] { hit = std::string_view(text).rfind(needle); });
    if (found < 1 || hit != size_t(found - 1)) state.SkipWithError("mismatch");
}

std::string PlainReplace(const std::string &text, std::string_view sought, std::string_view with) {
    std::string out;
    size_t at = 0;
    for (size_t found; (found = text.find(sought, at)) != std::string::npos; at = found + sought.size()) {
        out.append(text, at, found - at);
        out.append(with);
    }
    out.append(text, at);
    return out;
}

// range(1): 0 = a rare sought text, 1 = the comma, about every seventh byte.
void ReplaceSubtextVsPlain(benchmark::State &state) {
    size_t size = size_t(state.range(0));
    bool many = state.range(1) != 0;
    std::string text = TextWithNeedle(size, kNeedle, 0.5);
    std::string sought = many ? "," : std::string(kNeedle);
    std::string with = many ? ";;" : "found";
    size_t ourLength = 0, plainLength = 0;
    Measure(
        state, size,
        [&] {
            rt::TypedValue r = Call(cmd::ReplaceSubtext, {TextValue(text), TextValue(sought), TextValue(with)});
            ourLength = rt::TextSize(r.Pointer<char>());
            rt::FreeMemory(r.Pointer<void>());
        },
        [&] { plainLength = PlainReplace(text, sought, with).size(); });
    if (ourLength != plainLength) state.SkipWithError("mismatch");
}

std::vector<std::string> PlainSplit(const std::string &text, std::string_view delimiter) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t found; (found = text.find(delimiter, at)) != std::string::npos; at = found + delimiter.size())
        parts.emplace_back(text, at, found - at);
    if (at < text.size()) parts.emplace_back(text, at);
    return parts;
}

// range(1): 0 = at line breaks, 1 = at commas (many short parts).
void SplitTextVsPlain(benchmark::State &state) {
    size_t size = size_t(state.range(0));
    std::string text = Text(size);
    std::string delimiter = state.range(1) ? "," : "\r\n";
    size_t ourCount = 0, plainCount = 0;
    Measure(
        state, size,
        [&] {
            rt::TypedValue r = Call(cmd::SplitText, {TextValue(text), TextValue(delimiter)});
            ourCount = rt::ArrayElementsOf(r.Pointer<void>()).count;
            rt::FreeArray(rt::kTypeText, r.Pointer<void>());
        },
        [&] { plainCount = PlainSplit(text, delimiter).size(); });
    if (ourCount != plainCount) state.SkipWithError("mismatch");
}

constexpr int64_t kSmall = 1 << 20;
constexpr int64_t kLarge = 64 << 20;

BENCHMARK(FindTextVsMemmem)->Arg(kSmall)->Arg(kLarge)->UseManualTime()->MinTime(1.0)->Unit(benchmark::kMillisecond);
BENCHMARK(FindTextReverseVsRfind)
    ->ArgsProduct({{kSmall, kLarge}, {5, 95}})
    ->UseManualTime()->MinTime(1.0)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceSubtextVsPlain)
    ->ArgsProduct({{kSmall, kLarge}, {0, 1}})
    ->UseManualTime()->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SplitTextVsPlain)->ArgsProduct({{kSmall, kLarge}, {0, 1}})->UseManualTime()->MinTime(1.0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
