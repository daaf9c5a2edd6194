// The field tables against the records they describe, the dump's line, and property reading: its
// fallbacks and the fields that need more than a syntax. (The value syntaxes themselves are the
// content tests'; the dump's value formats are read by the e2e runs.)
#include "world/ActorFields.h"
#include "WorldFixture.h"
#include "world/ActorDump.h"

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

using test::WorldFixture;

// A property text for a row's syntax that gives its field a value it cannot have had before.
std::string TextFor(const Field& row, const Actor& actor) {
    switch (row.How) {
    case Syntax::Xyz:
    case Syntax::XyzOrCurrent: return "(X=7,Y=8,Z=9)";
    case Syntax::PitchYawRoll: return "(Pitch=7,Yaw=8,Roll=9)";
    case Syntax::Bool: return row.Storage(actor)[0] == std::byte{0} ? "True" : "False";
    case Syntax::Enum: return "2";
    case Syntax::TextureName:
    case Syntax::MeshName: return "Test.Seven";
    case Syntax::Text:
    case Syntax::State:
    case Syntax::ClassRef: return "Class'Pkg.Seven'";
    default: return "7.5"; // a float, an int or a byte
    }
}

// Reads every property an engine class's table names, then lives a little (BeginPlay, a timer,
// two steps, Destroy). Every byte of the record that changed must lie in a row of the table, so
// that the dump shows it, and every row that reads a property must have changed its field.
template <class T>
void CheckFieldsOf(WorldFixture& f, std::set<EngineClass>& checked) {
    auto& actor = static_cast<T&>(*f.world.Actors[f.world.Actors.Add(std::make_unique<T>())]);
    actor.XLevel = &f.world;
    actor.Class = EngineClassName(actor.GetEngineClass());
    checked.insert(actor.GetEngineClass());
    SCOPED_TRACE(actor.Class);
    actor.SetProperty("Tag", "seven");
    ForEachField(actor, [&](const Field& row) {
        for (int i = 0; row.How != Syntax::None && i < row.Count; ++i) {
            actor.SetProperty(row.Key(i), TextFor(row, actor));
        }
    });
    const auto* bytes = reinterpret_cast<const std::byte*>(&actor);
    const std::vector<std::byte> created(bytes, bytes + sizeof(T));
    actor.ApplyProperties();
    const std::vector<std::byte> read(bytes, bytes + sizeof(T));
    actor.BeginPlay();
    actor.SetTimer(0.01f, true);
    UpdateActor(actor, kStepDeltaTime);
    UpdateActor(actor, kStepDeltaTime);
    actor.Destroy();
    std::vector<bool> listed(sizeof(T));
    ForEachField(actor, [&](const Field& row) {
        const size_t at = static_cast<size_t>(row.Storage(actor).data() - bytes);
        bool changed = false;
        for (size_t i = at; i < at + row.Storage(actor).size(); ++i) {
            listed[i] = true;
            changed |= read[i] != created[i];
        }
        EXPECT_TRUE(changed || row.How == Syntax::None) << row.Name << " was not read";
    });
    std::string unlisted;
    for (size_t i = 0; i < sizeof(T); ++i) {
        unlisted += bytes[i] != created[i] && !listed[i] ? " " + std::to_string(i) : "";
    }
    EXPECT_EQ(unlisted, "") << "bytes that changed outside every field";
    // The dump's line: its index and engine class, then the rows in order, then Tag and Event.
    const std::string line = DumpActorJson(actor, 0);
    EXPECT_EQ(
        line.rfind("{\"Index\":0,\"EngineClass\":\"" + actor.Class + "\",\"Class\":\"" + actor.Class + "\",\"Name\":",
                   0),
        0u);
    EXPECT_TRUE(line.ends_with(",\"Tag\":\"\",\"Event\":\"\"}")) << line;
}

template <class... Classes>
void CheckFieldsOfEach(WorldFixture& f) {
    std::set<EngineClass> checked;
    (CheckFieldsOf<Classes>(f, checked), ...);
    EXPECT_EQ(checked.size(), static_cast<size_t>(EngineClass::WavySurfaceInfo) + 1); // the last engine class
}

TEST(ActorFields, EveryFieldThatChangesIsListedAndEveryListedPropertyIsRead) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddMesh("Test", "Seven", {{"Still", 0, 1, 30.0f}});
    f.res.Textures.Add(std::make_unique<Texture>());
    f.res.Textures.Last()->Name = "Test.Seven";
    CheckFieldsOfEach<Actor, ScriptedPawn, Bird1, PlayerPawn, Mover, Counter, Dispatcher, TriggerLight, Earthquake,
                      ExplosionChain, DynamicAmbientSound, ZoneInfo, DynamicZoneInfo, LevelInfo, Inventory, Weapon,
                      Projectile, EnemyProjectile, DispersionAmmo, AnimSpriteEffect, Explosion, DispersionAmmoHit,
                      Emitter, WavySurfaceInfo>(f);
}

TEST(ActorProperties, FallbacksKeysAndSpecialReadings) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddClass("Lamp", "Light", {{"DrawScale", "2"}, {"Physics", "PHYS_Rotating"}});
    Actor& lamp =
        f.AddActor("Lamp", "Lamp0", {{"DrawScale", ""}, {"Physics", "phys_FALLING"}, {"bCollideActors", "0"}});
    EXPECT_EQ(lamp.DrawScale, 0.0f);       // present but empty is 0, not the fallback 1
    EXPECT_EQ(lamp.Physics, phys_falling); // the level's line replaced the class default
    EXPECT_FALSE(lamp.bCollideActors);
    EXPECT_EQ(lamp.ClassRec->Name, "Lamp");
    lamp.SetProperty("Physics", "phys_unknown");
    lamp.ApplyProperties();
    EXPECT_EQ(lamp.Physics, phys_falling); // an unknown name leaves the field alone
    Actor& plain = f.AddActor("Light", "Light0");
    EXPECT_TRUE(plain.bCollideActors); // absent: true
    EXPECT_EQ(plain.DrawScale, 1.0f);
    EXPECT_EQ(plain.CollisionRadius, 22.0f);

    auto& door = static_cast<Mover&>(f.AddActor("Mover", "Door", {{"KeyPos(1)", "(Z=128)"}}));
    door.KeyPos[0] = {5, 5, 5};
    door.ApplyProperties();
    EXPECT_EQ(door.KeyPos[0], (Vector{5, 5, 5})); // no KeyPos(0) line: unchanged
    EXPECT_EQ(door.KeyPos[1], (Vector{0, 0, 128}));
    auto& d = static_cast<Dispatcher&>(f.AddActor("Dispatcher", "D", {{"OutEvents(0)", "a"}, {"OutEvents(4)", "e"}}));
    EXPECT_EQ(d.NumOutEvents, 5); // empty entries below the highest still count
    auto& zone = static_cast<ZoneInfo&>(
        f.AddActor("ZoneInfo", "Z", {{"AmbientBrightness", "255"}, {"AmbientSaturation", "255"}}));
    EXPECT_EQ(zone.AmbientColor, 0xFFFFFFFFu); // full brightness, no hue: white
    auto& dynamic = static_cast<DynamicZoneInfo&>(f.AddActor("DynamicZoneInfo", "DZ", {{"SphereSize", "90"}}));
    EXPECT_EQ(dynamic.CollisionRadius, 90.0f); // its sphere and cylinder are its collision cylinder
    EXPECT_EQ(dynamic.CollisionHeight, 250.0f);
    EXPECT_EQ(static_cast<AnimSpriteEffect&>(f.AddActor("Explosion", "X", {{"NumFrames", "99"}})).NumFrames,
              kMaxSpriteFrames);
}

TEST(ActorProperties, MeshAndTextureAreReadOnceAndTheSkinIsTheFirstSkin) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddMesh("Test", "Cube", {{"Still", 0, 1, 30.0f}, {"Spin", 0, 4, 10.0f}});
    for (const char* name : {"Test.Wood", "Test.Rust"}) {
        f.res.Textures.Add(std::make_unique<Texture>());
        f.res.Textures.Last()->Name = name;
    }
    Actor& a = f.AddActor("Decoration", "Deco",
                          {{"Mesh", "LodMesh'Test.Cube'"},
                           {"Texture", "Test.Wood"},
                           {"MultiSkins(0)", "Test.Wood"},
                           {"Skin", "Test.Rust"},
                           {"AnimSequence", "\"Spin\""},
                           {"AnimRate", "2"},
                           {"AnimFrame", "0.25"}});
    EXPECT_EQ(a.MultiSkins[0]->Name, "Test.Rust"); // the skin, read after MultiSkins(0)
    a.SetProperty("Mesh", "");
    a.SetProperty("Texture", "Test.Rust");
    a.SetProperty("Skin", "NoSuch.Texture");
    a.ApplyProperties();
    EXPECT_EQ(a.MeshRef->Name, "Cube");            // already has a mesh: not read again
    EXPECT_EQ(a.Tex->Name, "Test.Wood");           // nor a texture
    EXPECT_EQ(a.Skin->Name, "Test.Rust");          // a skin that falls back changes nothing ...
    EXPECT_EQ(a.MultiSkins[0]->Name, "Test.Wood"); // ... so MultiSkins(0) stands
    a.BeginPlay();
    EXPECT_EQ(a.AnimSequence, "Spin");
    EXPECT_EQ(a.AnimRate, 20.0f); // the property's rate times the sequence's own
    EXPECT_EQ(a.AnimFrame, 0.25f);
    Actor& bare = f.AddActor("Decoration", "Bare", {{"AnimSequence", "Spin"}});
    bare.BeginPlay();
    EXPECT_EQ(bare.AnimSequence, ""); // the fallback mesh has no such sequence
}

} // namespace
} // namespace orv
