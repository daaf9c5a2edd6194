// Running the importer over the files given: order, skipping, writing, reporting.
#include "Importer.h"

#include "Assets.h"
#include "MapImport.h"
#include "Package.h"

#include "core/Text.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace orv {

namespace {

bool IsMapFile(const std::string& file) { return SameText(std::filesystem::path(file).extension().string(), ".unr"); }

// The entry of a folder whose name equals name ASCII case-blind, as the engine's file system
// finds it; empty when there is none.
std::filesystem::path FindCaseBlind(const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (SameText(entry.path().filename().string(), name)) {
            return entry.path();
        }
    }
    return {};
}

bool TextureExists(const std::filesystem::path& root, const std::string& name) {
    const std::filesystem::path stem = TextureFileStem(root, name);
    std::filesystem::path at = root;
    for (const auto& part : std::filesystem::relative(stem.parent_path(), root)) {
        at = FindCaseBlind(at, part.string());
        if (at.empty()) {
            return false;
        }
    }
    for (const char* ext : {".png", ".firet", ".wett"}) {
        if (!FindCaseBlind(at, stem.filename().string() + ext).empty()) {
            return true;
        }
    }
    return false;
}

// What a package leaves in the tree first, so that a second run knows it is there.
bool AlreadyImported(const std::filesystem::path& root, const std::string& file) {
    const std::filesystem::path path(file);
    const std::string stem = path.stem().string();
    const std::string ext = path.extension().string();
    if (SameText(ext, ".unr")) {
        return std::filesystem::exists(root / "Maps" / (stem + ".t3d"));
    }
    if (SameText(ext, ".uax")) {
        return std::filesystem::is_directory(root / "Sounds" / stem);
    }
    if (SameText(ext, ".umx")) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(root / "Music", ec)) {
            if (SameText(entry.path().stem().string(), stem)) {
                return true;
            }
        }
        return false;
    }
    return std::filesystem::is_directory(root / "Textures" / stem);
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw ImportError{path.string() + ": cannot be written"};
    }
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw ImportError{path.string() + ": cannot be written"};
    }
}

std::string AssetSummary(const AssetStats& s) {
    std::string text;
    auto add = [&](int n, const char* what) {
        if (n > 0) {
            text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + what;
        }
    };
    add(s.Textures, "textures");
    add(s.Procedural, "fire and water textures");
    add(s.Sounds, "sounds");
    add(s.Music, "music");
    return text;
}

void ImportMap(const Package& package, const std::filesystem::path& root, std::ostream& out) {
    const ConvertedMap map = ConvertMap(package);
    AssetStats assets;
    ImportAssets(package, root, assets);
    const std::filesystem::path maps = root / "Maps";
    WriteText(maps / (package.PackageName() + ".t3d"), map.T3d);
    WriteBytes(maps / (package.PackageName() + ".bsp"), WriteLevelModel(map.Model));
    const MapStats& s = map.Stats;
    std::string line = "  " + package.PackageName() + ": " + std::to_string(s.Actors) + " actors (" +
                       std::to_string(s.Movers) + " movers), " + std::to_string(s.Nodes) + " nodes, " +
                       std::to_string(s.Surfaces) + " surfaces, " + std::to_string(s.Lightmaps) + " lightmaps";
    const std::string own = AssetSummary(assets);
    out << line << (own.empty() ? "" : ", its own " + own) << "\n";
    // Textures of packages not imported: listed once per package; the fallback texture stands in.
    std::map<std::string, std::vector<std::string>> missing;
    for (const std::string& name : s.Textures) {
        // The map's own textures were written beside it just now.
        if (!StartsWithText(name, package.OwnName() + ".") && !TextureExists(root, name)) {
            const size_t dot = name.find('.');
            missing[name.substr(0, dot)].push_back(name.substr(dot == std::string::npos ? 0 : dot + 1));
        }
    }
    for (const auto& [pkg, names] : missing) {
        out << "  missing " << names.size() << " textures of " << pkg << " (the fallback texture stands in): ";
        for (size_t i = 0; i < names.size(); ++i) {
            out << (i ? ", " : "") << names[i];
        }
        out << "\n";
    }
}

} // namespace

int ImportPackages(const std::vector<std::string>& files, const ImportOptions& options, std::ostream& out,
                   std::ostream& err) {
    std::vector<std::string> ordered = files;
    std::stable_partition(ordered.begin(), ordered.end(), [](const std::string& f) { return !IsMapFile(f); });
    int imported = 0, skipped = 0, failed = 0;
    for (const std::string& file : ordered) {
        if (!options.Force && AlreadyImported(options.OutDir, file)) {
            out << "Skipping " << file << ": already imported (--force imports it again)\n";
            ++skipped;
            continue;
        }
        try {
            const Package package = Package::Open(file);
            out << "Importing " << file << " (package version " << package.Version() << ")\n";
            if (IsMapFile(file)) {
                ImportMap(package, options.OutDir, out);
            } else {
                AssetStats stats;
                ImportAssets(package, options.OutDir, stats);
                const std::string summary = AssetSummary(stats);
                out << "  " << (summary.empty() ? "nothing to import" : summary) << "\n";
                for (const std::string& line : stats.Skipped) {
                    out << "  left out " << line << "\n";
                }
            }
            ++imported;
        } catch (const ImportError& error) {
            err << "Error: " << error.Message << "\n";
            ++failed;
        }
    }
    out << "Imported " << imported << " of " << files.size() << " packages";
    if (skipped > 0) {
        out << ", " << skipped << " already there";
    }
    if (failed > 0) {
        out << ", " << failed << " refused";
    }
    out << " into " << options.OutDir.string() << "\n";
    return failed > 0 ? 1 : 0;
}

} // namespace orv
