// The player's step on a flat floor, where the runs of the real program on Demo 1 (tests/e2e:
// walking, jumps, swimming, lava, the translator's text, a health pack, the teleporter and the
// exit) do not reach: turning and mouse look, the sounds, god mode, pickups at full health,
// teleporter tags, and death.
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

struct PlayerFixture : test::WorldFixture {
    PlayerFixture() {
        AddQuad({-4000, -4000, 0}, {4000, -4000, 0}, {4000, 4000, 0}, {-4000, 4000, 0});
        FinishLevel();
        world.CurrentLevel.Info = &static_cast<LevelInfo&>(AddActor("LevelInfo", "LevelInfo0"));
        player = CreatePlayerPawn(world);
        world.Input = &input;
        input.SetMouseArea(100000, 100000); // no recentring in these tests
        input.SetMousePosition(50000, 50000);
        input.SetMouseAvailable(true);
        ConfigSet(config, "MouseSensitivity", "40");
        StepAt({0, 0, 39.5f}, 1);
    }
    // Places the player standing at a point and runs steps of the game.
    void StepAt(const Vector& at, int steps) {
        MoveActorTo(*player, at);
        for (int i = 0; i < steps; ++i) {
            world.GameTime += 1.0 / 60.0;
            UpdateActor(*player, kStepDeltaTime);
            RemoveDestroyedActors(world);
        }
    }
    InputState input;
    PlayerPawn* player = nullptr;
};

TEST(PlayerPawn, TurningMouseLookJumpsGodModeTouchesAndDeath) {
    PlayerFixture f;
    f.input.SetKey(kKeyRight, true);
    f.StepAt(f.player->Location, 10);
    EXPECT_EQ(f.player->Rotation.Yaw, 2560); // 256 units per step
    f.input.ReleaseAll();
    f.input.MoveMouse(2, 1000); // yaw by dx, pitch against dy, clamped
    f.StepAt(f.player->Location, 5);
    EXPECT_EQ(f.player->Rotation, (Rotator{-16384, 2560 + 80, 0}));
    f.input.SetKey(kKeySpace, true);
    f.StepAt(f.player->Location, 11); // held on: one jump, and none in the air
    EXPECT_EQ(std::ranges::count(f.services.Sounds, "UnrealShare.Female.jump1fem"), 1);
    f.input.ReleaseAll();
    ConfigSet(f.config, "GodMode", "True");
    f.player->Velocity = {};
    f.player->TakeDamage(50, nullptr, {}, {7, 0, 0}, "");
    EXPECT_EQ(f.player->Health, 100);
    EXPECT_EQ(f.player->Velocity, (Vector{7, 0, 50})); // the kick still comes
    EXPECT_EQ(f.player->ViewFlash[0], 0.5f);           // and the flash, sqrt(50 / 200)
    ConfigSet(f.config, "GodMode", "False");

    f.AddActor("TranslatorEvent", "T", {{"Message", "Welcome"}, {"Location", "(X=0,Y=0,Z=40)"}});
    f.StepAt({0, 0, 39.5f}, 1);
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Pickups.TransA3"));
    // Health: at full health it stays; after damage it heals up to 100.
    Actor& pack = f.AddActor("Health", "Pack",
                             {{"PickupMessage", "+"}, {"HealingAmount", "40"}, {"Location", "(X=1000,Y=0,Z=40)"}});
    f.StepAt({1000, 0, 39.5f}, 1);
    EXPECT_FALSE(pack.bDeleteMe);
    EXPECT_FALSE(f.services.PlayedSound("UnrealShare.Pickups.Health2"));
    f.StepAt({1500, 0, 39.5f}, 1);
    f.player->Health = 70;
    f.StepAt({1000, 0, 39.5f}, 1);
    EXPECT_EQ(f.player->Health, 100);
    // A teleporter finds its destination's tag ignoring case; without one it does nothing.
    f.AddActor("Teleporter", "Hop", {{"URL", "Far"}, {"Location", "(X=300,Y=0,Z=40)"}});
    f.AddActor("Teleporter", "Nowhere", {{"URL", "NoSuchTag"}, {"Location", "(X=-300,Y=0,Z=40)"}});
    f.AddActor("Teleporter", "Dest", {{"Tag", "far"}, {"Location", "(X=2000,Y=2000,Z=40)"}});
    f.StepAt({300, 0, 39.5f}, 1);
    EXPECT_NEAR(f.player->Location.X, 2000.0f, 1.0f);
    EXPECT_NEAR(f.player->Location.Z, 56.0f, 1.0f); // 16 above the destination
    f.StepAt({-300, 0, 39.5f}, 1);
    EXPECT_NEAR(f.player->Location.X, -300.0f, 1.0f);
    EXPECT_EQ(f.world.PendingLevel, "");
    // Of two teleporters sending to each other, the one the player arrives in does not send him back.
    f.AddActor("Teleporter", "Ping", {{"Tag", "Ping"}, {"URL", "Pong"}, {"Location", "(X=600,Y=600,Z=40)"}});
    f.AddActor("Teleporter", "Pong", {{"Tag", "Pong"}, {"URL", "Ping"}, {"Location", "(X=-600,Y=600,Z=40)"}});
    f.StepAt({600, 600, 39.5f}, 2);
    EXPECT_NEAR(f.player->Location.X, -600.0f, 1.0f);
    // Death opens the game over menu.
    f.player->TakeDamage(150, nullptr, {}, {}, "");
    f.StepAt(f.player->Location, 1);
    EXPECT_EQ(f.services.GameOvers, 1);
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Female.death1dfem") ||
                f.services.PlayedSound("UnrealShare.Female.death4cfem"));
}

} // namespace
} // namespace orv
