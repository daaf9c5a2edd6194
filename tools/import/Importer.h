// orvane-import's work: packages into the content tree, one line of progress each, a summary, an
// error line per refused file.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace orv {

struct ImportOptions {
    std::filesystem::path OutDir; // the content tree (the game folder)
    bool Force = false;           // import packages again that are already there
};

// Texture, sound and music packages go first and maps last, so that a map's missing textures
// are known. Returns the exit status: 1 when any file was refused, else 0.
int ImportPackages(const std::vector<std::string>& files, const ImportOptions& options, std::ostream& out,
                   std::ostream& err);

} // namespace orv
