// The level compiler on a real editor export: DM-Liandri's 332 brushes from T3D text to the Level
// Model. The map is read from ../shared/peers (or ORV_PEERS_DIR); without it the figures are skipped.
#include "LevelBuild.h"

#include "core/Vfs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string LiandriPath() {
    const fs::path relative = fs::path("blender_t3d") / "DM-Liandri.t3d";
    if (const char* peers = std::getenv("ORV_PEERS_DIR")) {
        return (fs::path(peers) / relative).string();
    }
    std::error_code ec;
    fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (int up = 0; up < 6 && !dir.empty(); ++up, dir = dir.parent_path()) {
        const fs::path candidate = dir / ".." / "shared" / "peers" / relative;
        if (fs::exists(candidate, ec)) {
            return candidate.lexically_normal().string();
        }
    }
    return {};
}

void BM_ReadLiandri(benchmark::State& state) {
    const std::string path = LiandriPath();
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

void BM_CompileLiandri(benchmark::State& state) {
    const std::string path = LiandriPath();
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
