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
    "Usage: orvane-build MAP.t3d [--content DIR] [--output FILE]\n"
    "Compiles the brushes of a T3D map into the Level Model the engine loads (MAP.bsp beside the map).\n"
    "  --content DIR  game tree whose texture folders qualify bare texture names\n"
    "                 (default: the folder two levels above the map, which holds Maps)\n"
    "  --output FILE  where to write the Level Model instead\n"
    "  --help         this text\n";

[[noreturn]] void Usage(const char* problem) {
    std::fprintf(stderr, "orvane-build: %s\n%s", problem, kUsage);
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    orv::SetFatalHandler([](const std::string& message) {
        orv::LogClose();
        std::fprintf(stderr, "Error: %s\n", message.c_str());
        std::exit(1);
    });
    std::string map, output, content;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--content" || arg == "--output") {
            if (i + 1 >= argc) {
                Usage((arg + " needs a value").c_str());
            }
            (arg == "--content" ? content : output) = argv[++i];
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
    if (output.empty()) {
        output = std::filesystem::path(map).replace_extension(".bsp").string();
    }
    orv::BuildLevelFile(map, output, options);
    return 0;
}
