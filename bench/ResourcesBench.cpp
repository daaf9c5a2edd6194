// Start-up scan of class scripts and meshes: LoadClassDefaults over a generated tree of 2,000
// class scripts and 200 meshes in 10 packages, with cold directory listings every time.
#include "content/MeshFiles.h"
#include "content/Resources.h"
#include "core/Vfs.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kPackages = 10;
constexpr int kScriptsPerPackage = 200;
constexpr int kMeshesPerPackage = 20;

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// A script as the game writes them: header comment, declaration, mesh directives for the
// first scripts of a package, a defaultproperties block of a dozen lines.
std::string ClassScript(int package, int index) {
    const std::string name = "Class" + std::to_string(package) + "_" + std::to_string(index);
    const std::string parent = index == 0 ? "Actor" : "Class" + std::to_string(package) + "_" + std::to_string(index / 2);
    std::string text = "//=============================================================================\n// " + name +
                       ".\n//=============================================================================\n";
    text += "class " + name + " expands " + parent + "\n\tabstract;\n\n";
    if (index < kMeshesPerPackage) {
        const std::string mesh = "Mesh" + std::to_string(index);
        text += "#exec MESH IMPORT MESH=" + mesh + " ANIVFILE=MODELS\\" + mesh + "_a.3d DATAFILE=MODELS\\" + mesh + "_d.3d X=0 Y=0 Z=0\n";
        text += "#exec MESH ORIGIN MESH=" + mesh + " X=0 Y=0 Z=-20 YAW=64\n";
        text += "#exec MESH SEQUENCE MESH=" + mesh + " SEQ=All STARTFRAME=0 NUMFRAMES=8\n";
        text += "#exec MESH SEQUENCE MESH=" + mesh + " SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=15\n";
        text += "#exec MESH NOTIFY MESH=" + mesh + " SEQ=All TIME=0.5 FUNCTION=Step\n";
        text += "#exec MESHMAP SCALE MESHMAP=" + mesh + " X=0.06 Y=0.06 Z=0.12\n";
    }
    text += "\nfunction PostBeginPlay()\n{\n\tSuper.PostBeginPlay();\n}\n\ndefaultproperties\n{\n";
    for (int i = 0; i < 12; ++i) {
        text += "     Property" + std::to_string(i) + "=" + std::to_string(index * 12 + i) + "\n";
    }
    text += "}\n";
    return text;
}

void WriteMesh(const fs::path& models, int index) {
    constexpr uint16_t kFrames = 8;
    constexpr uint16_t kVertices = 100;
    std::vector<uint32_t> frames;
    for (int f = 0; f < kFrames; ++f) {
        for (int v = 0; v < kVertices; ++v) {
            frames.push_back(orv::PackMeshVertex({float(v), float(f), float(v % 7)}));
        }
    }
    std::vector<orv::MeshTriangle> triangles(150);
    for (size_t t = 0; t < triangles.size(); ++t) {
        for (int c = 0; c < 3; ++c) {
            triangles[t].Vertex[c] = static_cast<uint16_t>((t + c) % kVertices);
        }
    }
    const std::string stem = "Mesh" + std::to_string(index);
    WriteFile(models / (stem + "_a.3d"), orv::WriteMeshAnimationFile(kFrames, kVertices, frames));
    WriteFile(models / (stem + "_d.3d"), orv::WriteMeshDataFile(kVertices, triangles));
}

class ContentTreeFixture {
public:
    ContentTreeFixture() {
        root_ = fs::temp_directory_path() / ("orvane-bench-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        for (int p = 0; p < kPackages; ++p) {
            const fs::path package = root_ / "System" / ("Package" + std::to_string(p));
            for (int i = 0; i < kScriptsPerPackage; ++i) {
                WriteFile(package / "Classes" / ("Class" + std::to_string(p) + "_" + std::to_string(i) + ".uc"), ClassScript(p, i));
            }
            for (int m = 0; m < kMeshesPerPackage; ++m) {
                WriteMesh(package / "Models", m);
            }
        }
    }
    ~ContentTreeFixture() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const fs::path& Root() const { return root_; }

private:
    fs::path root_;
};

void BM_LoadClassDefaults(benchmark::State& state) {
    static ContentTreeFixture tree;
    const fs::path old = fs::current_path();
    fs::current_path(tree.Root());
    for (auto _ : state) {
        orv::InvalidateVfsCache();
        orv::Resources res;
        orv::LoadClassDefaults(res);
        if (res.Classes.Num() != kPackages * kScriptsPerPackage || res.Meshes.Num() != kPackages * kMeshesPerPackage + 1) {
            state.SkipWithError("the generated tree did not load completely");
            break;
        }
        benchmark::DoNotOptimize(res.Classes.Data());
    }
    fs::current_path(old);
    orv::InvalidateVfsCache();
    const int files = kPackages * (kScriptsPerPackage + 2 * kMeshesPerPackage);
    state.counters["files_per_second"] = benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadClassDefaults)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
