// Actors on screen: the pass filters, the sprite pulled towards the eye, the light falling off
// around an actor, the cross-fade and particle fades, and frames of the demo room with sprites,
// meshes (one of them a real mesh from ../shared/peers) and effects in it.
#include "render/ActorDraw.h"

#include "GlTestSupport.h"
#include "TestLevels.h"
#include "content/MeshFiles.h"
#include "render/ActorLight.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/MeshDraw.h"
#include "render/SpriteDraw.h"
#include "render/WorldWalk.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace orv {
namespace {

using test::Blue, test::Green, test::Red;

TEST(ActorDraw, PassFiltersByTriangleTypeAndByStyle) {
    // Type byte: normal, two-sided, translucent, masked, modulated, hidden normal, hidden translucent.
    const uint8_t types[] = {0, 1, 2, 3, 4, 0x08, 0x0A};
    const char* want[] = {"100", "100", "001", "100", "010", "000", "000"};
    for (size_t i = 0; i < std::size(types); ++i) {
        std::string got;
        for (DrawPass pass : {DrawPass::Opaque, DrawPass::SeeThrough, DrawPass::Translucent}) {
            got += MeshTriangleInPass(types[i], pass) ? '1' : '0';
        }
        EXPECT_EQ(got, want[i]) << "type byte " << int(types[i]);
    }
    const std::map<EStyle, std::string> styles = {
        {sty_none, "100"}, {sty_normal, "100"}, {sty_masked, "100"}, {sty_translucent, "001"}, {sty_modulated, "010"}, {sty_alphablend, "100"}};
    for (const auto& [style, passes] : styles) {
        std::string got;
        for (DrawPass pass : {DrawPass::Opaque, DrawPass::SeeThrough, DrawPass::Translucent}) {
            got += SpriteInPass(style, pass) ? '1' : '0';
        }
        EXPECT_EQ(got, passes) << "style " << int(style);
    }
}

TEST(ActorDraw, SpriteProjForwardPullsTowardsTheEyeButNeverNearerThanFiveUnits) {
    const Vector eye{10, 20, 30};
    const SpritePlacement near = PlaceSprite(eye, eye + Vector(100, 0, 0), 32);
    EXPECT_EQ(near.Location, eye + Vector(68, 0, 0));
    EXPECT_FLOAT_EQ(near.Scale, 0.68f);
    const SpritePlacement tooFar = PlaceSprite(eye, eye + Vector(0, 0, -20), 32);
    EXPECT_EQ(tooFar.Location, eye + Vector(0, 0, -5));
    EXPECT_FLOAT_EQ(tooFar.Scale, 0.25f);
    EXPECT_EQ(PlaceSprite(eye, eye + Vector(0, 40, 0), 0).Location, eye + Vector(0, 40, 0));
}

TEST(ActorDraw, LightIsFullAtTheLightHalfAtHalfItsRadiusAndNoneFromTheRadiusOnOncePerActor) {
    test::TestScene scene;
    scene.AddLight({0, 0, 0}, 200, 10); // 250 units; white: half brightness is 100 / 255
    scene.Finish();
    Renderer& renderer = *scene.Render;
    const float full = 100.0f / 255.0f;
    for (const auto& [distance, want] : std::vector<std::pair<float, float>>{{0, full}, {125, full / 2}, {250, 0}, {400, 0}}) {
        Actor* actor = scene.AddActor<Actor>("Actor", "Lit");
        actor->Location = {0, distance, 0};
        LightActorOnce(renderer, *actor);
        for (float c : actor->LightColor) {
            EXPECT_NEAR(c, want, 1e-5f) << "at " << distance;
        }
        actor->Location = {0, 0, 0}; // computed once: moving later changes nothing
        LightActorOnce(renderer, *actor);
        EXPECT_NEAR(actor->LightColor[0], want, 1e-5f);
    }
    Actor* unlit = scene.AddActor<Actor>("Actor", "Unlit");
    unlit->bUnlit = 1;
    LightActorOnce(renderer, *unlit);
    EXPECT_EQ(unlit->LightColor[0], 0.0f);
    EXPECT_EQ(unlit->bLit, 1);
}

TEST(ActorDraw, AnimatedFramesHoldThenCrossFadeAndParticlesFadeInAndOut) {
    for (const auto& [time, frame, blend] : std::vector<std::tuple<float, int, float>>{
             {0.05f, 0, 0.0f}, {0.5f, 0, 0.5f}, {0.95f, 0, 1.0f}, {2.5f, 2, 0.5f}}) {
        const SpriteCrossFade fade = CrossFadeAt(time * 0.2f, 0.2f);
        EXPECT_EQ(fade.Frame, frame) << time;
        EXPECT_NEAR(fade.Blend, blend, 1e-5f) << time;
    }
    EXPECT_EQ(CrossFadeAt(1.0f, 0.0f).Blend, 0.0f); // no pause: the first frame
    // Glow 2, fading in over the first fifth and out from 0.6 of the life of 10 seconds.
    for (const auto& [age, want] : std::vector<std::pair<float, float>>{{1, 1.0f}, {4, 2.0f}, {8, 1.0f}, {10, 0.0f}}) {
        EXPECT_NEAR(ParticleBrightness(2.0f, age, 10.0f, 0.2f, 0.6f), want, 1e-5f) << age;
    }
}

// Each actor's draws per pass and the mesh triangles each drew.
struct RecordingHooks final : FrameHooks {
    void DrawActor(Renderer& renderer, Actor& actor, DrawPass pass) override {
        const int64_t before = renderer.Actors.Timings.MeshTriangles;
        FrameHooks::DrawActor(renderer, actor, pass);
        Draws.push_back(actor.Name + ":" + std::to_string(int(pass)) + ":" +
                        std::to_string(renderer.Actors.Timings.MeshTriangles - before));
    }
    // The draws of actors whose name starts with prefix, in order.
    std::vector<std::string> Of(const std::string& prefix) const {
        std::vector<std::string> of;
        std::ranges::copy_if(Draws, std::back_inserter(of), [&](const std::string& d) { return d.starts_with(prefix); });
        return of;
    }
    std::vector<std::string> Draws;
};

// Whether each channel of a pixel is within 2 of 0xRRGGBB.
bool Near(uint32_t pixel, uint32_t rgb) {
    return std::abs(Red(pixel) - Red(rgb)) <= 2 && std::abs(Green(pixel) - Green(rgb)) <= 2 &&
           std::abs(Blue(pixel) - Blue(rgb)) <= 2;
}

// A mesh of one frame: an upright square facing -X of opaque triangles on skin 0, and one of
// translucent triangles on skin 1 beside it. Vertices pack as X bits 0-10, Y 11-21, Z 22-31.
Mesh TwoSquares() {
    auto pack = [](int x, int y, int z) {
        return uint32_t(x & 0x7FF) | uint32_t(y & 0x7FF) << 11 | uint32_t(z & 0x3FF) << 22;
    };
    Mesh mesh;
    mesh.Name = "TwoSquares";
    mesh.Scale = {1, 1, 1};
    mesh.NumFrames = 1;
    mesh.FrameSize = 8 * kPackedVertexBytes;
    for (int y0 : {-40, 10}) {
        for (const auto& [y, z] : std::vector<std::pair<int, int>>{{0, -15}, {30, -15}, {30, 15}, {0, 15}}) {
            mesh.Frames.Add(pack(0, y0 + y, z));
        }
    }
    for (uint16_t base : {0, 4}) {
        const uint8_t type = base ? kMeshTranslucent : kMeshNormal;
        mesh.Triangles.Add({{base, uint16_t(base + 1), uint16_t(base + 2)}, type, 0, {}, uint8_t(base / 4), 0});
        mesh.Triangles.Add({{base, uint16_t(base + 2), uint16_t(base + 3)}, type, 0, {}, uint8_t(base / 4), 0});
    }
    return mesh;
}

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr float kFov = 90.0f;

class ActorPictures : public test::GlTest {
protected:
    void SetUp() override {
        OpenContext(kWidth, kHeight);
        if (IsSkipped()) {
            return;
        }
        SetStartupGlState(kWidth, kHeight, kFov);
        room = std::make_unique<test::DemoRoom>(uploader);
        AddFallbackMesh(room->Scene.Res);
        EXPECT_TRUE(StartRenderer(*room->Scene.Render, &test::GlTestContext::GetProc));
    }

    Texture* AddTexture(const std::string& name, Image image) {
        Texture* texture = room->Scene.AddTexture(name, std::move(image));
        texture->GLTexture = uploader.UploadTexture(texture->Pixels, 0);
        return texture;
    }

    // An actor filed in the room's tree at a location.
    template <typename T = Actor>
    T* Place(const std::string& className, const std::string& name, const Vector& location) {
        T* actor = room->Scene.AddActor<T>(className, name);
        actor->Location = location;
        actor->SpriteProjForward = 0;
        RegisterActor(*actor);
        return actor;
    }

    // From the west end, looking east along the room's middle at eye height 128.
    Image Draw() {
        PlayerPawn& player = *room->Scene.Player;
        player.Location = Vector(-400, 0, 128 - player.EyeHeight);
        player.Rotation = {0, 0, 0};
        const FrameSettings settings{kWidth, kHeight, kFov};
        RenderWorldFrame(*room->Scene.Render, room->Scene.Scene, ComputeCamera(player, kWidth, kHeight, kFov), settings,
                         uploader, hooks);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return gl->ReadFrame();
    }

    uint32_t PixelAt(const Image& frame, const Vector& p) const {
        const Vector s = ProjectPoint(room->Scene.Render->View, p);
        return frame.At(static_cast<int>(s.X), static_cast<int>(s.Y));
    }

    GlTextureUploader uploader;
    RecordingHooks hooks;
    std::unique_ptr<test::DemoRoom> room;
};

TEST_F(ActorPictures, SpritesShowTheirStyleHiddenOnesNothingAndAPlaceholderMeshFallsBackToTheSprite) {
    const Image before = Draw();
    Texture* white = AddTexture("Test.Sprite", Image(8, 8, 0xFF808080u));
    const Vector opaqueAt{0, -100, 128}, translucentAt{0, 0, 200}, hiddenAt{0, 100, 60};
    Place("Actor", "Opaque", opaqueAt)->Tex = white;
    Actor* translucent = Place("Actor", "Translucent", translucentAt);
    translucent->Tex = white;
    translucent->Style = sty_translucent;
    Actor* hidden = Place("Actor", "Hidden", hiddenAt);
    hidden->Tex = white;
    hidden->bHidden = 1;
    Actor* placeholder = Place("Actor", "Placeholder", {0, 100, 200});
    placeholder->Tex = white;
    placeholder->MeshRef = room->Scene.Res.FallbackMesh();
    hooks.Draws.clear();
    const Image after = Draw();

    EXPECT_TRUE(Near(PixelAt(after, opaqueAt), 0x808080u)); // Glow 1 at half, doubled by the frame
    EXPECT_TRUE(Near(PixelAt(after, {0, 100, 200}), 0x808080u));
    EXPECT_EQ(PixelAt(after, hiddenAt), PixelAt(before, hiddenAt));
    const uint32_t wall = PixelAt(before, translucentAt), lit = PixelAt(after, translucentAt);
    EXPECT_GT(Red(lit), Red(wall) + 60); // added on top of the wall behind
    EXPECT_GT(Green(lit), Green(wall) + 60);
    EXPECT_GT(Blue(lit), Blue(wall) + 60);
    // Every visible actor is asked in every pass, in actor-list order.
    std::vector<std::string> sprites;
    std::ranges::copy_if(hooks.Draws, std::back_inserter(sprites), [](const std::string& d) {
        return d.starts_with("Opaque:") || d.starts_with("Translucent:") || d.starts_with("Hidden:") || d.starts_with("Placeholder:");
    });
    EXPECT_EQ(sprites, (std::vector<std::string>{"Opaque:0:0", "Translucent:0:0", "Hidden:0:0", "Placeholder:0:0",
                                                 "Opaque:1:0", "Translucent:1:0", "Hidden:1:0", "Placeholder:1:0",
                                                 "Opaque:2:0", "Translucent:2:0", "Hidden:2:0", "Placeholder:2:0"}));
}

TEST_F(ActorPictures, AMeshDrawsOpaqueTrianglesFirstTranslucentOnesLastWithItsSkinsAndMultiSkins) {
    Mesh mesh = TwoSquares();
    mesh.Skins[0] = AddTexture("Test.Red", Image(8, 8, 0xFFFF0000u));
    mesh.Skins[1] = AddTexture("Test.Blue", Image(8, 8, 0xFF0000FFu));
    Actor* actor = Place("Actor", "Squares", {0, 0, 128});
    actor->MeshRef = &mesh;
    actor->bUnlit = 1;
    actor->bHidden = 1;
    const uint32_t wall = PixelAt(Draw(), {0, 25, 128});
    actor->bHidden = 0;
    hooks.Draws.clear();
    const Image first = Draw();
    EXPECT_TRUE(Near(PixelAt(first, {0, -25, 128}), 0xFF0000u)); // skin 0 at the unlit level, doubled
    const uint32_t blended = PixelAt(first, {0, 25, 128});
    EXPECT_EQ(Blue(blended), 255); // translucent blue over the wall, which shows through
    EXPECT_NEAR(Red(blended), Red(wall), 2);
    EXPECT_EQ(hooks.Of("Squares:"), (std::vector<std::string>{"Squares:0:2", "Squares:1:0", "Squares:2:2"}));

    actor->MultiSkins[0] = AddTexture("Test.Green", Image(8, 8, 0xFF00FF00u));
    EXPECT_TRUE(Near(PixelAt(Draw(), {0, -25, 128}), 0x00FF00u));
}

TEST_F(ActorPictures, AnExplosionCrossFadesItsFramesAndAnEmitterDrawsItsLiveParticles) {
    auto* effect = Place<Explosion>("Explosion", "Boom", {0, 0, 128});
    effect->NumFrames = 2;
    effect->Pause = 1.0f;
    effect->SpriteAnim[0] = AddTexture("Test.Frame0", Image(16, 16, 0xFFFF0000u));
    effect->SpriteAnim[1] = AddTexture("Test.Frame1", Image(16, 16, 0xFF00FF00u));
    effect->Style = sty_translucent;
    auto* emitter = Place<Emitter>("Emitter", "Sparks", {0, -100, 128});
    emitter->Tex = AddTexture("Test.Spark", Image(8, 8, 0xFFFFFFFFu));
    emitter->Particles.Resize(2);
    emitter->Particles[0] = {1, {0, -100, 128}, {}, {}, 1.0f, 0.5f, 2.0f};
    emitter->Particles[1] = {0, {0, 100, 128}, {}, {}, 1.0f, 0.5f, 2.0f};
    effect->bHidden = emitter->bHidden = 1;
    const Image wall = Draw();
    effect->bHidden = emitter->bHidden = 0;
    const Vector centre{0, 0, 128}, live{0, -100, 128}, dead{0, 100, 128};
    // Three additive draws (the opaque, see-through and, translucent, the translucent pass) of
    // a quarter each, doubled: frame 0 alone well above the wall, no green.
    const Image held = Draw();
    EXPECT_EQ(Red(PixelAt(held, centre)), 255);
    EXPECT_NEAR(Green(PixelAt(held, centre)), Green(PixelAt(wall, centre)), 2);
    effect->SpriteTime = 0.5f; // half-way: both frames at half
    const Image half = Draw();
    EXPECT_GT(Green(PixelAt(half, centre)), Green(PixelAt(wall, centre)) + 60);
    EXPECT_GT(Red(PixelAt(half, centre)), Red(PixelAt(wall, centre)) + 60);
    // The live particle adds its grey; the dead one nothing.
    EXPECT_GT(Red(PixelAt(half, live)), Red(PixelAt(wall, live)) + 20);
    EXPECT_EQ(PixelAt(half, dead), PixelAt(wall, dead));
}

TEST_F(ActorPictures, ARealMeshIsDrawnLikeItsReference) {
    ORV_PEER_FILE(animation, "meshes/Keycard_a.3d");
    ORV_PEER_FILE(data, "meshes/Keycard_d.3d");
    Mesh mesh;
    ReadMesh(room->Scene.Res, mesh, animation.string(), data.string(), "Peers");
    Actor* card = Place("Actor", "Keycard", {-100, 0, 128});
    card->MeshRef = &mesh;
    card->DrawScale = 0.25f;
    card->Rotation.Yaw = 16384; // its face towards the eye
    std::ranges::fill(card->MultiSkins, AddTexture("Test.Card", test::CheckerImage(64, 0xFF3060C0u, 0xFFE0E0E0u)));
    const Image frame = Draw();
    const std::vector<std::string> draws = hooks.Of("Keycard:");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_NE(draws[0], "Keycard:0:0"); // its triangles drawn in the opaque pass
    EXPECT_TRUE(test::MatchesReference(frame, "peer-keycard"));
}

// A block of 60 polygons far east: its subtree is box-tested, so looking away from it the walk
// never reaches the actor inside and the frame never asks it to draw.
TEST_F(ActorPictures, AnActorOutsideEveryLeafTheWalkReachedIsNeverAskedToDraw) {
    test::TestScene scene;
    for (int i = 0; i < 60; ++i) {
        const float x = 1000.0f + 10.0f * (i / 6), y = -150.0f + 50.0f * (i % 6);
        scene.AddPolygon({{x, y, -100}, {x, y, 100}, {x, y + 40, 100}, {x, y + 40, -100}}, {nullptr, 0, false}, 1);
    }
    scene.AddActor<Actor>("Actor", "Inside")->Location = {1055, 0, 0};
    scene.Finish(uploader);
    ASSERT_TRUE(StartRenderer(*scene.Render, &test::GlTestContext::GetProc));
    for (const auto& [yaw, drawn] : std::vector<std::pair<int32_t, size_t>>{{32768, 0}, {0, 3}}) {
        hooks.Draws.clear();        scene.Player->Location = {0, 0, 0};
        scene.Player->Rotation = {0, yaw, 0};
        RenderWorldFrame(*scene.Render, scene.Scene, ComputeCamera(*scene.Player, kWidth, kHeight, kFov),
                         FrameSettings{kWidth, kHeight, kFov}, uploader, hooks);
        EXPECT_EQ(hooks.Of("Inside:").size(), drawn) << "yaw " << yaw;
    }
}

} // namespace
} // namespace orv
