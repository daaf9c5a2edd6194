// Fire and water step only after a frame drew them. Their pictures, and the caustics', are Demo
// 1's, end to end.
#include "render/ProceduralUpdate.h"

#include "GlTestSupport.h"
#include "content/ProceduralTexture.h"
#include "content/Resources.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(ProceduralTextures, OnlyThoseDrawnLastFrameStepAndUploadWhole) {
    Resources res;
    for (int i = 0; i < 3; ++i) { // a fire seen, one unseen, a plain texture seen
        FireTextureFile file{16, 16, {}, 0, 250, 0, {}};
        file.Palette.fill(0xFF0000FFu);
        res.Textures.Add(i < 2 ? MakeFireTexture(file) : std::make_unique<Texture>());
        res.Textures.Last()->Used = i != 1;
    }
    test::RecordingUploader uploader;
    EXPECT_EQ(AdvanceProceduralTextures(res, uploader), 1);
    EXPECT_EQ(res.Textures[1]->Pixels.At(3, 3), 0xFF000000u) << "the unseen fire stays black as made";
    EXPECT_EQ(uploader.Regions, (std::vector<std::array<int, 4>>{{0, 0, -1, -1}})) << "the whole image";
    EXPECT_EQ(AdvanceProceduralTextures(res, uploader), 0) << "no frame drawn since: nothing steps";
}

} // namespace
} // namespace orv
