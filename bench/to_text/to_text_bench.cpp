// ToText of doubles through the command call convention, against a plain snprintf
// "%.13g" of the same values. Each run measures both and reports ToText's time over
// the baseline's as the "ratio" counter. The argument is the size of text produced.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "conversion_commands.h"
#include "runtime_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// Whole numbers, short decimals, and values over a wide range of magnitudes.
std::vector<double> MakeValues(size_t count) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> exponent(-30, 30), kind(0, 2);
    std::vector<double> values(count);
    for (double &v : values) {
        switch (kind(random)) {
        case 0: v = std::floor(unit(random) * 1e6); break;
        case 1: v = std::round(unit(random) * 1e4) / 100; break;
        default: v = (unit(random) - 0.5) * std::pow(10.0, exponent(random)); break;
        }
    }
    return values;
}

size_t ViaToText(const std::vector<double> &values) {
    size_t total = 0;
    for (double v : values) {
        rt::TypedValue r = testsupport::CallCommand(cmd::ToText, {rt::MakeDouble(v)});
        total += rt::TextSize(r.Pointer<const char>());
        rt::FreeValue(r);
    }
    return total;
}

size_t ViaSnprintf(const std::vector<double> &values) {
    size_t total = 0;
    char buffer[64];
    for (double v : values) total += size_t(std::snprintf(buffer, sizeof buffer, "%.13g", v));
    return total;
}

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

void ToTextOfDoubles(benchmark::State &state) {
    testsupport::StartTestRuntime();
    const size_t textBytes = size_t(state.range(0));
    std::vector<double> values = MakeValues(textBytes / 10); // about 10 bytes a value
    double command = 0, baseline = 0;
    size_t produced = 0;
    for (auto _ : state) {
        Clock::time_point t0 = Clock::now();
        produced = ViaToText(values);
        Clock::time_point t1 = Clock::now();
        benchmark::DoNotOptimize(ViaSnprintf(values));
        Clock::time_point t2 = Clock::now();
        command += Seconds(t0, t1);
        baseline += Seconds(t1, t2);
    }
    double perValue = 1e9 / (double(state.iterations()) * double(values.size()));
    state.counters["ratio"] = command / baseline;
    state.counters["ToText_ns"] = command * perValue;
    state.counters["snprintf_ns"] = baseline * perValue;
    state.counters["text_MiB"] = double(produced) / (1 << 20);
}

BENCHMARK(ToTextOfDoubles)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
