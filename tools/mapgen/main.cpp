// orvane-mapgen: writes the demo levels' T3D sources (Demo1.t3d, Demo2.t3d) into a folder;
// content/maps holds the checked-in copies that the build compiles.
#include "DemoMaps.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr const char* kUsage = "Usage: orvane-mapgen --out DIR\n"
                               "Writes the demo levels (Demo1.t3d, Demo2.t3d) into DIR.\n";

} // namespace

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else {
            std::fprintf(stderr, "orvane-mapgen: unknown or incomplete argument '%s'\n%s", arg.c_str(), kUsage);
            return EXIT_FAILURE;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "orvane-mapgen: --out is required\n%s", kUsage);
        return EXIT_FAILURE;
    }
    std::error_code error;
    std::filesystem::create_directories(out, error);
    for (const orv::mapgen::DemoMap& map : orv::mapgen::DemoMaps()) {
        const std::filesystem::path path = std::filesystem::path(out) / (map.Name + ".t3d");
        std::ofstream file(path, std::ios::binary);
        file << map.Text;
        if (!file) {
            std::fprintf(stderr, "orvane-mapgen: cannot write %s\n", path.string().c_str());
            return EXIT_FAILURE;
        }
        std::printf("Wrote %s\n", path.string().c_str());
    }
    return EXIT_SUCCESS;
}
