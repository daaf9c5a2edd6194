// The tree the build generated in the game folder: every picture, font, sound and song in it loads
// through the engine or libsndfile and libopenmpt, a run on one thread writes it byte for byte, the
// class scripts link up to Actor, and the creatures have their sequences, strikes, shape and motion.
#include "ContentTree.h"
#include "Songs.h"
#include "Sounds.h"
#include "content/Font.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <sndfile.hh>

#include <cmath>
#include <fstream>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

namespace orv {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
float Peak(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (const float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

// A test that runs inside the game folder, where the engine's relative content paths resolve.
class GeneratedTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(test::GameDir() / "System")) << test::GameDir() << " holds no generated content";
        fs::current_path(test::GameDir());
        InvalidateVfsCache();
    }
    void TearDown() override {
        fs::current_path(oldDirectory_);
        InvalidateVfsCache();
    }
    const fs::path oldDirectory_ = fs::current_path();
};

// The build made the tree on two threads; one pass over a run on one thread finds every file the
// same and loads it: pictures as textures under the names their paths give, fonts with every
// printable glyph, sounds and songs as the player decodes them; nothing falls back or warns.
TEST_F(GeneratedTree, ARunOnOneThreadWritesTheSameFilesAndEachLoads) {
    test::TempDir out;
    ASSERT_EQ(GenerateContent(
                  {.OutDir = out.Path(), .SourceDir = test::SourceDir() / "content", .Threads = 1, .Progress = {}}),
              std::vector<std::string>{});
    test::LogCapture log;
    Resources res;
    LoadFallbackTexture(res);
    std::map<std::string, std::unique_ptr<Font>> fonts;
    std::map<std::string, int> counts;
    size_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out.Path())) {
        const fs::path path = fs::relative(entry.path(), out.Path());
        if (!entry.is_regular_file() || path == "Orvane.ini") { // the player may save its settings
            continue;
        }
        const std::string ext = path.extension().string(), bytes = ReadBytes(entry.path());
        EXPECT_TRUE(bytes == ReadBytes(path)) << path << " differs between runs";
        total += bytes.size();
        ++counts[ext];
        const std::vector<std::string> parts(path.begin(), path.end()); // Textures, package, Textures, groups, file
        if (ext == ".font") {
            std::unique_ptr<Font>& font = fonts[path.stem().string()] = LoadFont(res, path.string());
            ASSERT_EQ(font->Pages.Num(), 1);
            const FontPage& page = font->Pages[0];
            ASSERT_TRUE(page.PageTexture != res.FallbackTexture() && page.Characters.Num() == 256) << path;
            EXPECT_EQ(page.Characters['\n'].USize, 0) << "control codes draw nothing";
            for (int code = ' '; code <= '~'; ++code) {
                const FontCharacter& c = page.Characters[code];
                EXPECT_TRUE(c.USize > 0 && c.VSize == font->Height && c.VSize > 0) << path << " code " << code;
                EXPECT_LE(c.StartU + c.USize, page.PageTexture->Width());
                EXPECT_LE(c.StartV + c.VSize, page.PageTexture->Height());
            }
        } else if (parts[0] == "Textures" && ext != ".ini") {
            std::string name = parts[1];
            for (size_t i = 3; i < parts.size(); ++i) {
                name += "." + (i + 1 < parts.size() ? parts[i] : path.stem().string());
            }
            const Texture* texture = LoadTexture(res, name, false);
            EXPECT_EQ(texture == res.FallbackTexture(), name == "Zelkor.Missing") << name;
            const int w = texture->Width(), h = texture->Height();
            EXPECT_TRUE(w > 0 && h > 0 && (w & (w - 1)) == 0 && (h & (h - 1)) == 0) << name << " " << w << "x" << h;
        } else if (ext == ".wav" || ext == ".ogg") {
            SndfileHandle sound(path.string());
            std::vector<float> samples(size_t(sound.frames() * sound.channels()));
            EXPECT_GT(sound.readf(samples.data(), sound.frames()), kSoundRate / 40) << path << " is shorter than 25 ms";
            EXPECT_TRUE(Peak(samples) > 0.2f && Peak(samples) <= 1.0f) << path << " peaks at " << Peak(samples);
        } else if (ext == ".xm") {
            std::ostringstream warnings;
            openmpt::module song(bytes.data(), bytes.size(), warnings);
            EXPECT_GT(song.get_duration_seconds(), 30.0) << path;
            std::vector<float> music(2 * 10 * 44100); // the first ten seconds: music that does not clip
            music.resize(2 * song.read_interleaved_stereo(44100, music.size() / 2, music.data()));
            const double energy = std::inner_product(music.begin(), music.end(), music.begin(), 0.0);
            EXPECT_GT(std::sqrt(energy / double(music.size())), 0.02) << path << " is silent";
            EXPECT_LT(Peak(music), 1.0f) << path << " clips";
            EXPECT_EQ(warnings.str().find("rror"), std::string::npos) << warnings.str();
        }
    }
    EXPECT_LT(total, 50u * 1024 * 1024) << "the tree stays small";
    EXPECT_EQ(counts[".wav"] + counts[".ogg"], int(SoundList().size()));
    EXPECT_EQ(counts[".xm"], int(DemoSongs().size()));
    EXPECT_GT(counts[".png"], 90);
    for (const std::string& line : log.Lines()) {
        EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
    }

    // Every sound resolves by its name, the sounds the engine plays among them.
    for (const SoundInfo& sound : SoundList()) {
        EXPECT_TRUE(EndsWithText(ResolveSoundPath(res, sound.Name, ""), sound.Ogg ? ".ogg" : ".wav")) << sound.Name;
    }
    for (const std::string_view name :
         SplitText("Menu.Select4 Menu.Updown3 Female.death1dfem Female.death4cfem Female.jump1fem Female.linjur1fem "
                   "Female.linjur2fem Female.linjur3fem Female.hinjur4fem Female.lland1fem Female.Land1 "
                   "Pickups.TransA3 Pickups.Health2 Dispersion.DispShot General.Explo1 General.DispEX1",
                   ' ')) {
        EXPECT_NE(ResolveSoundPath(res, "Sound'UnrealShare." + std::string(name) + "'", ""), "") << name;
    }
    EXPECT_NE(ResolveSoundPath(res, "Zelkor.underwater", ""), "");
    // Settings files make textures masked or translucent; the water is procedural.
    const auto flags = [&](const char* name) { return LoadTexture(res, name, false)->Flags; };
    EXPECT_EQ(std::tuple(flags("Orvane.Metal.Grate"), flags("Orvane.Glass.Window"), flags("Orvane.Stone.Wall")),
              std::tuple(kTextureMasked, kTextureAlphaBlend, 0u));
    EXPECT_TRUE(LoadTexture(res, "Orvane.Liquid.WaterWet", false)->IsProcedural());
    // The splash shows the logo's top-left 640 x 480: lit inside, black outside.
    const Image& logo = LoadTexture(res, "Zelkor.Logo", false)->Pixels;
    ASSERT_EQ(std::pair(logo.Width, logo.Height), std::pair(1024, 512));
    auto brightness = [&](int x, int y) {
        return (logo.At(x, y) >> 16 & 255) + (logo.At(x, y) >> 8 & 255) + (logo.At(x, y) & 255);
    };
    int lit = 0;
    for (int y = 0; y < 480; y += 8) {
        for (int x = 0; x < 640; x += 8) {
            lit += brightness(x, y) > 60;
        }
    }
    EXPECT_GT(lit, 400) << "of the 80 x 60 samples";
    EXPECT_EQ(brightness(700, 100) + brightness(100, 500) + brightness(1023, 511), 0u);
    // The caustics are 32 distinct frames.
    std::set<std::vector<uint32_t>> caustics;
    for (int i = 0; i < 32; ++i) {
        caustics.insert(LoadTexture(res, "Zelkor.caustics.caust_a" + std::to_string(i), false)->Pixels.Pixels);
    }
    EXPECT_EQ(caustics.size(), 32u);
    // The menus place text at fixed pixel columns of a 480-line screen; a text is as wide as the
    // sum of its characters.
    auto width = [&](const char* font, std::string_view text) {
        int sum = 0;
        for (const char c : text) {
            sum += fonts.at(font)->Pages[0].Characters[uint8_t(c)].USize;
        }
        return sum;
    };
    EXPECT_LE(width("K_MedFont", "Resolution (not for borderless)"), 160); // label column 120..280
    EXPECT_LE(width("K_LargeFont", "OPTIONS MENU"), 368 - 150);            // inside the menu panel
    EXPECT_LE(width("K_LargeFont", "SELECT LEVEL"), 368 - 164);
    EXPECT_LE(fonts.at("K_MedFont")->Height, 19); // the options rows are 19 pixels apart
}

// The monster animation table: the sequences each creature's mesh plays, "!" after those that
// strike through a notify and "*" after those that shoot through one.
const std::map<std::string, std::string> kAnimationTable = {
    {"Brute1", "Sleep Charge WalkFire StillFire* GutShot* PistolWhip! Punch! Dead1 Dead2 Dead3 Dead4"},
    {"SkaarjW", "Breath Breath2 Jog JogFire Firing* claw! spin! lunge! Death Death2 Death3 Death4"},
    {"Manta1", "Fly Sting! Whip Death"},
    {"Tentacle1", "Waver Move2 Shoot* Smack! Dead2"},
    {"Fish", "breathing Swimming bite1 bite2! bite3 fighter Dead1"},
    {"Bird", "Flight"}};
const std::string kStrikes = " whipdamagetarget spindamagetarget strikedamagetarget punchdamagetarget "
                             "stabdamagetarget hitdamagetarget smacktarget ";
const std::string kShots = " spawnleftshot spawnrightshot spawnshot spawnbelch shoottarget spawnrock spawntwoshots ";

bool HasSequence(const Mesh& mesh, std::string_view name) {
    return std::any_of(mesh.Sequences.begin(), mesh.Sequences.end(), [&](auto& s) { return SameText(s.Name, name); });
}

TEST_F(GeneratedTree, ClassesLinkToActorAndCreaturesHaveTheirSequencesStrikesShapeAndMotion) {
    test::LogCapture log;
    Resources res;
    LoadFallbackTexture(res);
    LoadClassDefaults(res);
    ASSERT_GT(res.Classes.Num(), 60);
    for (const auto& record : res.Classes) {
        EXPECT_TRUE(IsSameOrA(res, record->Name, "Actor")) << record->Name << " does not lead up to Actor";
        // Every mesh a class names was loaded from the Models folder, with its skins.
        if (const std::string* meshName = record->Defaults.Find("Mesh")) {
            const std::string name = StripObjectReference(*meshName);
            Mesh* mesh = FindMesh(res, name.substr(name.rfind('.') + 1));
            ASSERT_NE(mesh, res.FallbackMesh()) << record->Name;
            EXPECT_TRUE(HasSequence(*mesh, "Still")) << mesh->Name;
            for (int i = 0; i < 16 && mesh->Skins[i]; ++i) {
                EXPECT_NE(mesh->Skins[i], res.FallbackTexture()) << mesh->Name;
            }
        }
    }
    const std::pair<const char*, const char*> kinds[] = {
        {"Brute", "ScriptedPawn"},      {"Skaarj", "ScriptedPawn"},       {"Manta", "ScriptedPawn"},
        {"GiantManta", "ScriptedPawn"}, {"Tentacle", "ScriptedPawn"},     {"DevilFish", "ScriptedPawn"},
        {"NaliFruit", "Health"},        {"DispersionAmmo", "Projectile"}, {"BreakingGlass", "ExplodingWall"},
        {"DispersionPistol", "Weapon"}, {"WaterZone", "ZoneInfo"}};
    for (const auto& [name, base] : kinds) {
        EXPECT_TRUE(IsA(res, name, base)) << name << " is not a " << base;
    }
    // The attacks happen through notifies inside the attack sequences (strictly between start and end).
    for (const auto& [meshName, row] : kAnimationTable) {
        const Mesh* mesh = FindMesh(res, meshName);
        ASSERT_NE(mesh, res.FallbackMesh()) << meshName;
        for (std::string_view seq : SplitText(row, ' ')) {
            const char mark = seq.back();
            seq.remove_suffix(mark == '!' || mark == '*');
            EXPECT_TRUE(HasSequence(*mesh, seq)) << meshName << " lacks " << seq;
            const std::string& functions = mark == '!' ? kStrikes : kShots;
            EXPECT_TRUE((mark != '!' && mark != '*') ||
                        std::any_of(mesh->Notifies.begin(), mesh->Notifies.end(),
                                    [&](const MeshNotify& n) {
                                        return SameText(n.Sequence, seq) && n.Time > 0.0f && n.Time < 1.0f &&
                                               FindText(functions, " " + n.Function + " ") != std::string::npos;
                                    }))
                << meshName << "." << seq << " has no notify to " << (mark == '!' ? "strike" : "shoot");
        }
    }
    for (const std::string& line : log.Lines()) {
        EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
    }

    // A standing creature spans about its class's collision height, feet to top.
    for (const auto& [className, meshName] :
         {std::pair{"Brute", "Brute1"}, {"Skaarj", "SkaarjW"}, {"Tentacle", "Tentacle1"}}) {
        const Mesh* mesh = FindMesh(res, meshName);
        PropertyList props;
        ApplyClassDefaults(res, className, props);
        const float height = ParseFloat(props.Get("CollisionHeight"));
        float top = -1e9f, bottom = 1e9f;
        for (uint16_t v = 0; v < mesh->NumVertices(); ++v) {
            const float z = GetMeshVertex(*mesh, 0, v).Z * mesh->Scale.Z;
            top = std::max(top, z);
            bottom = std::min(bottom, z);
        }
        EXPECT_NEAR(bottom, -height, height * 0.2f) << meshName << " feet";
        EXPECT_NEAR(top, height, height * 0.3f) << meshName << " top";
    }
    // Every sequence of more than one frame moves some vertex by 1.9 units or more somewhere (the
    // pistol's own frames excepted: it is held still); the shallow idle breath the Skaarj and the
    // Brute once had moved theirs by 1.7 and 1.6.
    for (const auto& mesh : res.Meshes) {
        for (const MeshSequence& seq : mesh->Sequences) {
            if (seq.NumFrames < 2 || StartsWithText(mesh->Name, "DPistol")) {
                continue;
            }
            float most = 0.0f;
            for (int f = seq.StartFrame + 1; f < seq.StartFrame + seq.NumFrames; ++f) {
                for (uint16_t v = 0; v < mesh->NumVertices(); ++v) {
                    const Vector from = GetMeshVertex(*mesh, uint16_t(seq.StartFrame), v);
                    most = std::max(most, Length(Scale3(GetMeshVertex(*mesh, uint16_t(f), v) - from, mesh->Scale)));
                }
            }
            EXPECT_GE(most, 1.9f) << mesh->Name << "." << seq.Name << " barely moves";
        }
    }
}

TEST(MkContentMeshes, GeneratorRefusesClassScriptsThatDisagreeWithTheMeshes) {
    test::TempDir sources, out;
    fs::copy(test::SourceDir() / "content", sources.Path(), fs::copy_options::recursive);
    const fs::path manta = sources.Path() / "System/UnrealShare/Classes/Manta.uc";
    std::string text = ReadBytes(manta);
    const std::string sting = "SEQ=Sting STARTFRAME=17";
    ASSERT_NE(text.find(sting), std::string::npos);
    std::ofstream(manta) << text.replace(text.find(sting), sting.size(), "SEQ=Sting STARTFRAME=18");
    const std::vector<std::string> errors =
        GenerateContent({.OutDir = out.Path(), .SourceDir = sources.Path(), .Parts = kPartMeshes, .Progress = {}});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(sting), std::string::npos) << errors[0];
}

TEST(MkContentTree, ConfigurationNamesEveryKeyThePlayerReadsAndStartsOnDemo1) {
    ConfigTable config;
    ConfigLoad(config, (test::SourceDir() / "content" / "Orvane.ini").string());
    for (const std::string_view key :
         SplitText("ScreenWidth ScreenHeight RefreshRate ScreenMode FOV Gamma RestoreCustomGamma MouseSensitivity "
                   "GodMode ProceduralTextures DynamicLights SoundVolume MusicVolume InitialLevel LightmapAtlasSize "
                   "TraceMeshColor TexInterpolation",
                   ' ')) {
        EXPECT_NE(ConfigFind(config, key), nullptr) << key;
    }
    EXPECT_EQ(ConfigGet(config, "InitialLevel"), "Demo1");
}

} // namespace
} // namespace orv
