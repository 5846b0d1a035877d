// After its first call a declared function costs a table lookup and the word call.
// Each run calls lstrlenA through helper slot 1 and directly through a pointer, and
// reports the declared call's time over the direct one's as the "ratio" counter.
#include <benchmark/benchmark.h>

#include <chrono>

#include "image.h"
#include "runtime_app.h"
#include "runtime_interface.h"

namespace {

using Clock = std::chrono::steady_clock;

const char *const dllNames[] = {""};
const char *const exportNames[] = {"lstrlenA"};
alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const rt::ImageHeader image = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 0, nullptr, 1, dllNames, exportNames};

void StartRuntime() {
    static rt::RuntimeApp app(&image, nullptr, nullptr);
    static bool started = (rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr), true);
    (void)started;
}

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

void DeclaredCallOfLstrlen(benchmark::State &state) {
    StartRuntime();
    const char *text = "keyword";
    const uintptr_t args[] = {reinterpret_cast<uintptr_t>(text)};
    int (*volatile direct)(const char *) = &lstrlenA;
    const int calls = 1 << 16;
    double declared = 0, baseline = 0;
    for (auto _ : state) {
        Clock::time_point t0 = Clock::now();
        for (int i = 0; i < calls; ++i) benchmark::DoNotOptimize(rt::RuntimeHelpers.callDeclared(0, args, 1));
        Clock::time_point t1 = Clock::now();
        for (int i = 0; i < calls; ++i) benchmark::DoNotOptimize(direct(text));
        Clock::time_point t2 = Clock::now();
        declared += Seconds(t0, t1);
        baseline += Seconds(t1, t2);
    }
    double perCall = 1e9 / (double(state.iterations()) * calls);
    state.counters["ratio"] = declared / baseline;
    state.counters["declared_ns"] = declared * perCall;
    state.counters["direct_ns"] = baseline * perCall;
}

BENCHMARK(DeclaredCallOfLstrlen)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
