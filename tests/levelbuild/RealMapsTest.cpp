// The editor's own exports compile: every check of the small maps holds on them too.
#include "MapText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <iostream>

namespace orv {
namespace {

TEST(RealMaps, EditorExportsCompileSealedAndSound) {
    const std::filesystem::path peers = test::PeersDir();
    if (peers.empty()) {
        GTEST_SKIP() << "../shared/peers is not here; the real exports cannot be compiled";
    }
    for (const char* name : {"DM-Liandri", "DOM-Cinder", "test_map"}) {
        const std::filesystem::path path = peers / "blender_t3d" / (std::string(name) + ".t3d");
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << path << " is missing";
        }
        SCOPED_TRACE(name);
        LevelBuildOptions options;
        options.Progress = false;
        const CompiledLevel level = CompileMap(ReadMapFile(path.string()), options);
        test::ExpectSoundLevel(level, 3000);
        EXPECT_EQ(level.Zones.LeakingLeaves, 0);
        EXPECT_EQ(level.Zones.GuessedLeaves, 0);
        std::cout << name << ": " << level.BrushCounts.Applied << " brushes, " << level.Faces.size() << " faces, "
                  << level.Model.Nodes.Num() << " nodes, " << level.Tree.Leaves.size() << " leaves, "
                  << level.Zones.NumZones << " zones, " << level.Portals.Portals.size() << " portals\n";
        RecordProperty(std::string(name) + "_nodes", level.Model.Nodes.Num());
    }
}

} // namespace
} // namespace orv
