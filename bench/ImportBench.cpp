// orvane-import on a real map: reading DM-Liandri.unr and converting its level (actors as T3D,
// the world model checked by the engine's reader), and loading the imported level through the
// engine's loading pipeline. Files come from ../shared/peers at run time.
#include "BenchSupport.h"
#include "MapImport.h"
#include "Package.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

void BM_ImportDMLiandri(benchmark::State& state) {
    const fs::path unr = orv::bench::PeersFile(fs::path("maps") / "DM-Liandri.unr");
    if (unr.empty()) {
        state.SkipWithError("../shared/peers/maps/DM-Liandri.unr is not here");
        return;
    }
    for (auto _ : state) {
        const orv::Package package = orv::Package::Open(unr.string());
        const orv::ConvertedMap map = orv::ConvertMap(package);
        benchmark::DoNotOptimize(map.T3d.size());
    }
}
BENCHMARK(BM_ImportDMLiandri)->Unit(benchmark::kMillisecond);

void BM_LoadImportedDMLiandri(benchmark::State& state) {
    const fs::path unr = orv::bench::PeersFile(fs::path("maps") / "DM-Liandri.unr");
    if (unr.empty()) {
        state.SkipWithError("../shared/peers/maps/DM-Liandri.unr is not here");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "orvane-bench-import";
    fs::create_directories(dir / "Maps");
    const orv::ConvertedMap map = orv::ConvertMap(orv::Package::Open(unr.string()));
    const std::vector<uint8_t> model = orv::WriteLevelModel(map.Model);
    orv::WriteWholeFile((dir / "Maps" / "DM-Liandri.t3d").string(), map.T3d);
    orv::WriteWholeFile((dir / "Maps" / "DM-Liandri.bsp").string(),
                        std::string_view(reinterpret_cast<const char*>(model.data()), model.size()));
    orv::bench::TimeLevelLoads(state, dir, "DM-Liandri");
}
BENCHMARK(BM_LoadImportedDMLiandri)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
