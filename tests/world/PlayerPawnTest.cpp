// The player's step on a flat floor: walking speed, jumping, swimming, zone damage, god mode,
// touching actors, pickups, teleporters, level exits and death.
#include "core/ConfigFile.h"
#include "world/Collision.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace orv {
namespace {

struct PlayerFixture : test::WorldFixture {
    PlayerFixture() {
        AddEngineClasses();
        for (const char* c : {"TranslatorEvent", "NaliFruit"}) {
            AddClass(c, c[0] == 'T' ? "Triggers" : "Health");
        }
        AddClass("BigHealth", "Health", {{"PickupMessage", "\"You picked up a big health pack +\""}, {"HealingAmount", "40"}});
        const std::array<Vector, 4> floor = {Vector{-4000, -4000, 0}, {4000, -4000, 0}, {4000, 4000, 0}, {-4000, 4000, 0}};
        for (const auto& tri : {std::array<Vector, 3>{floor[0], floor[1], floor[2]}, {floor[0], floor[2], floor[3]}}) {
            WorldTriangle& t = world.CurrentLevel.Triangles.Emplace();
            for (int i = 0; i < 3; ++i) {
                t.Vertices[i] = tri[i];
            }
            t.Normal = {0, 0, 1};
            t.Centre = (tri[0] + tri[1] + tri[2]) * (1.0f / 3.0f);
            t.Radius = 6000;
        }
        world.CurrentLevel.Hash.Build(world.CurrentLevel.Triangles);
        info = &dynamic_cast<LevelInfo&>(AddActor("LevelInfo", "LevelInfo0"));
        world.CurrentLevel.Info = info;
        player = CreatePlayerPawn(world);
        MoveActorTo(*player, {0, 0, 39.5f});
        player->bLanded = 1;
        world.Input = &input;
        input.SetMouseArea(100000, 100000); // no recentring in these tests
        input.SetMousePosition(50000, 50000);
        input.SetMouseAvailable(true);
        ConfigSet(config, "MouseSensitivity", "40");
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            world.GameTime += 1.0 / 60.0;
            UpdateActor(*player, kStepDeltaTime);
            RemoveDestroyedActors(world);
        }
    }
    InputState input;
    LevelInfo* info = nullptr;
    PlayerPawn* player = nullptr;
};

TEST(PlayerPawn, WalkingReachesGroundSpeedOnFlatGround) {
    PlayerFixture f;
    f.input.SetKey(kKeyW, true);
    f.Steps(30);
    const Vector before = f.player->Location;
    f.Steps(60);
    const Vector moved = f.player->Location - before;
    EXPECT_NEAR(moved.X, 300.0f, 3.0f); // capped at 300 per second (uncapped it would settle near 333)
    EXPECT_NEAR(moved.Y, 0.0f, 0.01f);
    EXPECT_NEAR(f.player->Location.Z, 39.5f, 0.5f);
    // Turning right by keys: 256 units per step.
    f.input.ReleaseAll();
    f.input.SetKey(kKeyRight, true);
    f.Steps(10);
    EXPECT_EQ(f.player->Rotation.Yaw, 2560);
    // Mouse look: yaw by dx, pitch against dy, pitch clamped.
    f.input.ReleaseAll();
    f.input.MoveMouse(2, 1000);
    f.Steps(1);
    EXPECT_EQ(f.player->Rotation.Yaw, 2560 + 80);
    EXPECT_EQ(f.player->Rotation.Pitch, -16384);
}

TEST(PlayerPawn, JumpsOnlyFromTheGroundAndLands) {
    PlayerFixture f;
    f.Steps(5); // settle
    ASSERT_TRUE(f.player->bLanded);
    f.input.SetKey(kKeySpace, true);
    f.Steps(1);
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Female.jump1fem"));
    f.input.ReleaseAll();
    float top = 0;
    int airborne = 0;
    for (int i = 0; i < 120 && !(airborne > 0 && f.player->bLanded); ++i) {
        f.Steps(1);
        top = std::max(top, f.player->Location.Z);
        airborne++;
        if (i == 10) {
            f.services.Sounds.clear();
            f.input.SetKey(kKeySpace, true); // pressed while falling: nothing
            f.Steps(1);
            f.input.ReleaseAll();
            EXPECT_FALSE(f.services.PlayedSound("UnrealShare.Female.jump1fem"));
        }
    }
    EXPECT_GT(top, 39.5f + 40.0f);
    EXPECT_TRUE(f.player->bLanded);
    EXPECT_NEAR(f.player->Location.Z, 39.5f, 5.0f); // stopped within one step's fall of the floor
    f.Steps(30);
    EXPECT_NEAR(f.player->Location.Z, 39.5f, 0.5f); // and settled onto it
}

TEST(PlayerPawn, ZoneDamageComesInWholeSecondsAndGodModeSparesHealth) {
    PlayerFixture f;
    f.info->SetProperty("DamagePerSec", "10");
    f.info->SetProperty("DamageType", "Burned");
    f.Steps(150); // 2.5 seconds
    EXPECT_TRUE(f.player->Health == 80 || f.player->Health == 70) << f.player->Health;
    const int health = f.player->Health;
    ConfigSet(f.config, "GodMode", "True");
    const float vz = f.player->Velocity.Z;
    f.player->TakeDamage(50, nullptr, {}, {7, 0, 0}, "");
    EXPECT_EQ(f.player->Health, health);
    EXPECT_EQ(f.player->Velocity.X, 7.0f);
    EXPECT_EQ(f.player->Velocity.Z, vz + 50.0f);
    EXPECT_NEAR(f.player->ViewFlash[0], std::min(1.0f, 0.5f + 0.0f), 0.51f);
    EXPECT_GT(f.player->ViewFlash[1], 0.49f);
}

TEST(PlayerPawn, SwimsInWaterZonesAndSeesUnderwater) {
    PlayerFixture f;
    f.info->bWaterZone = 1;
    f.Steps(1); // the zone is found at the end of the step
    EXPECT_TRUE(f.services.Underwater);
    MoveActorTo(*f.player, {0, 0, 500});
    f.player->Velocity = {};
    f.input.SetKey(kKeySpace, true);
    f.Steps(30);
    EXPECT_GT(f.player->Location.Z, 500.0f); // swimming up
    f.input.ReleaseAll();
    f.Steps(60); // the upward speed dies away
    const float z = f.player->Location.Z;
    f.Steps(60);
    EXPECT_LT(f.player->Location.Z, z);       // sinking slowly
    EXPECT_GT(f.player->Location.Z, z - 100); // far slower than falling
}

TEST(PlayerPawn, TouchingTriggersPickupsAndTranslators) {
    PlayerFixture f;
    Actor& translator = f.AddActor("TranslatorEvent", "T", {{"Message", "Welcome"}, {"Location", "(X=0,Y=0,Z=40)"}});
    Actor& door = f.AddActor("Mover", "Door", {{"Tag", "door"}, {"InitialState", "TriggerToggle"}});
    Actor& trigger = f.AddActor("Trigger", "Tr", {{"Event", "door"}, {"Location", "(X=0,Y=0,Z=40)"}});
    (void)door;
    f.Steps(1);
    EXPECT_EQ(f.world.TranslatorText, "Welcome");
    EXPECT_TRUE(trigger.bTouchingPlayer);
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Pickups.TransA3"));
    MoveActorTo(*f.player, {500, 0, 39.5f});
    f.Steps(1);
    EXPECT_EQ(f.world.TranslatorText, ""); // leaving clears it
    EXPECT_FALSE(trigger.bTouchingPlayer);
    (void)translator;

    // Health: at full health it stays; after damage it heals, shows its message and goes.
    Actor& pack = f.AddActor("BigHealth", "Pack", {{"Location", "(X=1000,Y=0,Z=40)"}});
    MoveActorTo(*f.player, {1000, 0, 39.5f});
    f.services.Sounds.clear();
    f.Steps(1);
    EXPECT_FALSE(pack.bDeleteMe);
    EXPECT_FALSE(f.services.PlayedSound("UnrealShare.Pickups.Health2"));
    MoveActorTo(*f.player, {1500, 0, 39.5f});
    f.Steps(1);
    f.player->Health = 70;
    MoveActorTo(*f.player, {1000, 0, 39.5f});
    const int before = f.world.Actors.Num();
    f.Steps(1);
    EXPECT_EQ(f.player->Health, 100); // 70 + 40, capped at 100
    EXPECT_EQ(f.world.HudMessage, "You picked up a big health pack +40");
    EXPECT_EQ(f.world.HudMessageTime, 8.0f);
    EXPECT_EQ(f.world.Actors.Num(), before - 1);
}

TEST(PlayerPawn, TeleportersAndLevelExits) {
    PlayerFixture f;
    f.AddActor("Teleporter", "Exit", {{"URL", "\"Demo2#Start?peer\""}, {"Location", "(X=0,Y=300,Z=40)"}});
    f.AddActor("Teleporter", "Hop", {{"URL", "Far"}, {"Location", "(X=300,Y=0,Z=40)"}});
    f.AddActor("Teleporter", "Nowhere", {{"URL", "NoSuchTag"}, {"Location", "(X=-300,Y=0,Z=40)"}});
    f.AddActor("Teleporter", "Dest", {{"Tag", "far"}, {"Location", "(X=2000,Y=2000,Z=40)"}});
    MoveActorTo(*f.player, {0, 300, 39.5f});
    f.Steps(1);
    EXPECT_EQ(f.world.PendingLevel, "Maps\\Demo2.t3d");
    f.world.PendingLevel.clear();
    MoveActorTo(*f.player, {300, 0, 39.5f});
    f.Steps(1);
    EXPECT_NEAR(f.player->Location.X, 2000.0f, 1.0f); // the tag matches ignoring case
    EXPECT_NEAR(f.player->Location.Z, 56.0f, 1.0f);
    MoveActorTo(*f.player, {-300, 0, 39.5f});
    f.Steps(1);
    EXPECT_NEAR(f.player->Location.X, -300.0f, 1.0f);
    EXPECT_EQ(f.world.PendingLevel, "");
}

TEST(PlayerPawn, DeathOpensTheGameOverMenu) {
    PlayerFixture f;
    f.player->TakeDamage(150, nullptr, {}, {}, "");
    EXPECT_EQ(f.player->Health, -50);
    f.Steps(1);
    EXPECT_EQ(f.services.GameOvers, 1);
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Female.death1dfem") ||
                f.services.PlayedSound("UnrealShare.Female.death4cfem"));
}

} // namespace
} // namespace orv
