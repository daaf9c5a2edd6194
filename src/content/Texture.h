// Textures: the record every drawn picture shares, how its pixels reach the graphics card, and
// the texture table's loading and per-level release.
#pragma once

#include "core/Image.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Resources;
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

// Texture flags a settings file can give. They are the bits of the polygon flags PF_Masked and
// PF_AlphaBlend, so the renderer ORs them into the flags of the surfaces the texture is on.
constexpr uint32_t kTextureMasked = 0x00000002u;
constexpr uint32_t kTextureAlphaBlend = 0x00020000u;

struct Texture {
    virtual ~Texture() = default;
    // The per-frame update of procedural textures; plain textures do nothing.
    virtual void Update(float /*deltaTime*/) {}
    virtual bool IsProcedural() const { return false; }

    std::string Name;       // the name it was requested by (the table key)
    Image Pixels;           // decoded image; gives width and height
    uint32_t GLTexture = 0; // 0 for none
    uint32_t Flags = 0;     // kTextureMasked, kTextureAlphaBlend
    uint8_t bLevelTexture = 0;
    uint8_t Used = 1;

    int Width() const { return Pixels.Width; }
    int Height() const { return Pixels.Height; }
};

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

} // namespace orv
