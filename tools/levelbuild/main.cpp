// orvane-build: compiles a T3D map's brushes into the Level Model (".bsp") the engine loads.
#include "LevelBuild.h"

#include "core/Fatal.h"
#include "core/Log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: orvane-build MAP.t3d [--content DIR] [--output FILE] [--threads N] [--no-lighting] [--quiet]\n"
    "Compiles the brushes of a T3D map into the Level Model the engine loads (MAP.bsp beside the map)\n"
    "and lights it: lightmaps, light lists and shadows.\n"
    "  --content DIR  game tree whose texture folders qualify bare texture names and whose class\n"
    "                 scripts give the actors' default properties\n"
    "                 (default: the folder two levels above the map, which holds Maps)\n"
    "  --output FILE  where to write the Level Model instead\n"
    "  --threads N    threads for the lighting (default: one per core)\n"
    "  --no-lighting  geometry only: no lightmaps, light lists or shadows\n"
    "  --quiet        only warnings and errors\n"
    "  --help         this text\n";

// More lighting threads than any machine has cores: a larger number is a typo.
constexpr long kMaxThreads = 256;

[[noreturn]] void Usage(const char* problem) {
    std::fprintf(stderr, "orvane-build: %s\n%s", problem, kUsage);
    std::exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char** argv) {
    orv::SetFatalHandler([](const std::string& message) {
        orv::LogClose();
        std::fprintf(stderr, "Error: %s\n", message.c_str());
        std::exit(EXIT_FAILURE);
    });
    std::string map, output, content, threads;
    bool lighting = true, quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (arg == "--content" || arg == "--output" || arg == "--threads") {
            if (i + 1 >= argc) {
                Usage((arg + " needs a value").c_str());
            }
            (arg == "--content" ? content : arg == "--output" ? output : threads) = argv[++i];
        } else if (arg == "--no-lighting") {
            lighting = false;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg.rfind("--", 0) == 0) {
            Usage(("unknown option " + arg).c_str());
        } else if (map.empty()) {
            map = arg;
        } else {
            Usage(("more than one map given: " + arg).c_str());
        }
    }
    if (map.empty()) {
        Usage("no map given");
    }
    orv::LevelBuildOptions options;
    options.ContentDir = content.empty() ? orv::DefaultContentDir(map) : content;
    options.Lighting = lighting;
    options.Progress = !quiet;
    if (!threads.empty()) {
        char* end = nullptr;
        const long n = std::strtol(threads.c_str(), &end, 10);
        if (*end != '\0' || n < 1 || n > kMaxThreads) {
            Usage(("--threads takes a number from 1 to " + std::to_string(kMaxThreads) + ", not " + threads).c_str());
        }
        options.Threads = static_cast<int>(n);
    }
    if (output.empty()) {
        output = std::filesystem::path(map).replace_extension(".bsp").string();
    }
    orv::BuildLevelFile(map, output, options);
    return EXIT_SUCCESS;
}
