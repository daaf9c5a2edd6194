// The run-wide resource tables every subsystem reads: textures, meshes, class records and the
// mesh directives of the class scripts. One Resources object lives in the engine for the whole
// run; tests build their own. The tables grow as content is first used; level textures go at
// the next level load.
#pragma once

#include "content/PropertyList.h"
#include "core/Array.h"
#include "core/Image.h"
#include "core/Rotator.h"
#include "core/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ConfigTable;
struct Texture;

// Upload modes of UploadTexture: bits of colour key, mipmaps, nearest minification, keep alpha,
// nearest magnification. 10, 14 and 26 are the ones in use.
enum TextureUploadBits : int {
    kUploadColourKey = 1,
    kUploadMipmaps = 2,
    kUploadNearestMin = 4,
    kUploadKeepAlpha = 8,
    kUploadNearestMag = 16,
};

// How textures reach the graphics card. The renderer implements it with OpenGL; tests and
// tools without a GL context use NullTextureUploader (every upload gives texture name 0).
class TextureUploader {
public:
    virtual ~TextureUploader() = default;
    // A texture from an image with the mode bits above; returns the GL texture name.
    virtual uint32_t UploadTexture(const Image& image, int mode) = 0;
    // The two fixed variants for generated images: RGB, no mipmaps, alpha forced to 255;
    // nearest filtering (procedural textures) or linear (lightmaps and the like).
    virtual uint32_t UploadGeneratedImage(const Image& image, bool nearestFilter) = 0;
    // Copies a rectangle of the texture's image to its GL texture; w or h of -1 is the full size.
    virtual void UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) = 0;
    virtual void DeleteTexture(uint32_t glTexture) = 0;
};

// The pixel data an upload sends, shared by every uploader: R, G, B, A bytes per pixel, the
// image's bottom row first. With kUploadKeepAlpha the alpha stays, else it is 255; with
// kUploadColourKey a pixel whose value (alpha included) is 0x00FF00FF becomes 0, transparent
// black. The generated-image variants use mode 0. GL_RGBA is the internal format when the mode
// has kUploadColourKey or kUploadKeepAlpha (UploadKeepsAlpha), else GL_RGB.
std::vector<uint8_t> TextureUploadBytes(const Image& image, int mode);
constexpr bool UploadKeepsAlpha(int mode) { return (mode & (kUploadColourKey | kUploadKeepAlpha)) != 0; }

class NullTextureUploader final : public TextureUploader {
public:
    uint32_t UploadTexture(const Image&, int) override { return 0; }
    uint32_t UploadGeneratedImage(const Image&, bool) override { return 0; }
    void UploadTextureRegion(const Texture&, int, int, int, int) override {}
    void DeleteTexture(uint32_t) override {}
};

// Texture flags a settings file can give.
constexpr uint32_t kTextureMasked = 0x00000002u;
constexpr uint32_t kTextureAlphaBlend = 0x00020000u;

struct Texture {
    virtual ~Texture() = default;
    // The per-frame update of procedural textures; plain textures do nothing.
    virtual void Update(float /*deltaTime*/) {}
    virtual bool IsProcedural() const { return false; }

    std::string Name;        // the name it was requested by (the table key)
    Image Pixels;            // decoded image; gives width and height
    uint32_t GLTexture = 0;  // 0 for none
    uint32_t Flags = 0;      // kTextureMasked, kTextureAlphaBlend
    uint8_t bLevelTexture = 0;
    uint8_t Used = 1;

    int Width() const { return Pixels.Width; }
    int Height() const { return Pixels.Height; }
};

struct MeshSequence {
    std::string Name;
    int32_t StartFrame = 0;
    int32_t NumFrames = 0;
    float Rate = 30.0f; // frames per second
};

// Notifies of one mesh that can fire: the animation keeps a 64-bit mask of fired ones.
constexpr int kMaxMeshNotifies = 64;

struct MeshNotify {
    std::string Sequence;
    float Time = 0.0f; // fraction of the sequence, 0..1
    std::string Function;
};

// One triangle of the data file, as stored (16 bytes).
struct MeshTriangle {
    uint16_t Vertex[3] = {0, 0, 0};
    uint8_t Type = 0;  // bit 0x08: not drawn
    uint8_t Color = 0;
    uint8_t Tex[3][2] = {{0, 0}, {0, 0}, {0, 0}}; // U then V, texels of a 256 x 256 page
    uint8_t TextureNum = 0;
    uint8_t Flags = 0;
};

struct Mesh {
    std::string Package;
    std::string Name;
    Array<uint32_t> Frames; // packed vertices, frame after frame
    uint16_t NumFrames = 0;
    uint16_t FrameSize = 0; // bytes per frame, 4 per vertex
    Array<MeshTriangle> Triangles;
    Vector Origin{0, 0, 0};
    Vector Scale{0.25f, 0.25f, 0.125f};
    Rotator RotOrigin{};
    Texture* Skins[16] = {};
    Array<MeshSequence> Sequences;
    Array<MeshNotify> Notifies;

    int NumVertices() const { return FrameSize / 4; }
};

struct ClassRecord {
    std::string Package;
    std::string Name;
    std::string ParentName;
    ClassRecord* Parent = nullptr;
    PropertyList Defaults; // a key may occur more than once, in file order
};

struct MeshDirective {
    std::string MeshName;
    std::string Text; // the directive after "#exec", trimmed
};

struct Resources {
    ConfigTable* Config = nullptr;          // for TexInterpolation; may be null in tools
    TextureUploader* Uploader = nullptr;    // null behaves as NullTextureUploader
    std::string CurrentLevelName;           // for Maps\<level>\ resources

    Array<std::unique_ptr<Texture>> Textures; // entry 0 is Zelkor.Missing, the fallback
    Array<std::unique_ptr<Mesh>> Meshes;      // entry 0 is the empty fallback mesh
    Array<std::unique_ptr<ClassRecord>> Classes;
    Array<MeshDirective> MeshDirectives;

    Texture* FallbackTexture() const { return Textures.IsEmpty() ? nullptr : Textures[0].get(); }
    Mesh* FallbackMesh() const { return Meshes.IsEmpty() ? nullptr : Meshes[0].get(); }
};

// --- Package-qualified names and paths (implemented in content/PackageNames.cpp) ---
std::string StripObjectReference(std::string_view text);
std::string ResolveTexturePath(const Resources& res, std::string_view name, std::string_view defaultPackage);
std::string ResolveSoundPath(const Resources& res, std::string_view name, std::string_view defaultPackage);
std::string FindFileRecursive(std::string_view directory, std::string_view pattern);

// --- Textures (content/Texture.cpp) ---
// Loads "Zelkor.Missing" as entry 0 (or the built-in checkerboard with its warning line).
void LoadFallbackTexture(Resources& res);
// Entry 0 of the table, loading it first when the table is still empty.
Texture* GetFallbackTexture(Resources& res);
// Never null: the fallback texture on any failure. A texture found by name is shared whatever
// flag the request carries; a run-wide request (levelTexture false) makes it run-wide, so that
// a holder that outlives the level never keeps a released texture.
Texture* LoadTexture(Resources& res, std::string_view name, bool levelTexture, std::string_view defaultPackage = {},
                     bool plainFilter = false);
// Deletes every level texture (GL texture and image), from the last entry to the first.
void UnloadLevelTextures(Resources& res);

// --- Meshes (content/Mesh.cpp) ---
// Puts the empty fallback mesh at index 0 (start-up does this before any mesh loads).
void AddFallbackMesh(Resources& res);
Mesh* FindMesh(Resources& res, std::string_view fullName);
Mesh* LoadMesh(Resources& res, std::string_view fullName);
// Reads both files into mesh (all fields reset first) and applies the collected mesh directives
// of the mesh named by the animation file; package is where its skins are looked up.
void ReadMesh(Resources& res, Mesh& mesh, std::string_view animationPath, std::string_view dataPath,
              std::string_view package);
// The vertex at (frame modulo NumFrames) * vertex count + vertex; (0, 0, 0) for a mesh without frames.
Vector GetMeshVertex(const Mesh& mesh, uint16_t frame, uint16_t vertex);
Vector UnpackMeshVertex(uint32_t packed);

// --- Class scripts (content/ClassScripts.cpp) ---
void LoadClassDefaults(Resources& res);
void ParseClassScript(Resources& res, std::string_view path, std::string_view packageName);
ClassRecord* FindClass(const Resources& res, std::string_view className);
// True when a record on className's parent chain, or the parent name stored in one, is baseName.
bool IsA(const Resources& res, std::string_view className, std::string_view baseName);
// True when the names are equal, else IsA.
bool IsSameOrA(const Resources& res, std::string_view className, std::string_view baseName);
// Merges the class chain's defaults into the list, root first; returns the class's record or null.
ClassRecord* ApplyClassDefaults(const Resources& res, std::string_view className, PropertyList& properties);

} // namespace orv
