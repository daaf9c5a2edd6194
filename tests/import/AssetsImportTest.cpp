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

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A palette whose colour i is (i, 255 - i, 7).
int32_t AddPalette(PackageWriter& w, int32_t group) {
    Bytes b;
    w.EndTags(b);
    b.Index(256);
    for (int i = 0; i < 256; ++i) {
        b.U8(uint8_t(i)).U8(uint8_t(255 - i)).U8(7).U8(0);
    }
    return w.Export(w.Import("Core", "Class", 0, "Palette"), group, "Pal", b);
}

// Properties, then two mips: mip 0 holds the pixels.
Bytes TextureBytes(PackageWriter& w, int32_t palette, const std::vector<uint8_t>& pixels, int size, bool masked) {
    Bytes b;
    w.Tag(b, "Palette", 5, Bytes().Index(palette));
    w.Tag(b, "USize", 2, Bytes().I32(size));
    w.Tag(b, "VSize", 2, Bytes().I32(size));
    w.BoolTag(b, "bMasked", masked);
    w.EndTags(b);
    b.Index(2); // mips of a version 61 package: no end positions before their data
    b.Index(int32_t(pixels.size())).Raw(pixels).I32(size).I32(size).U8(1).U8(1);
    b.Index(1).U8(9).I32(1).I32(1).U8(0).U8(0);
    return b;
}

TEST(AssetsImport, TexturesFireWaterSoundsAndMusicLandWhereTheEngineLooks) {
    test::TempDir dir;
    // Version 61: lazy arrays without their end position, so object offsets do not matter.
    PackageWriter w(61);
    const int32_t group = w.Export(w.Import("Core", "Class", 0, "Package"), 0, "Floors", Bytes());
    const int32_t palette = AddPalette(w, group);
    const int32_t textureClass = w.Import("Core", "Class", 0, "Texture");
    w.Export(textureClass, group, "Grate", TextureBytes(w, palette, {0, 1, 2, 255}, 2, true));
    w.Export(textureClass, 0, "Plain", TextureBytes(w, palette, {0, 0, 0, 0}, 2, false));

    Bytes fire;
    w.Tag(fire, "Palette", 5, Bytes().Index(palette));
    w.Tag(fire, "RenderHeat", 1, Bytes().U8(200));
    w.BoolTag(fire, "bRising", true);
    w.Tag(fire, "SparksLimit", 2, Bytes().I32(64));
    w.Tag(fire, "USize", 2, Bytes().I32(32));
    w.Tag(fire, "VSize", 2, Bytes().I32(16));
    w.EndTags(fire);
    fire.Index(1).Index(0).I32(32).I32(16).U8(5).U8(4); // one mip without pixels
    fire.Index(2).U8(3).U8(135).U8(78).U8(127).U8(1).U8(2).U8(3).U8(4).U8(9).U8(9).U8(9).U8(9).U8(9).U8(9).U8(9).U8(9);
    w.Export(w.Import("Fire", "Class", 0, "FireTexture"), 0, "Flame", fire);

    Bytes wet;
    w.Tag(wet, "SourceTexture", 5, Bytes().Index(w.Import("Engine", "Texture", w.Import("Core", "Package", 0, "Liquids"), "Pool")));
    w.Tag(wet, "WaveAmp", 1, Bytes().U8(99));
    w.Tag(wet, "USize", 2, Bytes().I32(64));
    w.Tag(wet, "VSize", 2, Bytes().I32(64));
    for (int i = 0; i < 3; ++i) {
        w.Tag(wet, "Drops", 10, Bytes().U8(2).U8(208).U8(uint8_t(i)).U8(40).U8(0).U8(0).U8(0).U8(8), i, "ADrop");
    }
    w.EndTags(wet);
    wet.Index(1).Index(0).I32(64).I32(64).U8(6).U8(6);
    w.Export(w.Import("Fire", "Class", 0, "WetTexture"), 0, "Water", wet);
    Save(dir / "Tiles.utx", w.Write());

    PackageWriter s(61);
    Bytes sound;
    s.EndTags(sound);
    sound.Index(s.Name("WAV")).Index(5).U8('R').U8('I').U8('F').U8('F').U8('!');
    s.Export(s.Import("Core", "Class", 0, "Sound"), s.Export(s.Import("Core", "Class", 0, "Package"), 0, "Voice", Bytes()),
             "Hello", sound);
    Save(dir / "Talk.uax", s.Write());

    PackageWriter m(61);
    Bytes music;
    m.EndTags(music);
    music.Index(m.Name("it")).Index(4).U8('I').U8('M').U8('P').U8('M');
    m.Export(m.Import("Core", "Class", 0, "Music"), 0, "Song", music);
    Save(dir / "Song.umx", m.Write());

    PackageWriter stub(69);
    Bytes empty;
    stub.EndTags(empty);
    empty.Index(stub.Name("it")).I32(0).Index(0);
    stub.Export(stub.Import("Core", "Class", 0, "Music"), 0, "Course", empty);
    Save(dir / "Course.umx", stub.Write());

    const std::string root = dir / "game";
    std::ostringstream out, err;
    const std::vector<std::string> files = {dir / "Tiles.utx", dir / "Talk.uax", dir / "Song.umx", dir / "Course.umx"};
    EXPECT_EQ(ImportPackages(files, {root, false}, out, err), 1);
    EXPECT_NE(out.str().find("2 textures, 2 fire and water textures"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Imported 3 of 4 packages, 1 refused"), std::string::npos) << out.str();
    // The stub's music object is empty, its lazy array's end position pointing at offset 0.
    EXPECT_NE(err.str().find("Course.umx: "), std::string::npos) << err.str();

    // Masked: colour 0 transparent, the others through the palette; a settings file says so.
    Image grate;
    ASSERT_TRUE(DecodeImageFile(root + "/Textures/Tiles/Textures/Floors/Grate.png", grate));
    ASSERT_EQ(grate.Width, 2);
    EXPECT_EQ(grate.At(0, 0) >> 24, 0u);
    EXPECT_EQ(grate.At(1, 0), 0xFF01FE07u);
    EXPECT_EQ(grate.At(1, 1), 0xFFFF0007u);
    EXPECT_EQ(Slurp(root + "/Textures/Tiles/Textures/Floors/Grate.ini"), "bMasked=True\n");
    Image plain;
    ASSERT_TRUE(DecodeImageFile(root + "/Textures/Tiles/Textures/Plain.png", plain));
    EXPECT_EQ(plain.At(0, 0), 0xFF00FF07u) << "colour 0 stays when the texture is not masked";

    std::optional<BinaryReader> fireFile = BinaryReader::OpenFile(root + "/Textures/Tiles/Textures/Flame.firet");
    ASSERT_TRUE(fireFile);
    const FireTextureFile f = ReadFireTextureFile(*fireFile);
    EXPECT_EQ(f.Width, 32);
    EXPECT_EQ(f.Height, 16);
    EXPECT_EQ(f.Palette[3], 0xFF03FC07u);
    EXPECT_EQ(f.bRising, 1);
    EXPECT_EQ(f.RenderHeat, 200);
    EXPECT_EQ(f.SparkLimit, 64);
    ASSERT_EQ(f.Sparks.size(), 2u);
    EXPECT_EQ(f.Sparks[0].Heat, 135);
    EXPECT_EQ(f.Sparks[0].ByteD, 4);

    std::optional<BinaryReader> wetFile = BinaryReader::OpenFile(root + "/Textures/Tiles/Textures/Water.wett");
    ASSERT_TRUE(wetFile);
    const WetTextureFile wt = ReadWetTextureFile(*wetFile);
    EXPECT_EQ(wt.SourceTexture, "Liquids.Pool");
    EXPECT_EQ(wt.WaveAmplitude, 99);
    ASSERT_EQ(wt.Drops.size(), 3u);
    EXPECT_EQ(wt.Drops[2].X, 2);

    EXPECT_EQ(Slurp(root + "/Sounds/Talk/Sounds/Voice/Hello.wav"), "RIFF!");
    EXPECT_EQ(Slurp(root + "/Music/Song.it"), "IMPM");

    // A second run skips what is there; --force imports it again.
    std::ostringstream again, againErr;
    EXPECT_EQ(ImportPackages({dir / "Tiles.utx"}, {root, false}, again, againErr), 0);
    EXPECT_NE(again.str().find("already imported"), std::string::npos) << again.str();
    std::ostringstream forced, forcedErr;
    EXPECT_EQ(ImportPackages({dir / "Tiles.utx"}, {root, true}, forced, forcedErr), 0);
    EXPECT_NE(forced.str().find("Importing"), std::string::npos) << forced.str();
}

} // namespace
} // namespace orv
