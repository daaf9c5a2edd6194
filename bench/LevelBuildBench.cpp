// The level compiler on a real editor export: DM-Liandri's 332 brushes from T3D text to the Level
// Model, and its lighting alone (rays per second); and the full compile of the demo level Demo1.
// DM-Liandri is read from ../shared/peers (or ORV_PEERS_DIR); without it those figures are skipped.
#include "BenchSupport.h"
#include "LevelBuild.h"
#include "LightSources.h"
#include "Lighting.h"

#include "core/Vfs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;


void BM_ReadLiandri(benchmark::State& state) {
    const std::string path = orv::bench::LiandriPath();
    std::string text;
    if (path.empty() || !orv::ReadWholeFile(path, text)) {
        state.SkipWithError("DM-Liandri.t3d not found (set ORV_PEERS_DIR)");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::ParseMap(text, path));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadLiandri)->Unit(benchmark::kMillisecond);

// Lighting only, on every core (range(0) threads, 0 for one per core), of the compiled geometry.
void BM_LightLiandri(benchmark::State& state) {
    const std::string path = orv::bench::LiandriPath();
    if (path.empty() || !orv::FileExists(path)) {
        state.SkipWithError("DM-Liandri.t3d not found (set ORV_PEERS_DIR)");
        return;
    }
    orv::LevelBuildOptions options;
    options.Progress = false;
    options.Lighting = false;
    orv::CompiledLevel level = orv::CompileMap(orv::ReadMapFile(path), options);
    const std::vector<orv::MapLight> lights = orv::FindLights(level.Map, orv::ClassDefaults(orv::bench::GameDir()));
    orv::LightingOptions lighting;
    lighting.Progress = false;
    lighting.Threads = static_cast<int>(state.range(0));
    orv::LightingStats stats;
    long long rays = 0;
    for (auto _ : state) {
        stats = orv::BuildLighting(level.Model, level.Tree, level.Map, lights, lighting);
        rays += stats.Rays;
    }
    state.counters["rays/s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
    state.counters["rays"] = static_cast<double>(stats.Rays);
    state.counters["texels"] = static_cast<double>(stats.Texels);
    state.counters["lightmaps"] = stats.Lightmaps;
    state.counters["lights"] = stats.Lights;
}
BENCHMARK(BM_LightLiandri)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole compile of Demo1, as the build runs it: read, geometry, lighting, written bytes.
void BM_CompileDemo1(benchmark::State& state) {
    const std::string path = std::string(ORV_SOURCE_DIR) + "/content/maps/Demo1.t3d";
    if (!orv::FileExists(path)) {
        state.SkipWithError("content/maps/Demo1.t3d not found");
        return;
    }
    orv::LevelBuildOptions options;
    options.Progress = false;
    options.ContentDir = orv::bench::GameDir();
    double rays = 0;
    for (auto _ : state) {
        const orv::CompiledLevel level = orv::CompileMap(orv::ReadMapFile(path), options);
        benchmark::DoNotOptimize(orv::WriteLevelModel(level.Model));
        rays += static_cast<double>(level.LightingCounts.Rays);
    }
    state.counters["rays/s"] = benchmark::Counter(rays, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CompileDemo1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CompileLiandri(benchmark::State& state) {
    const std::string path = orv::bench::LiandriPath();
    if (path.empty() || !orv::FileExists(path)) {
        state.SkipWithError("DM-Liandri.t3d not found (set ORV_PEERS_DIR)");
        return;
    }
    const orv::MapFile map = orv::ReadMapFile(path);
    orv::LevelBuildOptions options;
    options.Progress = false;
    size_t nodes = 0;
    for (auto _ : state) {
        const orv::CompiledLevel level = orv::CompileMap(map, options);
        nodes = static_cast<size_t>(level.Model.Nodes.Num());
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_CompileLiandri)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
