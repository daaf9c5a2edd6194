// The world textures of the demo maps, package Orvane ("Orvane.Stone.Wall" lies at
// Textures\Orvane\Textures\Stone\Wall.png), with settings files for masked and alpha-blended
// ones, and the procedural fire and water textures.
#pragma once

#include "GenCommon.h"

#include <string>
#include <vector>

namespace orv {

struct WorldTextureInfo {
    std::string Group;
    std::string Name;
    std::string Settings; // the .ini beside the picture ("bMasked=True"), empty for none
};

// Every picture texture of the package, in a fixed order.
const std::vector<WorldTextureInfo>& WorldTextureList();
Image MakeWorldTexture(const WorldTextureInfo& info);

// The texture's path in the tree without extension: Textures\Orvane\Textures\<Group>\<Name>.
std::string WorldTexturePath(const std::string& group, const std::string& name);

} // namespace orv
