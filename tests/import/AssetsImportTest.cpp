// Textures, fire, water, sounds and music out of packages written here, through ImportPackages
// into a content tree, and read back with the engine's own readers.
#include "PackageWriter.h"

#include "Importer.h"

#include "content/ImageFile.h"
#include "content/ProceduralTexture.h"
#include "core/BinaryReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orv {
namespace {

using test::Bytes;
using test::PackageWriter;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Save(const test::TempDir& dir, const std::string& name, const PackageWriter& w) {
    const std::vector<uint8_t> bytes = w.Write();
    return dir.Write(name, std::string(bytes.begin(), bytes.end()));
}

TEST(AssetsImport, TexturesFireWaterSoundsAndMusicLandWhereTheEngineLooks) {
    test::TempDir dir;
    PackageWriter w(61); // lazy arrays without their end position: object offsets do not matter
    const int32_t group = w.Export(w.Class("Package"), 0, "Floors", Bytes());
    Bytes pal;
    w.EndTags(pal);
    pal.Index(256);
    for (int i = 0; i < 256; ++i) {
        pal.U8(uint8_t(i)).U8(uint8_t(255 - i)).U8(7).U8(0); // colour i is (i, 255 - i, 7)
    }
    const int32_t palette = w.Export(w.Class("Palette"), group, "Pal", pal);
    for (bool masked : {true, false}) {
        Bytes b;
        w.Tag(b, "Palette", 5, Bytes().Index(palette));
        w.BoolTag(b, "bMasked", masked);
        w.EndTags(b);
        b.Index(2).Index(4).U8(0).U8(1).U8(2).U8(255).I32(2).I32(2).U8(1).U8(1); // mip 0: 2 x 2
        b.Index(1).U8(9).I32(1).I32(1).U8(0).U8(0);
        w.Export(w.Class("Texture"), masked ? group : 0, masked ? "Grate" : "Plain", b);
    }
    Bytes fire, wet;
    for (const auto& [name, type, value] : {std::tuple("Palette", 5, Bytes().Index(palette)), {"RenderHeat", 1, Bytes().U8(200)},
                                            {"SparksLimit", 2, Bytes().I32(64)}, {"USize", 2, Bytes().I32(32)}, {"VSize", 2, Bytes().I32(16)}}) {
        w.Tag(fire, name, uint8_t(type), value);
    }
    w.BoolTag(fire, "bRising", true);
    w.EndTags(fire);
    fire.Index(1).Index(0).I32(32).I32(16).U8(5).U8(4); // one mip without pixels, then the sparks
    fire.Index(2).U8(3).U8(135).U8(78).U8(127).U8(1).U8(2).U8(3).U8(4).Raw(std::vector<uint8_t>(8, 9));
    w.Export(w.Class("FireTexture"), 0, "Flame", fire);
    const int32_t pool = w.Import("Engine", "Texture", w.Import("Core", "Package", 0, "Liquids"), "Pool");
    for (const auto& [name, type, value] : {std::tuple("SourceTexture", 5, Bytes().Index(pool)), {"WaveAmp", 1, Bytes().U8(99)},
                                            {"USize", 2, Bytes().I32(64)}, {"VSize", 2, Bytes().I32(64)}}) {
        w.Tag(wet, name, uint8_t(type), value);
    }
    for (int i = 0; i < 3; ++i) {
        w.Tag(wet, "Drops", 10, Bytes().U8(2).U8(208).U8(uint8_t(i)).U8(40).I32(0x08000000), i, "ADrop");
    }
    w.EndTags(wet);
    wet.Index(1).Index(0).I32(64).I32(64).U8(6).U8(6);
    w.Export(w.Class("WetTexture"), 0, "Water", wet);

    PackageWriter s(61), m(61), stub(69);
    Bytes sound, music, empty;
    s.EndTags(sound);
    sound.Index(s.Name("WAV")).Index(5).Raw({'R', 'I', 'F', 'F', '!'});
    s.Export(s.Class("Sound"), s.Export(s.Class("Package"), 0, "Voice", Bytes()), "Hello", sound);
    m.EndTags(music);
    music.Index(m.Name("it")).Index(4).Raw({'I', 'M', 'P', 'M'});
    m.Export(m.Class("Music"), 0, "Song", music);
    stub.EndTags(empty);
    empty.Index(stub.Name("it")).I32(71).Index(0); // the end position just past an empty array
    stub.Export(stub.Class("Music"), 0, "Course", empty);

    const std::string root = dir / "game";
    std::ostringstream out, err;
    const std::vector<std::string> files = {Save(dir, "Tiles.utx", w), Save(dir, "Talk.uax", s), Save(dir, "Song.umx", m),
                                            Save(dir, "Course.umx", stub)};
    EXPECT_EQ(ImportPackages(files, {root, false}, out, err), 1);
    EXPECT_NE(out.str().find("2 textures, 2 fire and water textures"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Imported 3 of 4 packages, 1 refused"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("Course.umx: Music Course holds no music data (object Course, offset 71)"), std::string::npos) << err.str();

    // Masked: colour 0 transparent, the others through the palette, and a settings file says so.
    Image grate, plain;
    ASSERT_TRUE(DecodeImageFile(root + "/Textures/Tiles/Textures/Floors/Grate.png", grate) && grate.Width == 2);
    ASSERT_TRUE(DecodeImageFile(root + "/Textures/Tiles/Textures/Plain.png", plain));
    EXPECT_EQ(std::tuple(grate.At(0, 0) >> 24, grate.At(1, 0), grate.At(1, 1)), std::tuple(0u, 0xFF01FE07u, 0xFFFF0007u));
    EXPECT_EQ(plain.At(0, 0), 0xFF00FF07u) << "colour 0 stays when the texture is not masked";
    EXPECT_EQ(Slurp(root + "/Textures/Tiles/Textures/Floors/Grate.ini"), "bMasked=True\n");

    std::optional<BinaryReader> fireFile = BinaryReader::OpenFile(root + "/Textures/Tiles/Textures/Flame.firet");
    std::optional<BinaryReader> wetFile = BinaryReader::OpenFile(root + "/Textures/Tiles/Textures/Water.wett");
    ASSERT_TRUE(fireFile && wetFile);
    const FireTextureFile f = ReadFireTextureFile(*fireFile);
    EXPECT_EQ(std::tuple(f.Width, f.Height, f.Palette[3], f.bRising, f.RenderHeat, f.SparkLimit),
              std::tuple(32, 16, 0xFF03FC07u, uint8_t(1), uint8_t(200), 64));
    ASSERT_EQ(f.Sparks.size(), 2u);
    EXPECT_EQ(std::tuple(f.Sparks[0].Heat, f.Sparks[0].ByteD, f.Sparks[1].Type), std::tuple(135, 4, 9));
    const WetTextureFile wt = ReadWetTextureFile(*wetFile);
    EXPECT_EQ(std::tuple(wt.SourceTexture, wt.WaveAmplitude, wt.Drops.size()), std::tuple("Liquids.Pool", uint8_t(99), size_t(3)));
    EXPECT_EQ(wt.Drops[2].X, 2);
    EXPECT_EQ(Slurp(root + "/Sounds/Talk/Sounds/Voice/Hello.wav"), "RIFF!");
    EXPECT_EQ(Slurp(root + "/Music/Song.it"), "IMPM");

    // A second run skips what is there; --force imports it again.
    for (bool force : {false, true}) {
        std::ostringstream again;
        EXPECT_EQ(ImportPackages({files[0]}, {root, force}, again, err), 0);
        EXPECT_NE(again.str().find(force ? "Importing" : "already imported"), std::string::npos) << again.str();
    }
}

} // namespace
} // namespace orv
