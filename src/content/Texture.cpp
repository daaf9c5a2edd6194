// The texture table: one Texture per requested name, loaded on first use from a picture or a
// procedural texture file, uploaded through the renderer's uploader, with the optional
// settings file beside it. Entry 0 is Zelkor.Missing, the fallback of every failed lookup.
#include "content/PackageNames.h"
#include "content/ProceduralTexture.h"
#include "content/ImageFile.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/ConfigFile.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

namespace orv {

namespace {

// The built-in fallback: 64 x 64 texels of magenta and black squares of 8.
constexpr std::string_view kFallbackName = "Zelkor.Missing";
constexpr int kFallbackSize = 64;
constexpr int kFallbackSquare = 8;
constexpr uint32_t kFallbackMagenta = 0xFFFF00FFu;
constexpr uint32_t kFallbackBlack = 0xFF000000u;

TextureUploader& UploaderOf(Resources& res) {
    static NullTextureUploader nullUploader; // stateless
    return res.Uploader ? *res.Uploader : nullUploader;
}

// Mode 10 (mipmaps, alpha kept, linear), or the filtering that TexInterpolation asks for.
int PlainUploadMode(const Resources& res, bool plainFilter) {
    constexpr int kLinear = kUploadMipmaps | kUploadKeepAlpha;
    if (plainFilter || !res.Config) {
        return kLinear;
    }
    const std::string filter = ConfigGet(*res.Config, "TexInterpolation");
    if (SameText(filter, "nearest")) {
        return kLinear | kUploadNearestMin;
    }
    if (SameText(filter, "magnearest")) {
        return kLinear | kUploadNearestMag;
    }
    return kLinear;
}

// Null when the file is gone, its picture cannot be decoded or a procedural file is damaged; a
// procedural file of the wrong version is fatal.
std::unique_ptr<Texture> CreateTextureFromFile(Resources& res, const std::string& path, bool plainFilter) {
    const std::string_view extension = PathExtension(path);
    const bool fire = SameText(extension, ".firet");
    if (fire || SameText(extension, ".wett")) {
        std::optional<BinaryReader> reader = BinaryReader::OpenFile(path);
        if (!reader) {
            return nullptr;
        }
        // A wrong version is fatal; any other fault of the file gives the fallback texture.
        std::unique_ptr<ProceduralTexture> texture;
        FireTextureFile fireFile;
        WetTextureFile wetFile;
        const ProceduralProblem problem =
            fire ? TryReadFireTextureFile(*reader, fireFile) : TryReadWetTextureFile(*reader, wetFile);
        if (problem.BadHeader) {
            FatalError(problem.Message);
        }
        if (!problem.Message.empty()) {
            Log("Warning: " + problem.Message + "; the texture falls back");
            return nullptr;
        }
        if (fire) {
            texture = MakeFireTexture(fireFile);
        } else {
            texture = MakeWetTexture(wetFile);
        }
        texture->GLTexture = UploaderOf(res).UploadGeneratedImage(texture->Pixels, true);
        return texture;
    }
    auto texture = std::make_unique<Texture>();
    if (!DecodeImageFile(path, texture->Pixels)) {
        return nullptr;
    }
    texture->GLTexture = UploaderOf(res).UploadTexture(texture->Pixels, PlainUploadMode(res, plainFilter));
    return texture;
}

std::unique_ptr<Texture> CreateCheckerboard(Resources& res) {
    auto texture = std::make_unique<Texture>();
    texture->Pixels = Image(kFallbackSize, kFallbackSize);
    for (int y = 0; y < kFallbackSize; ++y) {
        for (int x = 0; x < kFallbackSize; ++x) {
            const bool odd = ((x / kFallbackSquare) + (y / kFallbackSquare)) % 2 != 0;
            texture->Pixels.At(x, y) = odd ? kFallbackBlack : kFallbackMagenta;
        }
    }
    texture->GLTexture = UploaderOf(res).UploadTexture(texture->Pixels, PlainUploadMode(res, false));
    return texture;
}

// The settings file: the path with ".ini" for its extension.
void ApplySettingsFile(Texture& texture, const std::string& path) {
    ConfigTable settings;
    if (path.empty() || !ConfigRead(settings, ReplaceExtension(path, ".ini"))) {
        return;
    }
    if (ConfigGetBool(settings, "bMasked")) {
        texture.Flags |= kTextureMasked;
    }
    if (ConfigGetBool(settings, "bAlphaBlend")) {
        texture.Flags |= kTextureAlphaBlend;
    }
}

// Water refracts another picture. It is loaded after the water texture is in the table, so a
// file naming itself (or two naming each other) finds the entry instead of loading forever.
void LoadWetSource(Resources& res, Texture* texture) {
    auto* wet = dynamic_cast<WetTexture*>(texture);
    if (wet && !wet->SourceName.empty()) {
        wet->SourceTexture = LoadTexture(res, wet->SourceName, false, {}, false);
    }
}

} // namespace

std::vector<uint8_t> TextureUploadBytes(const Image& image, int mode) {
    constexpr uint32_t kColourKey = 0x00FF00FFu; // magenta with zero alpha
    constexpr size_t kBytesPerPixel = 4;          // R, G, B, A
    std::vector<uint8_t> bytes;
    if (image.IsEmpty()) {
        return bytes;
    }
    bytes.reserve(image.Pixels.size() * kBytesPerPixel);
    for (int y = image.Height - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width; ++x) {
            const uint32_t pixel = image.At(x, y);
            if ((mode & kUploadColourKey) && pixel == kColourKey) {
                bytes.insert(bytes.end(), {0, 0, 0, 0});
                continue;
            }
            const uint8_t alpha = (mode & kUploadKeepAlpha) ? static_cast<uint8_t>(pixel >> 24) : 255;
            bytes.insert(bytes.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                       static_cast<uint8_t>(pixel), alpha});
        }
    }
    return bytes;
}

void LoadFallbackTexture(Resources& res) {
    if (!res.Textures.IsEmpty() && SameText(res.Textures[0]->Name, kFallbackName)) {
        return;
    }
    const std::string path = ResolveTexturePath(res, kFallbackName, {});
    std::unique_ptr<Texture> texture = path.empty() ? nullptr : CreateTextureFromFile(res, path, false);
    if (texture) {
        ApplySettingsFile(*texture, path);
    } else {
        Log("Warning: Zelkor.Missing not found, using a built-in texture");
        texture = CreateCheckerboard(res);
    }
    texture->Name = kFallbackName;
    texture->bLevelTexture = 0;
    Texture* fallback = texture.get();
    res.Textures.InsertAt(0, std::move(texture));
    LoadWetSource(res, fallback);
}

Texture* GetFallbackTexture(Resources& res) {
    if (res.Textures.IsEmpty()) {
        LoadFallbackTexture(res);
    }
    return res.Textures[0].get();
}

Texture* LoadTexture(Resources& res, std::string_view name, bool levelTexture, std::string_view defaultPackage,
                     bool plainFilter) {
    Texture* fallback = GetFallbackTexture(res);
    for (const std::unique_ptr<Texture>& existing : res.Textures) {
        if (SameText(existing->Name, name)) {
            if (!levelTexture) {
                existing->bLevelTexture = 0;
            }
            return existing.get();
        }
    }
    const std::string path = ResolveTexturePath(res, name, defaultPackage);
    if (path.empty()) {
        return fallback;
    }
    std::unique_ptr<Texture> texture = CreateTextureFromFile(res, path, plainFilter);
    if (!texture) {
        return fallback;
    }
    texture->Name = std::string(name);
    texture->bLevelTexture = levelTexture ? 1 : 0;
    ApplySettingsFile(*texture, path);
    Texture* loaded = texture.get();
    res.Textures.Add(std::move(texture));
    LoadWetSource(res, loaded);
    return loaded;
}

void UnloadLevelTextures(Resources& res) {
    TextureUploader& uploader = UploaderOf(res);
    for (int i = res.Textures.Num() - 1; i >= 1; --i) {
        Texture& texture = *res.Textures[i];
        if (!texture.bLevelTexture) {
            continue;
        }
        if (texture.GLTexture != 0) {
            uploader.DeleteTexture(texture.GLTexture);
        }
        res.Textures.RemoveAt(i);
    }
}

} // namespace orv
