// orvane-mkcontent: makes the demo-content tree the player reads, from the generators of
// orv_mkcontent_lib and the authored text under content/.
#include "ContentTree.h"
#include "core/Fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void PrintUsage(std::FILE* to) {
    std::fputs("Usage: orvane-mkcontent --out DIR --source DIR [--only PARTS] [--threads N] [--quiet]\n"
               "Writes the Orvane demo content (textures, fonts, meshes, sounds, music) into DIR\n"
               "and copies the authored text sources (Orvane.ini, class scripts) from --source.\n"
               "--only makes just the listed parts (comma-separated): authored, engine, fonts, effects,\n"
               "world, meshes, sounds, music.\n",
               to);
}

} // namespace

int main(int argc, char** argv) {
    orv::SetFatalHandler([](const std::string& message) {
        std::fprintf(stderr, "orvane-mkcontent: %s\n", message.c_str());
        std::exit(1);
    });
    orv::ContentOptions options;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        } else if (arg == "--out" && hasValue) {
            options.OutDir = argv[++i];
        } else if (arg == "--source" && hasValue) {
            options.SourceDir = argv[++i];
        } else if (arg == "--threads" && hasValue) {
            options.Threads = std::atoi(argv[++i]);
        } else if (arg == "--only" && hasValue) {
            options.Parts = orv::ParseContentParts(argv[++i]);
            if (options.Parts == 0) {
                std::fprintf(stderr, "orvane-mkcontent: --only takes a comma-separated list of: %s\n",
                             orv::ContentPartNames().c_str());
                return 2;
            }
        } else if (arg == "--quiet") {
            quiet = true;
        } else {
            std::fprintf(stderr, "orvane-mkcontent: unknown or incomplete argument '%s'\n", argv[i]);
            PrintUsage(stderr);
            return 2;
        }
    }
    if (options.OutDir.empty() || options.SourceDir.empty()) {
        std::fputs("orvane-mkcontent: --out and --source are required\n", stderr);
        PrintUsage(stderr);
        return 2;
    }
    if (!quiet) {
        options.Progress = [](const std::string& line) { std::printf("%s\n", line.c_str()); std::fflush(stdout); };
    }
    const std::vector<std::string> errors = orv::GenerateContent(options);
    for (const std::string& error : errors) {
        std::fprintf(stderr, "orvane-mkcontent: error: %s\n", error.c_str());
    }
    if (!errors.empty()) {
        return 1;
    }
    if (!quiet) {
        std::printf("Content written to %s\n", options.OutDir.string().c_str());
    }
    return 0;
}
