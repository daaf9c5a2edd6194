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

struct RunResult {
    int ExitCode = -1;
    std::string Output; // standard output and error together
};

RunResult RunBuild(const std::string& arguments) {
    RunResult result;
    FILE* pipe = popen((std::string("'") + ORV_BUILD_TOOL + "' " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
        result.Output.append(buffer, n);
    }
    const int status = pipe ? pclose(pipe) : -1;
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    InvalidateVfsCache(); // the program wrote behind this process's back
    return result;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

LevelModel Load(const std::string& path) {
    LevelModel model;
    LoadLevelModel(model, path, [](std::string_view) { return nullptr; });
    return model;
}

TEST(OrvaneBuild, CompilesAndLightsBesideTheMapWithProgress) {
    test::TempDir game;
    game.Write("Textures/Walls/Textures/Metal/Plate.png", "");
    game.Write("System/Engine/Classes/Light.uc", "class Light expands Actor;\ndefaultproperties\n{\n"
                                                 "\tLightType=LT_Steady\n\tLightBrightness=64\n\tLightRadius=32\n}\n");
    const std::string map = game.Write(
        "Maps/Room.t3d", test::MapText({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 256, 128}, {}, "Plate"),
                                        test::BoxBrush("Crate", "CSG_Add", {64, 64, 0}, {96, 96, 32}, {}, "Crate"),
                                        test::ActorText("Light", "Light0", {256, 200, 64})}));
    const RunResult run = RunBuild("'" + map + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    for (const char* part : {"Reading ", "Brushes: 2 of 2 applied", "CSG: 14 faces", "BSP: ", "Portals: ", "Zones: 1,",
                             "Lighting: 11 lightmaps, ", " 1 lights, ", " rays/s (", "Summary: 2 brushes, 14 faces, ",
                             "1 zones", "11 lightmaps, 1 lights, 1 untextured names: Crate", "Wrote "}) {
        EXPECT_TRUE(Has(run.Output, part)) << part << "\n" << run.Output;
    }
    size_t at = 0;
    for (int percent = 10; percent <= 100; percent += 10) {
        at = run.Output.find("Lighting: " + std::to_string(percent) + "%\n", at);
        ASSERT_NE(at, std::string::npos) << percent << "%\n" << run.Output;
    }
    int plates = 0, crates = 0;
    for (const Surface& s : Load(game / "Maps/Room.bsp").Surfaces) {
        plates += s.TextureName == "Walls.Metal.Plate";
        crates += s.TextureName == "Crate";
    }
    EXPECT_EQ(std::pair(plates, crates), std::pair(6, 5));

    // The bytes do not depend on the thread count.
    ASSERT_EQ(RunBuild("'" + map + "' --threads 1 --output '" + (game / "One.bsp") + "'").ExitCode, 0);
    std::string lit, oneThread;
    ASSERT_TRUE(ReadWholeFile(game / "Maps/Room.bsp", lit));
    ASSERT_TRUE(ReadWholeFile(game / "One.bsp", oneThread));
    EXPECT_EQ(lit, oneThread);

    // --output, --content elsewhere (the bare name is no longer found) and no lighting.
    const RunResult dark = RunBuild("'" + map + "' --no-lighting --content '" + (game / "Maps") + "' --output '" +
                                    (game / "Dark.bsp") + "'");
    ASSERT_EQ(dark.ExitCode, 0) << dark.Output;
    EXPECT_FALSE(Has(dark.Output, "Lighting:"));
    EXPECT_TRUE(Has(dark.Output, "2 untextured names: Plate, Crate")) << dark.Output;
    const LevelModel model = Load(game / "Dark.bsp");
    EXPECT_TRUE(model.Lightmaps.IsEmpty());
    EXPECT_TRUE(model.ActorRefs.IsEmpty());
}

TEST(OrvaneBuild, BadInputEndsWithAClearMessageAndExitCode1) {
    test::TempDir dir;
    const std::string bad = dir.Write("Bad.t3d", "Begin Map\nBegin Polygon\nBegin Polygon\n");
    RunResult run = RunBuild("'" + bad + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(Has(run.Output, "In " + bad + ", line 3: Begin Polygon")) << run.Output;
    EXPECT_TRUE(Has(run.Output, "Error: Parse error: 'Begin Polygon' in the middle of another polygon")) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(dir / "Bad.bsp"));

    run = RunBuild("'" + (dir / "Missing.t3d") + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(Has(run.Output, "Error: Cannot read map file " + (dir / "Missing.t3d"))) << run.Output;

    for (const char* args :
         {"", "--bogus x.t3d", "a.t3d b.t3d", "a.t3d --content", "a.t3d --threads 0", "a.t3d --threads many"}) {
        run = RunBuild(args);
        EXPECT_EQ(run.ExitCode, 1) << args;
        EXPECT_TRUE(Has(run.Output, "Usage: orvane-build MAP.t3d")) << args;
    }
    run = RunBuild("--help");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(Has(run.Output, "Usage: orvane-build MAP.t3d"));
}

} // namespace
} // namespace orv
