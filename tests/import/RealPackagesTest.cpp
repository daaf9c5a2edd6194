// The real packages of ../shared/peers: a map with its own texture package against its editor
// export, every stock map imported and played headless by the orvane program, fire and water
// textures, and the stripped stubs refused.
#include "Importer.h"
#include "MapImport.h"
#include "Package.h"

#include "../e2e/GameCopy.h"
#include "content/LevelModel.h"
#include "content/ProceduralTexture.h"
#include "content/PropertyValues.h"
#include "content/T3dParser.h"
#include "core/BinaryReader.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace orv {
namespace {

namespace fs = std::filesystem;

// Class and name of every actor, with its location text.
class ActorList final : public T3dSink {
public:
    std::map<std::string, std::string> Actors; // "Class Name" -> Location
    // The editor's brushes are left out: the export was saved after one more brush was made.
    void BeginActor(std::string_view cls, std::string_view name, int) override {
        current_ = std::string(cls) + " " + std::string(name);
        if (!SameText(cls, "Brush")) {
            Actors[current_] = "";
        }
    }
    void Property(std::string_view key, std::string_view value) override {
        if (Actors.count(current_) && SameText(key, "Location")) {
            const Vector v = ParseVectorValue(value);
            char text[96];
            std::snprintf(text, sizeof(text), "%.2f %.2f %.2f", double(v.X), double(v.Y), double(v.Z));
            Actors[current_] = text;
        }
    }
    void Polygon(T3dPolygon&&) override {}
    void EndActor() override {}

private:
    std::string current_;
};

ActorList ReadActors(const fs::path& t3d) {
    ActorList list;
    ParseT3D(t3d.string(), list);
    return list;
}

// The copy's Textures folder made its own, so imports do not write into the build's shared tree.
void OwnTextures(const test::GameCopy& game) {
    const fs::path textures = game.Path() / "Textures";
    const fs::path shared = fs::read_symlink(textures);
    fs::remove(textures);
    fs::create_directory(textures);
    for (const auto& entry : fs::directory_iterator(shared)) {
        fs::create_directory_symlink(entry.path(), textures / entry.path().filename());
    }
}

TEST(RealPackages, TestMapImportsFullyTexturedAndAgreesWithItsExport) {
    ORV_PEER_FILE(unr, "exports/test_map.unr");
    ORV_PEER_FILE(utx, "exports/Checkers.utx");
    ORV_PEER_FILE(t3d, "exports/test_map.t3d");
    test::TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(ImportPackages({unr.string(), utx.string()}, {dir.Path(), false}, out, err), 0) << err.str();
    // Only the editor's own background texture is not in the map's texture package.
    EXPECT_EQ(out.str().find("textures of Checkers"), std::string::npos) << out.str();
    const ActorList imported = ReadActors(dir.Path() / "Maps" / "test_map.t3d");
    const ActorList exported = ReadActors(t3d);
    EXPECT_EQ(imported.Actors, exported.Actors);

    // The surfaces' textures are pictures of the package just imported (beside the editor's own
    // background on a few).
    LevelModel model;
    int textured = 0;
    LoadLevelModel(model, (dir.Path() / "Maps" / "test_map.bsp").string(), [&](std::string_view name) -> Texture* {
        if (StartsWithText(name, "Checkers.")) {
            const fs::path png = dir.Path() / "Textures" / "Checkers" / "Textures" /
                                 (std::string(name.substr(name.find('.') + 1)) + ".png");
            EXPECT_TRUE(fs::exists(png)) << png;
            ++textured;
        }
        return nullptr;
    });
    EXPECT_GT(textured, model.Surfaces.Num() / 2);
}

struct StockMap {
    const char* Name;
    const char* Extra; // a texture package imported with it, or empty
    int Nodes, Surfaces, Lightmaps;
};

// Counts as the packages' model records hold them.
constexpr StockMap kStockMaps[] = {
    {"DM-Liandri", "", 3489, 1419, 1335},
    {"DOM-Cinder", "", 3868, 1953, 1853},
    {"DM-Pyramid", "", 1324, 385, 336},
    {"CTF-Face", "textures/GreatFire.utx", 2870, 1082, 961},
    {"Entry", "", 15, 12, 0},
    {"1HH-TestBox-Large", "", 682, 565, 565},
};

// Share of the picture's pixels that are not near black: lit walls cover much of the view.
double LitShare(const Image& image) {
    int lit = 0;
    for (uint32_t p : image.Pixels) {
        lit += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) > 60 ? 1 : 0;
    }
    return image.Pixels.empty() ? 0.0 : double(lit) / double(image.Pixels.size());
}

TEST(RealPackages, EveryStockMapImportsAndPlaysHeadlessWithLitWalls) {
    test::GameCopy game;
    REQUIRE_PROGRAM(game);
    OwnTextures(game);
    for (const StockMap& m : kStockMaps) {
        SCOPED_TRACE(m.Name);
        ORV_PEER_FILE(unr, std::string("maps/") + m.Name + ".unr");
        std::vector<std::string> files = {unr.string()};
        if (*m.Extra) {
            ORV_PEER_FILE(extra, m.Extra);
            files.push_back(extra.string());
        }
        std::ostringstream out, err;
        ASSERT_EQ(ImportPackages(files, {game.Path(), true}, out, err), 0) << err.str();
        LevelModel model;
        LoadLevelModel(model, (game.Path() / "Maps" / (std::string(m.Name) + ".bsp")).string(),
                       [](std::string_view) -> Texture* { return nullptr; });
        EXPECT_EQ(model.Nodes.Num(), m.Nodes);
        EXPECT_EQ(model.Surfaces.Num(), m.Surfaces);
        EXPECT_EQ(model.Lightmaps.Num(), m.Lightmaps);
        const test::ProgramRun run = game.Play(m.Name, 3, "", "--screenshot-at 2");
        EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
        EXPECT_TRUE(run.Logged("Finished loading level.")) << run.Output;
        for (const std::string& line : SplitLines(run.Output + run.Errors)) {
            EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
            EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        }
        EXPECT_GT(LitShare(test::LoadPicture(game.Path() / "Shot0000.png")), 0.2) << "lit walls in view";
    }
}

TEST(RealPackages, ThePlayerWalksOnLiandrisFloor) {
    ORV_PEER_FILE(unr, "maps/DM-Liandri.unr");
    test::GameCopy game;
    REQUIRE_PROGRAM(game);
    OwnTextures(game);
    std::ostringstream out, err;
    ASSERT_EQ(ImportPackages({unr.string()}, {game.Path(), false}, out, err), 0) << err.str();
    const test::ProgramRun still = game.Play("DM-Liandri", 60);
    const test::ProgramRun walked = game.Play("DM-Liandri", 180, "61 key W down\n");
    const nlohmann::json a = still.Dump.Actor("Player"), b = walked.Dump.Actor("Player");
    ASSERT_FALSE(a.is_null() || b.is_null()) << walked.Output;
    const double moved = std::hypot(b["Location"][0].get<double>() - a["Location"][0].get<double>(),
                                    b["Location"][1].get<double>() - a["Location"][1].get<double>());
    EXPECT_GT(moved, 100.0) << "the player walked";
    EXPECT_NEAR(b["Location"][2].get<double>(), a["Location"][2].get<double>(), 64.0) << "and stayed on the floor";
    EXPECT_GT(b["Health"].get<int>(), 0);
}

TEST(RealPackages, FireAndWaterTexturesAndTheStrippedStubs) {
    ORV_PEER_FILE(fire, "textures/GreatFire.utx");
    ORV_PEER_FILE(water, "textures/Liquids.utx");
    ORV_PEER_FILE(music, "sounds/Course.umx");
    ORV_PEER_FILE(sounds, "sounds/Announcer.uax");
    test::TempDir dir;
    std::ostringstream out, err;
    EXPECT_EQ(ImportPackages({fire.string(), water.string(), music.string(), sounds.string()}, {dir.Path(), false}, out, err), 1);
    EXPECT_NE(err.str().find("Course.umx: Music Course holds no music data (object Course, offset"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("Announcer.uax: Sound "), std::string::npos) << err.str();
    int fires = 0, waters = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path() / "Textures")) {
        std::optional<BinaryReader> file = BinaryReader::OpenFile(entry.path().string());
        if (entry.path().extension() == ".firet") {
            const FireTextureFile f = ReadFireTextureFile(*file);
            fires += f.Sparks.empty() ? 0 : 1;
        } else if (entry.path().extension() == ".wett") {
            const WetTextureFile w = ReadWetTextureFile(*file);
            waters += w.Drops.empty() || w.SourceTexture.empty() ? 0 : 1;
        }
    }
    EXPECT_EQ(fires, 12) << out.str();
    EXPECT_GT(waters, 0) << out.str();
}

} // namespace
} // namespace orv
