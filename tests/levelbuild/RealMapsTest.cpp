// The editor's own exports compile and light: every check of the small maps holds on them too.
#include "Lightmaps.h"
#include "MapText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

TEST(RealMaps, EditorExportsCompileSealedAndSound) {
    for (const char* name : {"DM-Liandri", "DOM-Cinder", "test_map"}) {
        ORV_PEER_FILE(path, "exports/" + std::string(name) + ".t3d");
        SCOPED_TRACE(name);
        LevelBuildOptions options;
        options.Progress = false;
        const CompiledLevel level = CompileMap(ReadMapFile(path.string()), options);
        test::ExpectSoundLevel(level, 3000);
        EXPECT_EQ(level.Zones.LeakingLeaves, 0);
        EXPECT_EQ(level.Zones.GuessedLeaves, 0);

        // Their lights carry no LightType line (the class default): they are found all the same,
        // and every list entry names one of them.
        const LevelModel& model = level.Model;
        EXPECT_FALSE(level.Lights.empty());
        std::set<std::string> lightNames;
        for (const MapLight& light : level.Lights) {
            lightNames.insert(level.Map.Actors[static_cast<size_t>(light.Actor)].Name);
        }
        int lit = 0;
        for (const LightmapRecord& l : model.Lightmaps) {
            lit += l.FirstLight >= 0;
            for (int k = l.FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
                EXPECT_TRUE(lightNames.count(model.ActorRefs[model.LightIndices[k] - 1].Name));
            }
        }
        EXPECT_GT(lit, model.Lightmaps.Num() / 4);
        for (const Surface& s : model.Surfaces) {
            EXPECT_TRUE(SurfaceGetsLightmap(s.Flags) || s.LightmapIndex == -1) << s.TextureName;
        }
    }
}

} // namespace
} // namespace orv
