// Converting the media of a package into the content tree: textures (palettised mip 0 to PNG with
// a settings file; fire and water to .firet and .wett), sounds to their own files, music modules.
#pragma once

#include "Package.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orv {

struct AssetStats {
    int Textures = 0;     // PNG pictures written
    int Procedural = 0;   // .firet and .wett files written
    int Sounds = 0;
    int Music = 0;
    std::vector<std::string> Skipped; // one line per object left out, with the reason
};

// The content-tree path of a texture named "Package.Group.Name" (or "Package.Name"), without
// extension: Textures/Package/Textures/Group/Name.
std::filesystem::path TextureFileStem(const std::filesystem::path& root, const std::string& qualifiedName);

// A lazy array of bytes: from version 62 a position just past the data comes first, checked.
std::span<const uint8_t> ReadLazyBytes(ObjectReader& reader);

// Writes every texture, sound and music object of the package under root; a map's own textures
// and sounds go beside it, under Maps/<map>/MyLevel/, where the engine looks for one level's own
// resources.
void ImportAssets(const Package& package, const std::filesystem::path& root, AssetStats& stats);

} // namespace orv
