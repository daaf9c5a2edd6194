// The orvane-build program as a level designer runs it.
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace orv {
namespace {

// The program's exit code and its standard output and error together.
std::pair<int, std::string> RunBuild(const std::string& arguments) {
    std::string output;
    FILE* pipe = popen((std::string("'") + ORV_BUILD_TOOL + "' " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int status = pipe ? pclose(pipe) : -1;
    InvalidateVfsCache(); // the program wrote behind this process's back
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(OrvaneBuild, CompilesAndLightsBesideTheMapWithProgress) {
    // The content tree holds one of the two textures, and a light class of its own whose
    // defaults make its actor a light.
    test::TempDir game;
    game.Write("Textures/Walls/Textures/Metal/Plate.png", "");
    game.Write("System/Custom/Classes/Lamp.uc",
               "class Lamp expands Light;\ndefaultproperties\n{\n\tLightRadius=32\n}\n");
    const std::string map = game.Write(
        "Maps/Room.t3d", test::MapText({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 256, 128}, {}, "Plate"),
                                        test::BoxBrush("Crate", "CSG_Add", {64, 64, 0}, {96, 96, 32}, {}, "Crate"),
                                        test::ActorText("Lamp", "Lamp0", {256, 200, 64})}));
    const auto [code, output] = RunBuild("'" + map + "'");
    ASSERT_EQ(code, 0) << output;
    for (const char* part : {"Reading ", "Brushes: 2 of 2 applied", "CSG: 14 faces", "BSP: ", "Portals: ", "Zones: 1,",
                             "Lighting: 11 lightmaps, ", " 1 lights, ", " rays/s (", "Summary: 2 brushes, 14 faces, ",
                             "1 zones", "11 lightmaps, 1 lights, 1 untextured names: Crate", "Wrote "}) {
        EXPECT_TRUE(Has(output, part)) << part << "\n" << output;
    }
    size_t at = 0;
    for (int percent = 10; percent <= 100; percent += 10) {
        at = output.find("Lighting: " + std::to_string(percent) + "%\n", at);
        ASSERT_NE(at, std::string::npos) << percent << "%\n" << output;
    }
    LevelModel model, dark;
    LoadLevelModel(model, game / "Maps/Room.bsp", [](std::string_view) { return nullptr; });
    int plates = 0, crates = 0;
    for (const Surface& s : model.Surfaces) {
        plates += s.TextureName == "Walls.Metal.Plate";
        crates += s.TextureName == "Crate";
    }
    EXPECT_EQ(std::pair(plates, crates), std::pair(6, 5));

    // The bytes do not depend on the thread count.
    ASSERT_EQ(RunBuild("'" + map + "' --threads 1 --output '" + (game / "One.bsp") + "'").first, 0);
    std::string lit, oneThread;
    ASSERT_TRUE(ReadWholeFile(game / "Maps/Room.bsp", lit) && ReadWholeFile(game / "One.bsp", oneThread));
    EXPECT_EQ(lit, oneThread);

    // --output, --content elsewhere (the bare name is no longer found) and no lighting.
    const auto [darkCode, darkOutput] = RunBuild("'" + map + "' --no-lighting --content '" + (game / "Maps") +
                                                 "' --output '" + (game / "Dark.bsp") + "'");
    ASSERT_EQ(darkCode, 0) << darkOutput;
    EXPECT_TRUE(!Has(darkOutput, "Lighting:") && Has(darkOutput, "2 untextured names: Plate, Crate")) << darkOutput;
    LoadLevelModel(dark, game / "Dark.bsp", [](std::string_view) { return nullptr; });
    EXPECT_TRUE(dark.Lightmaps.IsEmpty() && dark.ActorRefs.IsEmpty());
}

TEST(OrvaneBuild, BadInputEndsWithAClearMessageAndExitCode1) {
    test::TempDir dir;
    const std::string bad = dir.Write("Bad.t3d", "Begin Map\nBegin Polygon\nBegin Polygon\n");
    const auto [code, output] = RunBuild("'" + bad + "'");
    EXPECT_TRUE(code == 1 && Has(output, "In " + bad + ", line 3: Begin Polygon") &&
                Has(output, "Error: Parse error: 'Begin Polygon' in the middle of another polygon"))
        << output;
    EXPECT_FALSE(std::filesystem::exists(dir / "Bad.bsp"));
    const std::string missing = dir / "Missing.t3d";
    EXPECT_EQ(RunBuild("'" + missing + "'"),
              std::pair(1, "Reading " + missing + "\nError: Cannot read map file " + missing + "\n"));
    for (const char* args :
         {"", "--bogus x.t3d", "a.t3d b.t3d", "a.t3d --content", "a.t3d --threads 0", "a.t3d --threads many"}) {
        const auto [usageCode, usage] = RunBuild(args);
        EXPECT_TRUE(usageCode == 1 && Has(usage, "Usage: orvane-build MAP.t3d")) << args << "\n" << usage;
    }
    const auto [helpCode, help] = RunBuild("--help");
    EXPECT_TRUE(helpCode == 0 && Has(help, "Usage: orvane-build MAP.t3d")) << help;
}

} // namespace
} // namespace orv
