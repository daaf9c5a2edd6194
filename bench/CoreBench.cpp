// Throughput of the helpers every text reader leans on.
#include "core/ConfigFile.h"
#include "core/Rotator.h"
#include "core/Text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_ParseFloat(benchmark::State& state) {
    const std::string numbers[] = {"+00128.000000", "-0.5", "1.5e3", "12345.678"};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::ParseFloat(numbers[i++ & 3]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseFloat);

void BM_RotateVector(benchmark::State& state) {
    orv::Vector v{1, 2, 3};
    const orv::Rotator r{1000, 2000, 3000};
    for (auto _ : state) {
        v = orv::RotateVector(v, r);
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotateVector);

void BM_ConfigGet(benchmark::State& state) {
    orv::ConfigTable table;
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    orv::ConfigParse(table, text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::ConfigGet(table, "key39"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConfigGet);

} // namespace

BENCHMARK_MAIN();
