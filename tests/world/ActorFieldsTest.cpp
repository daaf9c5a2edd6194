// The field tables against the records they describe, the dump's line, and the property readings
// that need more than a syntax. (The value syntaxes themselves are the content tests'; the dump's
// values, and a level's line over a class default, are read by the e2e runs.)
#include "world/ActorFields.h"
#include "WorldFixture.h"
#include "world/ActorDump.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>

namespace orv {
namespace {

using test::WorldFixture;

// A property text for a row's syntax that gives its field a value it cannot have had before.
std::string TextFor(const Field& row, const Actor& actor) {
    using enum Syntax;
    const std::map<Syntax, std::string> texts = {
        {Xyz, "(X=7,Y=8,Z=9)"},      {XyzOrCurrent, "(X=7,Y=8,Z=9)"},  {PitchYawRoll, "(Pitch=7,Yaw=8,Roll=9)"},
        {Float, "7.5"},              {Int, "7.5"},                     {Byte, "7.5"},
        {Enum, "2"},                 {TextureName, "Test.Seven"},      {MeshName, "Test.Seven"},
        {Text, "Class'Pkg.Seven'"},  {State, "Class'Pkg.Seven'"},      {ClassRef, "Class'Pkg.Seven'"}};
    const bool set = row.Storage(actor)[0] != std::byte{0};
    return row.How == Bool ? (set ? "False" : "True") : texts.at(row.How);
}

// Reads every property an engine class's table names, then lives a little (BeginPlay, a timer,
// two steps, Destroy). Every byte of the record that changed must lie in a row of the table, so
// that the dump shows it, and every row that reads a property must have changed its field; the
// dump's line is JSON with one key a row, whatever the class's fields hold.
template <class T>
EngineClass CheckFieldsOf(WorldFixture& f) {
    auto& actor = static_cast<T&>(*f.world.Actors[f.world.Actors.Add(std::make_unique<T>())]);
    actor.XLevel = &f.world;
    actor.Class = EngineClassName(actor.GetEngineClass());
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
    // One key a row besides the line's own four (Index, EngineClass, Tag, Event): no row's key
    // stands twice, where a JSON reader would keep only one of them.
    size_t rows = 0;
    ForEachField(actor, [&](const Field&) { ++rows; });
    EXPECT_EQ(nlohmann::json::parse(DumpActorJson(actor, 0)).size(), rows + 4) << DumpActorJson(actor, 0);
    return actor.GetEngineClass();
}

template <class... Classes>
void CheckFieldsOfEach(WorldFixture& f) {
    const std::set<EngineClass> checked{CheckFieldsOf<Classes>(f)...};
    EXPECT_EQ(checked.size(), static_cast<size_t>(EngineClass::WavySurfaceInfo) + 1); // the last engine class
}

TEST(ActorFields, EveryFieldThatChangesIsListedAndEveryListedPropertyIsRead) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddMesh("Test", "Seven", {{"Still", 0, 1, 30.0f}});
    f.AddTexture("Test.Seven");
    CheckFieldsOfEach<Actor, ScriptedPawn, Bird1, PlayerPawn, Mover, Counter, Dispatcher, TriggerLight, Earthquake,
                      ExplosionChain, DynamicAmbientSound, ZoneInfo, DynamicZoneInfo, LevelInfo, Inventory, Weapon,
                      Projectile, EnemyProjectile, DispersionAmmo, AnimSpriteEffect, Explosion, DispersionAmmoHit,
                      Emitter, WavySurfaceInfo>(f);
}

// Each case: an actor made from property lines, its properties read again with more lines (if
// any), then BeginPlay; its fields as the dump writes them ("Name/i" is entry i of an array).
TEST(ActorProperties, ReadingsBeyondTheSyntax) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddMesh("Test", "Cube", {{"Still", 0, 1, 30.0f}, {"Spin", 0, 4, 10.0f}});
    f.AddTexture("Test.Wood");
    f.AddTexture("Test.Rust");
    const test::Properties deco = {{"Mesh", "LodMesh'Test.Cube'"}, {"Texture", "Test.Wood"},
                                   {"MultiSkins(0)", "Test.Wood"},  {"Skin", "Test.Rust"},
                                   {"AnimSequence", "\"Spin\""}, {"AnimRate", "2"}, {"AnimFrame", "0.25"}};
    const struct {
        const char* className;
        test::Properties lines;
        const char* fields;
        test::Properties again = {};
    } cases[] = {
        // Present but empty is 0, not the text for an absent line (1).
        {"Light", {{"DrawScale", ""}}, R"({"DrawScale":0})"},
        // Empty entries below the highest still count.
        {"Dispatcher", {{"OutEvents(0)", "a"}, {"OutEvents(4)", "e"}}, R"({"NumOutEvents":5})"},
        // Full brightness, no hue: white.
        {"ZoneInfo", {{"AmbientBrightness", "255"}, {"AmbientSaturation", "255"}}, R"({"AmbientColor":4294967295})"},
        // Its sphere and cylinder are its collision cylinder, read after the actor's own rows.
        {"DynamicZoneInfo", {{"SphereSize", "90"}}, R"({"CollisionRadius":90,"CollisionHeight":250})"},
        {"AnimSpriteEffect", {{"NumFrames", "99"}}, R"({"NumFrames":20})"}, // the most an effect keeps
        // The skin, read after MultiSkins(0), is also the first skin; the animation rate is the
        // property's times the sequence's own.
        {"Decoration", deco, R"({"MultiSkins/0":"Test.Rust","AnimSequence":"Spin","AnimRate":20,"AnimFrame":0.25})"},
        // The mesh and the texture are read only once; a skin that falls back changes nothing, so
        // MultiSkins(0) stands.
        {"Decoration", deco,
         R"({"Mesh":"Test.Cube","Texture":"Test.Wood","Skin":"Test.Rust","MultiSkins/0":"Test.Wood"})",
         {{"Mesh", ""}, {"Texture", "Test.Rust"}, {"Skin", "NoSuch.Texture"}}},
        // The fallback mesh has no such sequence.
        {"Decoration", {{"AnimSequence", "Spin"}}, R"({"AnimSequence":""})"},
    };
    for (const auto& [className, lines, fields, again] : cases) {
        Actor& a = f.AddActor(className, "A", lines);
        for (const auto& [k, v] : again) {
            a.SetProperty(k, v);
        }
        a.ApplyProperties();
        a.BeginPlay();
        const nlohmann::json dump = nlohmann::json::parse(DumpActorJson(a, 0));
        const nlohmann::json expected = nlohmann::json::parse(fields);
        for (const auto& [key, value] : expected.items()) {
            EXPECT_EQ(dump[nlohmann::json::json_pointer("/" + key)], value) << className << " " << key;
        }
    }
}

} // namespace
} // namespace orv
