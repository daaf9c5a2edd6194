// Textures, sounds and music out of a package.
#include "Assets.h"

#include "Properties.h"

#include "content/ImageFile.h"
#include "content/ProceduralTexture.h"
#include "core/Text.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <fstream>

namespace orv {

namespace {

// The first version whose lazy arrays start with the position after their data.
constexpr int kLazySkipVersion = 62;
// Pixel formats of a texture's mips: only the palettised one holds the game's pictures.
constexpr uint8_t kFormatP8 = 0;
constexpr size_t kPaletteColours = 256;
constexpr size_t kSparkRecordSize = 8;
// The procedural files refuse sides that are not powers of two up to this.
constexpr int32_t kMaxTextureSide = 4096;

void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw ImportError{path.string() + ": cannot be written"};
    }
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

struct Mip {
    std::span<const uint8_t> Data;
    int32_t USize = 0, VSize = 0;
};

// The mips after a texture's properties: only the first is kept, the others are read past.
std::vector<Mip> ReadMips(ObjectReader& r) {
    std::vector<Mip> mips;
    const int32_t count = r.Count(10);
    for (int32_t i = 0; i < count; ++i) {
        Mip mip;
        mip.Data = ReadLazyBytes(r);
        mip.USize = r.I32();
        mip.VSize = r.I32();
        r.U8(); // UBits
        r.U8(); // VBits
        mips.push_back(mip);
    }
    return mips;
}

// 256 colours as 0xAARRGGBB with full alpha, from the Palette object the texture names.
std::vector<uint32_t> ReadPalette(const Package& package, int32_t ref, const ObjectReader& at) {
    if (ref <= 0 || !SameText(package.ClassName(ref), "Palette")) {
        at.Fail("the texture's palette is not a Palette of this package");
    }
    ObjectReader r = package.OpenExport(ref - 1);
    PropertyList::Read(r);
    const int32_t count = r.Count(4);
    if (size_t(count) > kPaletteColours) {
        r.Fail("palette of " + std::to_string(count) + " colours");
    }
    std::vector<uint32_t> colours(kPaletteColours, 0xFF000000u);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t red = r.U8(), green = r.U8(), blue = r.U8();
        r.U8(); // alpha, unused by the game's palettes
        colours[size_t(i)] = 0xFF000000u | (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue;
    }
    return colours;
}

bool GoodSide(int32_t side) { return side > 0 && side <= kMaxTextureSide && std::has_single_bit(uint32_t(side)); }

void ImportFire(const Package& package, const PropertyList& props, ObjectReader& r, const std::vector<Mip>& mips,
                const std::filesystem::path& stem) {
    FireTextureFile fire;
    fire.Width = props.Int(package, "USize").value_or(mips.empty() ? 0 : mips[0].USize);
    fire.Height = props.Int(package, "VSize").value_or(mips.empty() ? 0 : mips[0].VSize);
    if (!GoodSide(fire.Width) || !GoodSide(fire.Height)) {
        r.Fail("fire texture size " + std::to_string(fire.Width) + "x" + std::to_string(fire.Height));
    }
    const std::vector<uint32_t> palette = ReadPalette(package, props.Object(package, "Palette").value_or(0), r);
    std::copy(palette.begin(), palette.end(), fire.Palette.begin());
    fire.bRising = props.Bool("bRising") ? 1 : 0;
    fire.RenderHeat = props.Byte(package, "RenderHeat").value_or(0);
    fire.SparkLimit = std::clamp(props.Int(package, "SparksLimit").value_or(0), 0, kMaxSparkLimit);
    const int32_t sparks = r.Count(kSparkRecordSize);
    for (int32_t i = 0; i < sparks; ++i) {
        const auto b = r.Bytes(kSparkRecordSize);
        fire.Sparks.push_back({b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]});
    }
    WriteFile(stem.string() + ".firet", WriteFireTextureFile(fire));
}

void ImportWet(const Package& package, const PropertyList& props, const ObjectReader& r, const std::vector<Mip>& mips,
               const std::filesystem::path& stem) {
    WetTextureFile wet;
    wet.Width = props.Int(package, "USize").value_or(mips.empty() ? 0 : mips[0].USize);
    wet.Height = props.Int(package, "VSize").value_or(mips.empty() ? 0 : mips[0].VSize);
    if (!GoodSide(wet.Width) || !GoodSide(wet.Height)) {
        r.Fail("water texture size " + std::to_string(wet.Width) + "x" + std::to_string(wet.Height));
    }
    const int32_t source = props.Object(package, "SourceTexture").value_or(0);
    wet.SourceTexture = source != 0 ? package.QualifiedName(source) : "";
    wet.WaveAmplitude = props.Byte(package, "WaveAmp").value_or(0);
    for (const PropertyTag& tag : props.Tags()) {
        if (SameText(tag.Name, "Drops") && tag.Type == PropertyType::Struct) {
            if (tag.Size != kSparkRecordSize) {
                ValueReader(package, tag).Fail("drop record of " + std::to_string(tag.Size) + " bytes");
            }
            const auto b = ValueReader(package, tag).Bytes(kSparkRecordSize);
            wet.Drops.push_back({b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]});
        }
    }
    WriteFile(stem.string() + ".wett", WriteWetTextureFile(wet));
}

// Plain textures: mip 0 through the palette; colour 0 transparent when the texture is masked.
bool ImportPicture(const Package& package, const PropertyList& props, const ObjectReader& r,
                   const std::vector<Mip>& mips, const std::filesystem::path& stem, AssetStats& stats) {
    const uint8_t format = props.Byte(package, "Format").value_or(kFormatP8);
    if (format != kFormatP8) {
        stats.Skipped.push_back(stem.filename().string() + ": pixel format " + std::to_string(format) + " is not palettised");
        return false;
    }
    if (mips.empty() || mips[0].Data.empty()) {
        stats.Skipped.push_back(stem.filename().string() + ": no picture data");
        return false;
    }
    const Mip& mip = mips[0];
    if (mip.USize <= 0 || mip.VSize <= 0 || uint64_t(mip.USize) * uint64_t(mip.VSize) != mip.Data.size()) {
        r.Fail("mip 0 of " + std::to_string(mip.USize) + "x" + std::to_string(mip.VSize) + " holds " +
               std::to_string(mip.Data.size()) + " bytes");
    }
    const std::vector<uint32_t> palette = ReadPalette(package, props.Object(package, "Palette").value_or(0), r);
    const bool masked = props.Bool("bMasked");
    const bool alphaBlend = props.Bool("bAlphaBlend");
    Image image(mip.USize, mip.VSize);
    for (size_t i = 0; i < mip.Data.size(); ++i) {
        const uint8_t index = mip.Data[i];
        image.Pixels[i] = masked && index == 0 ? 0u : palette[index];
    }
    std::filesystem::create_directories(stem.parent_path());
    if (!WritePngFile(stem.string() + ".png", image, masked)) {
        throw ImportError{stem.string() + ".png: cannot be written"};
    }
    const std::filesystem::path settings = stem.string() + ".ini";
    if (masked || alphaBlend) {
        const std::string text = std::string(masked ? "bMasked=True\n" : "") + (alphaBlend ? "bAlphaBlend=True\n" : "");
        WriteFile(settings, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    } else {
        std::filesystem::remove(settings);
    }
    return true;
}

bool IsTextureClass(const std::string& cls) {
    for (const char* c : {"Texture", "FireTexture", "WetTexture", "WaveTexture", "IceTexture", "ScriptedTexture"}) {
        if (SameText(cls, c)) {
            return true;
        }
    }
    return false;
}

// A sound or a music module: properties, the file type's name, then the file's bytes.
std::span<const uint8_t> ReadMedia(ObjectReader& r, std::string& fileType) {
    PropertyList::Read(r);
    fileType = r.Name();
    return ReadLazyBytes(r);
}

} // namespace

std::filesystem::path TextureFileStem(const std::filesystem::path& root, const std::string& qualifiedName) {
    const std::vector<std::string_view> parts = SplitText(qualifiedName, '.');
    std::filesystem::path path = root / "Textures" / std::string(parts.front()) / "Textures";
    for (size_t i = 1; i < parts.size(); ++i) {
        path /= std::string(parts[i]);
    }
    return path;
}

std::span<const uint8_t> ReadLazyBytes(ObjectReader& r) {
    int32_t end = -1;
    if (r.Owner().Version() >= kLazySkipVersion) {
        end = r.I32();
    }
    const size_t at = r.Offset();
    const int32_t count = r.Count(1);
    const auto bytes = r.Bytes(size_t(count));
    if (end >= 0 && size_t(end) != r.Offset()) {
        r.FailAt("lazy array ends at " + std::to_string(r.Offset()) + ", not at " + std::to_string(end), at);
    }
    return bytes;
}

void ImportAssets(const Package& package, const std::filesystem::path& root, AssetStats& stats) {
    const bool map = package.OwnName() != package.PackageName() || !package.ExportsOfClass("Level").empty();
    const std::filesystem::path textureBase = map ? root / "Maps" / package.PackageName() : root / "Textures";
    const std::filesystem::path soundBase = map ? root / "Maps" / package.PackageName() : root / "Sounds";
    for (size_t i = 0; i < package.Exports().size(); ++i) {
        const int32_t ref = int32_t(i) + 1;
        const std::string cls = package.ClassName(ref);
        if (IsTextureClass(cls)) {
            ObjectReader r = package.OpenExport(int32_t(i));
            const PropertyList props = PropertyList::Read(r);
            const std::vector<Mip> mips = ReadMips(r);
            std::filesystem::path stem = textureBase / package.OwnName() / "Textures";
            const std::string group = package.GroupPath(ref);
            for (std::string_view part : SplitText(group, '.')) {
                stem /= std::string(part);
            }
            if (SameText(cls, "FireTexture")) {
                ImportFire(package, props, r, mips, stem);
                ++stats.Procedural;
            } else if (SameText(cls, "WetTexture")) {
                ImportWet(package, props, r, mips, stem);
                ++stats.Procedural;
            } else if (ImportPicture(package, props, r, mips, stem, stats)) {
                ++stats.Textures;
            }
        } else if (SameText(cls, "Sound") || SameText(cls, "Music")) {
            ObjectReader r = package.OpenExport(int32_t(i));
            std::string fileType;
            const auto data = ReadMedia(r, fileType);
            const std::string& name = package.ObjectName(ref);
            if (data.empty()) {
                r.Fail(cls + " " + name + " holds no " + (SameText(cls, "Sound") ? "sound" : "music") + " data");
            }
            if (SameText(cls, "Sound")) {
                std::filesystem::path path = soundBase / package.OwnName() / "Sounds";
                const std::string group = package.GroupPath(ref);
                for (std::string_view part : SplitText(group, '.')) {
                    path /= std::string(part);
                }
                WriteFile(path.string() + "." + Lower(fileType), data);
                ++stats.Sounds;
            } else {
                WriteFile(root / "Music" / (name + "." + Lower(fileType)), data);
                ++stats.Music;
            }
        }
    }
}

} // namespace orv
