// Reading speed of level files: the T3D reader on a generated 20 MB map and the Level Model
// reader on a generated model of 50,000 nodes. Figures are bytes per second.
#include "BenchSupport.h"
#include "content/LevelModel.h"
#include "content/T3dParser.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class CountingSink final : public orv::T3dSink {
public:
    void BeginActor(std::string_view, std::string_view, int) override { ++Actors; }
    void Property(std::string_view, std::string_view) override { ++Properties; }
    void Polygon(orv::T3dPolygon&&) override { ++Polygons; }
    void EndActor() override {}
    long Actors = 0, Properties = 0, Polygons = 0;
};

std::string GeneratedT3d(size_t targetBytes) {
    std::string text = "Begin Map\r\n";
    for (int i = 0; text.size() < targetBytes; ++i) {
        const std::string n = std::to_string(i);
        if (i % 8 == 0) {
            text += "Begin Actor Class=Mover Name=Mover" + n + "\r\n    Location=(X=" + n + ".5,Y=-64.0,Z=128.25)\r\n";
            text += "    Begin Brush Name=Model" + n + "\r\n       Begin PolyList\r\n";
            for (int p = 0; p < 6; ++p) {
                text += "          Begin Polygon Texture=Orvane.Metal.Plate Flags=0 Link=" + std::to_string(p) + "\r\n"
                        "             Origin   +00128.000000,+00128.000000,-00128.000000\r\n"
                        "             Normal   +00000.000000,+00000.000000,-00001.000000\r\n"
                        "             TextureU +00001.000000,+00000.000000,+00000.000000\r\n"
                        "             TextureV +00000.000000,-00001.000000,+00000.000000\r\n"
                        "             Pan      U=16 V=-8\r\n"
                        "             Vertex   +00128.000000,+00128.000000,-00128.000000\r\n"
                        "             Vertex   +00128.000000,-00128.000000,-00128.000000\r\n"
                        "             Vertex   -00128.000000,-00128.000000,-00128.000000\r\n"
                        "             Vertex   -00128.000000,+00128.000000,-00128.000000\r\n"
                        "          End Polygon\r\n";
            }
            text += "       End PolyList\r\n    End Brush\r\nEnd Actor\r\n";
        } else {
            text += "Begin Actor Class=Light Name=Light" + n + "\r\n    LightBrightness=200\r\n    LightRadius=32\r\n"
                    "    Location=(X=" + n + ".0,Y=512.0,Z=96.0)\r\n    Tag=Lamp\r\n    bStatic=True\r\nEnd Actor\r\n";
        }
    }
    return text + "End Map\r\n";
}

void BM_ParseT3D20MB(benchmark::State& state) {
    const std::string text = GeneratedT3d(20u << 20);
    for (auto _ : state) {
        CountingSink sink;
        orv::ParseT3DText("bench.t3d", text, sink);
        benchmark::DoNotOptimize(sink.Polygons);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseT3D20MB)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> GeneratedModel(int nodes) {
    orv::LevelModel m;
    for (int i = 0; i < nodes * 2; ++i) {
        m.Points.Add({float(i % 977), float(i % 491), float(i % 37)});
    }
    orv::Surface s;
    s.TextureName = "Orvane.Stone.Wall";
    s.Normal = {0, 0, 1};
    s.UAxis = {1, 0, 0};
    s.VAxis = {0, 1, 0};
    for (int i = 0; i < nodes / 4; ++i) {
        m.Surfaces.Add(s);
    }
    for (int i = 0; i < nodes; ++i) {
        orv::BspNode n;
        n.NodePlane = {{0, 0, 1}, float(i)};
        n.Surface = i % (nodes / 4);
        n.FirstVertex = m.VertexPool.Num();
        n.NumVertices = 4;
        for (int v = 0; v < 4; ++v) {
            m.VertexPool.Add((i * 2 + v) % (nodes * 2));
        }
        // A balanced tree: node i has children 2i+1 and 2i+2.
        n.Back = 2 * i + 1 < nodes ? 2 * i + 1 : -1;
        n.Front = 2 * i + 2 < nodes ? 2 * i + 2 : -1;
        m.Nodes.Add(n);
    }
    return orv::WriteLevelModel(m);
}

void BM_LoadLevelModel50kNodes(benchmark::State& state) {
    const std::vector<uint8_t> bytes = GeneratedModel(50000);
    for (auto _ : state) {
        orv::LevelModel model;
        orv::LoadLevelModelFromMemory(model, "bench.bsp", bytes, [](std::string_view) { return nullptr; });
        benchmark::DoNotOptimize(model.Nodes.Num());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadLevelModel50kNodes)->Unit(benchmark::kMillisecond);

// DM-Liandri's actors (a real export, read from ../shared/peers at run time) over a generated
// model: the whole loading pipeline without rendering or sound.
void BM_LoadLevelDMLiandri(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path t3d = orv::bench::LiandriPath();
    if (t3d.empty()) {
        state.SkipWithError("../shared/peers/exports/DM-Liandri.t3d is not here");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "orvane-bench-load";
    fs::create_directories(dir / "Maps");
    fs::copy_file(t3d, dir / "Maps" / "DM-Liandri.t3d", fs::copy_options::overwrite_existing);
    const std::vector<uint8_t> model = GeneratedModel(4000);
    orv::WriteWholeFile((dir / "Maps" / "DM-Liandri.bsp").string(),
                        std::string_view(reinterpret_cast<const char*>(model.data()), model.size()));
    orv::bench::TimeLevelLoads(state, dir, "DM-Liandri");
}
BENCHMARK(BM_LoadLevelDMLiandri)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
