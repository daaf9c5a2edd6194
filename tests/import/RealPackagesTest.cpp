// The real packages of ../shared/peers: a map with its own texture package against its editor
// export, fire and water textures, the stripped stubs refused, and every stock map imported and
// played headless by the orvane program.
#include "Importer.h"

#include "../e2e/GameCopy.h"
#include "content/LevelModel.h"
#include "content/ProceduralTexture.h"
#include "content/PropertyValues.h"
#include "core/BinaryReader.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace orv {
namespace {

namespace fs = std::filesystem;

// "Class Name=Name" of every actor but the editor's brushes (the export was saved after one more
// brush was made), with its location.
std::map<std::string, Vector> ReadActors(const fs::path& t3d) {
    std::map<std::string, Vector> actors;
    std::string text;
    EXPECT_TRUE(ReadWholeFile(t3d.string(), text)) << t3d;
    for (size_t at = text.find("Begin Actor Class="); at != std::string::npos; at = text.find("Begin Actor Class=", at + 1)) {
        const std::string head = text.substr(at + 18, text.find_first_of("\r\n", at) - at - 18);
        const std::string body = text.substr(at, text.find("End Actor", at) - at);
        const size_t location = body.find("Location=(");
        if (head.rfind("Brush ", 0) != 0) {
            actors[head] = location == std::string::npos ? Vector() : ParseVectorValue(body.substr(location + 9, body.find(')', location) - location - 8));
        }
    }
    return actors;
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

// With fire, water and the stripped stubs in the same run: the stubs are refused, the rest imported.
TEST(RealPackages, TestMapImportsFullyTexturedAndAgreesWithItsExportBesideFireWaterAndStubs) {
    ORV_PEER_FILE(unr, "exports/test_map.unr");
    ORV_PEER_FILE(utx, "exports/Checkers.utx");
    ORV_PEER_FILE(t3d, "exports/test_map.t3d");
    ORV_PEER_FILE(fire, "textures/GreatFire.utx");
    ORV_PEER_FILE(water, "textures/Liquids.utx");
    ORV_PEER_FILE(music, "sounds/Course.umx");
    ORV_PEER_FILE(sounds, "sounds/Announcer.uax");
    test::TempDir dir;
    std::ostringstream out, err;
    const std::vector<std::string> files = {unr, utx, fire, water, music, sounds};
    EXPECT_EQ(ImportPackages(files, {dir.Path(), false}, out, err), 1);
    EXPECT_NE(err.str().find("Course.umx: Music Course holds no music data (object Course, offset 176)"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("Announcer.uax: Sound cd8 holds no sound data (object cd8, offset 698)"), std::string::npos);
    // All five pictures, and no texture of the package missing (only the editor's own background).
    EXPECT_NE(out.str().find("Checkers.utx (package version 69)\n  5 textures\n"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("textures of Checkers"), std::string::npos) << out.str();
    EXPECT_EQ(ReadActors(dir.Path() / "Maps" / "test_map.t3d"), ReadActors(t3d));
    int fires = 0, waters = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path() / "Textures")) {
        std::optional<BinaryReader> file = BinaryReader::OpenFile(entry.path().string());
        fires += entry.path().extension() == ".firet" && !ReadFireTextureFile(*file).Sparks.empty();
        waters += entry.path().extension() == ".wett" && !ReadWetTextureFile(*file).Drops.empty();
    }
    EXPECT_EQ(fires, 12);
    EXPECT_EQ(waters, 12);
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

TEST(RealPackages, EveryStockMapImportsAndPlaysHeadlessWithLitWallsAndAFloorToWalkOn) {
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
        // Lit walls cover much of the view: pixels clearly above black.
        const Image shot = test::LoadPicture(game.Path() / "Shot0000.png");
        const auto lit = std::count_if(shot.Pixels.begin(), shot.Pixels.end(),
                                       [](uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) > 60; });
        EXPECT_GT(double(lit), 0.2 * double(shot.Pixels.size())) << "lit walls in view";
    }
    // On DM-Liandri, two seconds of walking from the start (down its slope), then a second standing
    // still: the player stands on a floor there instead of falling on through the world.
    const test::ProgramRun still = game.Play("DM-Liandri", 60);
    const test::ProgramRun walked = game.Play("DM-Liandri", 180, "61 key W down\n");
    const test::ProgramRun rested = game.Play("DM-Liandri", 240, "61 key W down\n181 key W up\n");
    const nlohmann::json a = still.Dump.Actor("Player"), b = walked.Dump.Actor("Player"), c = rested.Dump.Actor("Player");
    ASSERT_FALSE(a.is_null() || b.is_null() || c.is_null()) << walked.Output;
    EXPECT_GT(std::hypot(b["Location"][0].get<double>() - a["Location"][0].get<double>(),
                         b["Location"][1].get<double>() - a["Location"][1].get<double>()), 300.0) << "the player walked";
    EXPECT_NEAR(c["Location"][2].get<double>(), b["Location"][2].get<double>(), 1.0) << "and stands on a floor";
    EXPECT_EQ(c["Velocity"][2].get<double>(), 0.0);
    EXPECT_EQ(c["Health"].get<int>(), 100);
}

} // namespace
} // namespace orv
