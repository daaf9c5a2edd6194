// Actors on screen: the pass filters, the sprite pulled towards the eye, the light falling off
// around an actor, and frames of the demo room with sprites,
// a mesh, an explosion and a real mesh from ../shared/peers in it.
#include "render/ActorDraw.h"

#include "GlTestSupport.h"
#include "TestLevels.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/MeshDraw.h"
#include "render/SpriteDraw.h"
#include "render/WorldWalk.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::Blue, test::Green, test::Red;
constexpr DrawPass kPasses[] = {DrawPass::Opaque, DrawPass::SeeThrough, DrawPass::Translucent};

TEST(ActorDraw, PassFiltersByTriangleTypeAndByStyle) {
    // Type bytes normal, two-sided, translucent, masked, modulated, hidden normal, hidden translucent;
    // then the styles none .. alphablend. "100": drawn in the opaque pass only.
    const int codes[] = {0, 1, 2, 3, 4, 0x08, 0x0A, sty_none, sty_normal, sty_masked, sty_translucent, sty_modulated, sty_alphablend};
    const char* want[] = {"100", "100", "001", "100", "010", "000", "000", "100", "100", "100", "001", "010", "100"};
    for (size_t i = 0; i < std::size(codes); ++i) {
        std::string got;
        for (DrawPass pass : kPasses) {
            got += (i < 7 ? MeshTriangleInPass(uint8_t(codes[i]), pass) : SpriteInPass(EStyle(codes[i]), pass)) ? '1' : '0';
        }
        EXPECT_EQ(got, want[i]) << "row " << i;
    }
}

TEST(ActorDraw, SpriteProjForwardPullsTowardsTheEyeButNeverNearerThanFiveUnits) {
    const Vector eye{10, 20, 30};
    const SpritePlacement far = PlaceSprite(eye, eye + Vector(100, 0, 0), 32), near = PlaceSprite(eye, eye + Vector(0, 0, -20), 32);
    EXPECT_EQ(far.Location, eye + Vector(68, 0, 0));
    EXPECT_EQ(near.Location, eye + Vector(0, 0, -5));
    EXPECT_EQ(std::make_pair(far.Scale, near.Scale), std::make_pair(0.68f, 0.25f));
}

TEST(ActorDraw, LightIsFullAtTheLightHalfAtHalfItsRadiusNoneFromTheRadiusOnAndWorkedOutOnce) {
    test::TestScene scene;
    scene.AddLight({0, 0, 0}, 200, 10); // 250 units; white, at half brightness 100 / 255
    scene.Finish();
    for (const auto& [distance, want] : std::vector<std::pair<float, float>>{{0, 100 / 255.0f}, {125, 50 / 255.0f}, {250, 0}}) {
        Actor* actor = scene.AddActor<Actor>("Actor", "Lit");
        actor->Location = {0, distance, 0};
        for (int twice = 0; twice < 2; ++twice) { // moved to the light later: unchanged
            LightActorOnce(*scene.Render, *actor);
            actor->Location = {0, 0, 0};
            EXPECT_NEAR(actor->LightColor[0], want, 1e-5f) << distance;
            EXPECT_EQ(actor->LightColor[0], actor->LightColor[2]);
        }
    }
    Actor* unlit = scene.AddActor<Actor>("Actor", "Unlit");
    unlit->bUnlit = 1;
    LightActorOnce(*scene.Render, *unlit);
    EXPECT_EQ(unlit->LightColor[0], 0.0f);
}

// Records "name:pass:mesh triangles drawn" for every draw the frame asks for.
struct RecordingHooks final : FrameHooks {
    void DrawActor(Renderer& renderer, Actor& actor, DrawPass pass) override {
        const int64_t before = renderer.Actors.Timings.MeshTriangles;
        FrameHooks::DrawActor(renderer, actor, pass);
        Draws.push_back(actor.Name + ":" + std::to_string(int(pass)) + ":" + std::to_string(renderer.Actors.Timings.MeshTriangles - before));
    }
    std::vector<std::string> Draws;
};

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr float kFov = 90.0f;

// The demo room seen from its west end, looking east at eye height 128.
class ActorPictures : public test::GlTest {
protected:
    void SetUp() override {
        OpenContext(kWidth, kHeight);
        if (!IsSkipped()) {
            SetStartupGlState(kWidth, kHeight, kFov);
            demoRoom = std::make_unique<test::DemoRoom>(uploader);
            AddFallbackMesh(room().Scene.Res);
            EXPECT_TRUE(StartRenderer(*room().Scene.Render, &test::GlTestContext::GetProc));
        }
    }
    Texture* AddTexture(const std::string& name, Image image) {
        Texture* texture = room().Scene.AddTexture(name, std::move(image));
        texture->GLTexture = uploader.UploadTexture(texture->Pixels, 0);
        return texture;
    }
    template <typename T = Actor>
    T* Place(const std::string& name, const Vector& location, Texture* texture = nullptr, EStyle style = sty_normal) {
        T* actor = room().Scene.AddActor<T>("Actor", name);
        actor->Location = location;
        actor->SpriteProjForward = 0;
        actor->Tex = texture;
        actor->Style = style;
        RegisterActor(*actor);
        return actor;
    }
    Image Draw() {
        PlayerPawn& player = *room().Scene.Player;
        player.Location = Vector(-400, 0, 128 - player.EyeHeight);
        hooks.Draws.clear();
        RenderWorldFrame(*room().Scene.Render, room().Scene.Scene, ComputeCamera(player, kWidth, kHeight, kFov),
                         FrameSettings{kWidth, kHeight, kFov}, uploader, hooks);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return gl->ReadFrame();
    }
    uint32_t At(const Image& frame, const Vector& p) const {
        const Vector s = ProjectPoint(room().Scene.Render->View, p);
        return frame.At(static_cast<int>(s.X), static_cast<int>(s.Y)) & 0xFFFFFF;
    }
    std::vector<std::string> DrawsOf(const std::string& name) const {
        std::vector<std::string> of;
        std::ranges::copy_if(hooks.Draws, std::back_inserter(of), [&](const std::string& d) { return d.starts_with(name + ":"); });
        return of;
    }

    test::DemoRoom& room() const { return *demoRoom; }

    GlTextureUploader uploader;
    std::unique_ptr<test::DemoRoom> demoRoom;
    RecordingHooks hooks;
};

TEST_F(ActorPictures, SpritesByStyleMeshesByTriangleTypeAndExplosionsCrossFading) {
    Texture* grey = AddTexture("Test.Grey", Image(8, 8, 0xFF808080u));
    const Vector opaque{0, -70, 170}, translucent{0, -70, 60}, hidden{0, 70, 60}, fallback{0, 70, 170};
    Place("Opaque", opaque, grey);
    Actor* glow = Place("Translucent", translucent, grey, sty_translucent);
    Place("Hidden", hidden, grey)->bHidden = 1;
    Place("Fallback", fallback, grey)->MeshRef = room().Scene.Res.FallbackMesh();
    // A mesh of two triangles facing the eye, a red opaque one (skin 0) and a blue translucent one
    // (skin 1), packed as X in bits 0-10, Y in 11-21, Z in 22-31.
    Mesh mesh;
    mesh.Scale = {1, 1, 1};
    mesh.NumFrames = 1;
    mesh.FrameSize = 6 * kPackedVertexBytes;
    for (const auto& [y, z] : std::vector<std::pair<int, int>>{{-60, -20}, {-20, -20}, {-40, 20}, {20, -20}, {60, -20}, {40, 20}}) {
        mesh.Frames.Add(uint32_t(y & 0x7FF) << 11 | uint32_t(z & 0x3FF) << 22);
    }
    mesh.Triangles.Add({{0, 1, 2}, kMeshNormal, 0, {}, 0, 0});
    mesh.Triangles.Add({{3, 4, 5}, kMeshTranslucent, 0, {}, 1, 0});
    mesh.Skins[0] = AddTexture("Test.Red", Image(8, 8, 0xFFFF0000u));
    mesh.Skins[1] = AddTexture("Test.Blue", Image(8, 8, 0xFF0000FFu));
    Actor* meshActor = Place("Mesh", {0, 0, 128});
    meshActor->MeshRef = &mesh;
    meshActor->bUnlit = 1;
    auto* boom = Place<Explosion>("Boom", {0, 0, 200}, nullptr, sty_translucent);
    boom->NumFrames = 2;
    boom->Pause = 1.0f;
    boom->SpriteAnim[0] = AddTexture("Test.Frame0", Image(16, 16, 0xFF400000u));
    boom->SpriteAnim[1] = AddTexture("Test.Frame1", Image(16, 16, 0xFF004000u));
    const Vector redAt{0, -40, 128 - 20 / 3.0f}, blueAt{0, 40, 128 - 20 / 3.0f}, boomAt{0, 0, 200};
    boom->bHidden = meshActor->bHidden = glow->bHidden = 1;
    const Image wall = Draw();
    boom->bHidden = meshActor->bHidden = glow->bHidden = 0;
    const Image frame = Draw();

    EXPECT_NEAR(Red(At(frame, opaque)), 0x80, 2); // Glow 1 at half, doubled by the frame
    EXPECT_NEAR(Blue(At(frame, fallback)), 0x80, 2);
    EXPECT_EQ(At(frame, hidden), At(wall, hidden));
    EXPECT_NEAR(Red(At(frame, translucent)) - Red(At(wall, translucent)), 0x80, 2); // added to the wall
    EXPECT_EQ(At(frame, redAt), 0xFF0000u); // the unlit level, doubled
    EXPECT_EQ(Blue(At(frame, blueAt)), 255); // translucent over the wall, which shows through
    EXPECT_NEAR(Red(At(frame, blueAt)), Red(At(wall, blueAt)), 1);
    // Every visible actor is asked in every pass; the mesh's triangles come in their passes.
    EXPECT_EQ(DrawsOf("Hidden"), (std::vector<std::string>{"Hidden:0:0", "Hidden:1:0", "Hidden:2:0"}));
    EXPECT_EQ(DrawsOf("Mesh"), (std::vector<std::string>{"Mesh:0:1", "Mesh:1:0", "Mesh:2:1"}));
    // The explosion's frame 0 alone, drawn thrice at a quarter: 0x40 x 3 / 4, doubled.
    EXPECT_NEAR(Red(At(frame, boomAt)) - Red(At(wall, boomAt)), 0x60, 2);
    EXPECT_NEAR(Green(At(frame, boomAt)), Green(At(wall, boomAt)), 1);
    boom->SpriteTime = 0.5f; // half-way: each frame at half
    const uint32_t mixed = At(Draw(), boomAt);
    EXPECT_NEAR(Red(mixed) - Red(At(wall, boomAt)), 0x30, 2);
    EXPECT_NEAR(Green(mixed) - Green(At(wall, boomAt)), 0x30, 2);
    meshActor->MultiSkins[0] = AddTexture("Test.Green", Image(8, 8, 0xFF00FF00u));
    EXPECT_EQ(At(Draw(), redAt), 0x00FF00u);
}

TEST_F(ActorPictures, ARealMeshIsDrawnLikeItsReference) {
    ORV_PEER_FILE(animation, "meshes/Keycard_a.3d");
    ORV_PEER_FILE(data, "meshes/Keycard_d.3d");
    Mesh mesh;
    ReadMesh(room().Scene.Res, mesh, animation.string(), data.string(), "Peers");
    Actor* card = Place("Keycard", {-100, 0, 128});
    card->MeshRef = &mesh;
    card->DrawScale = 0.25f;
    card->Rotation.Yaw = 16384; // its face towards the eye
    std::ranges::fill(card->MultiSkins, AddTexture("Test.Card", test::CheckerImage(64, 0xFF3060C0u, 0xFFE0E0E0u)));
    const Image frame = Draw();
    EXPECT_NE(DrawsOf("Keycard").front(), "Keycard:0:0"); // its triangles drawn in the opaque pass
    EXPECT_TRUE(test::MatchesReference(frame, "peer-keycard"));
}

} // namespace
} // namespace orv
