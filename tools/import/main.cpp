// orvane-import: a player's own Unreal packages (maps, textures, sounds, music) into the game's
// content tree.
#include "Importer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: orvane-import FILE... [--out DIR] [--force]\n"
    "Imports Unreal packages into the game's content tree: maps (.unr) to Maps/NAME.t3d and\n"
    "Maps/NAME.bsp, textures (.utx) to Textures/, sounds (.uax) to Sounds/, music (.umx) to Music/.\n"
    "Give a map's texture packages with it; textures not given are listed and drawn with the\n"
    "fallback texture.\n"
    "  --out DIR  the content tree (default: the folder of this program, the game folder)\n"
    "  --force    import packages again that were imported before\n"
    "  --help     this text\n";

[[noreturn]] void Usage(const std::string& problem) {
    std::fprintf(stderr, "orvane-import: %s\n%s", problem.c_str(), kUsage);
    std::exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    orv::ImportOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (arg == "--out") {
            if (i + 1 >= argc) {
                Usage("--out needs a folder");
            }
            options.OutDir = argv[++i];
        } else if (arg == "--force") {
            options.Force = true;
        } else if (arg.rfind("--", 0) == 0) {
            Usage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        Usage("no package given");
    }
    if (options.OutDir.empty()) {
        std::error_code ec;
        const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
        options.OutDir = ec ? std::filesystem::current_path() : self.parent_path();
    }
    return orv::ImportPackages(files, options, std::cout, std::cerr);
}
