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
    const std::string command = std::string("'") + ORV_BUILD_TOOL + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        result.Output.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(OrvaneBuild, WritesTheModelBesideTheMap) {
    test::TempDir game;
    game.Write("Textures/Walls/Textures/Metal/Plate.png", "");
    const std::string map = game.Write(
        "Maps/Room.t3d", test::MapText({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}, {}, "Plate"),
                                        test::BoxBrush("Crate", "CSG_Add", {64, 64, 0}, {96, 96, 32}, {}, "Crate")}));
    const RunResult run = RunBuild("'" + map + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    for (const char* stage : {"Reading ", "Brushes: 2 of 2 applied", "CSG: 14 faces", "BSP: ", "Portals: ", "Zones: 1,",
                              "Summary: 2 brushes, 14 faces, ", "1 zones", "1 untextured names: Crate", "Wrote "}) {
        EXPECT_TRUE(Has(run.Output, stage)) << stage << "\n" << run.Output;
    }
    LevelModel model;
    LoadLevelModel(model, game / "Maps/Room.bsp", [](std::string_view) { return nullptr; });
    ASSERT_FALSE(model.Surfaces.IsEmpty());
    int plates = 0, crates = 0;
    for (const Surface& s : model.Surfaces) {
        plates += s.TextureName == "Walls.Metal.Plate";
        crates += s.TextureName == "Crate";
    }
    EXPECT_EQ(plates, 6);
    EXPECT_EQ(crates, 5);

    // --output and --content elsewhere: the bare name is no longer found.
    const RunResult moved =
        RunBuild("'" + map + "' --content '" + (game / "Maps") + "' --output '" + (game / "Other.bsp") + "'");
    ASSERT_EQ(moved.ExitCode, 0) << moved.Output;
    EXPECT_TRUE(std::filesystem::exists(game / "Other.bsp"));
    EXPECT_TRUE(Has(moved.Output, "2 untextured names: Plate, Crate")) << moved.Output;
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

    for (const char* args : {"", "--bogus x.t3d", "a.t3d b.t3d", "a.t3d --content"}) {
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
