// The run-wide resource tables every subsystem reads: textures, meshes, class records and the
// mesh directives of the class scripts. One Resources object lives in the engine for the whole
// run; tests build their own. The tables grow as content is first used; level textures go at
// the next level load.
#pragma once

#include "content/ClassScripts.h"
#include "content/Mesh.h"
#include "content/Texture.h"
#include "core/Array.h"

#include <memory>
#include <string>

namespace orv {

struct ConfigTable;

struct Resources {
    ConfigTable* Config = nullptr;       // for TexInterpolation; may be null in tools
    TextureUploader* Uploader = nullptr; // null behaves as NullTextureUploader
    std::string CurrentLevelName;        // for Maps\<level>\ resources

    Array<std::unique_ptr<Texture>> Textures; // entry 0 is Zelkor.Missing, the fallback
    Array<std::unique_ptr<Mesh>> Meshes;      // entry 0 is the empty fallback mesh
    Array<std::unique_ptr<ClassRecord>> Classes;
    Array<MeshDirective> MeshDirectives;

    Texture* FallbackTexture() const { return Textures.IsEmpty() ? nullptr : Textures[0].get(); }
    Mesh* FallbackMesh() const { return Meshes.IsEmpty() ? nullptr : Meshes[0].get(); }
};

} // namespace orv
