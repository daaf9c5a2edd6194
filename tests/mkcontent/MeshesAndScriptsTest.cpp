// Class scripts parse and link up to Actor, and the meshes they name load with the sequences and
// notifies the monster behaviour plays, stand in their collision cylinders and move.
#include "GeneratedTree.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/Text.h"

#include <fstream>
#include <map>

namespace orv {
namespace {

using MkContentScripts = test::GameTree;

// The mesh keys of the monster animation table and every sequence a row names.
const std::map<std::string, std::vector<std::string>> kTableRows = {
    {"brute1", {"Sleep", "Charge", "WalkFire", "StillFire", "GutShot", "PistolWhip", "Punch", "Dead1", "Dead2", "Dead3",
                "Dead4"}},
    {"skaarjw", {"Breath", "Breath2", "Jog", "JogFire", "Firing", "claw", "spin", "lunge", "Death", "Death2", "Death3",
                 "Death4"}},
    {"manta1", {"Fly", "Sting", "Whip", "Death"}},
    {"tentacle1", {"Waver", "Move2", "Shoot", "Smack", "Dead2"}},
    {"fish", {"breathing", "Swimming", "bite1", "bite2", "bite3", "fighter", "Dead1"}},
};
// The notify functions that strike and that shoot.
const std::vector<std::string> kMelee = {"whipdamagetarget", "spindamagetarget", "strikedamagetarget",
                                         "punchdamagetarget", "stabdamagetarget", "hitdamagetarget", "smacktarget"};
const std::vector<std::string> kShots = {"spawnleftshot", "spawnrightshot", "spawnshot", "spawnbelch",
                                         "shoottarget",   "spawnrock",      "spawntwoshots"};

bool HasSequence(const Mesh& mesh, std::string_view name) {
    return std::any_of(mesh.Sequences.begin(), mesh.Sequences.end(), [&](auto& s) { return SameText(s.Name, name); });
}

// A notify inside the sequence (strictly between its start and end) calling one of the functions.
bool NotifyIn(const Mesh& mesh, std::string_view sequence, const std::vector<std::string>& functions) {
    return std::any_of(mesh.Notifies.begin(), mesh.Notifies.end(), [&](const MeshNotify& n) {
        return SameText(n.Sequence, sequence) && n.Time > 0.0f && n.Time < 1.0f &&
               std::any_of(functions.begin(), functions.end(), [&](auto& f) { return SameText(n.Function, f); });
    });
}

TEST_F(MkContentScripts, EveryClassLinksToActorAndEveryMeshHasItsTableSequencesAndMoves) {
    test::LogCapture log;
    Resources res;
    LoadFallbackTexture(res);
    LoadClassDefaults(res);
    ASSERT_GT(res.Classes.Num(), 60);
    for (const auto& record : res.Classes) {
        const ClassRecord* c = record.get();
        for (int depth = 0; c->Parent && depth < res.Classes.Num(); ++depth) {
            c = c->Parent;
        }
        EXPECT_EQ(c->Name, "Actor") << record->Name << " does not lead up to Actor";
        // Every mesh a class names was loaded from the Models folder, with its skins.
        if (const std::string* meshName = record->Defaults.Find("Mesh")) {
            const std::string name = StripObjectReference(*meshName);
            Mesh* mesh = FindMesh(res, name.substr(name.rfind('.') + 1));
            ASSERT_NE(mesh, res.FallbackMesh()) << record->Name;
            EXPECT_TRUE(HasSequence(*mesh, "Still")) << mesh->Name;
            for (int i = 0; i < 16 && mesh->Skins[i]; ++i) {
                EXPECT_NE(mesh->Skins[i], res.FallbackTexture()) << mesh->Name;
            }
        }
    }
    for (const char* name : {"Brute", "Skaarj", "Manta", "GiantManta", "Tentacle", "DevilFish"}) {
        EXPECT_TRUE(IsA(res, name, "ScriptedPawn")) << name;
    }
    EXPECT_TRUE(IsA(res, "NaliFruit", "Health") && IsA(res, "DispersionAmmo", "Projectile"));
    EXPECT_TRUE(IsA(res, "BreakingGlass", "ExplodingWall") && IsA(res, "DispersionPistol", "Weapon"));
    EXPECT_TRUE(IsSameOrA(res, "WaterZone", "ZoneInfo"));
    for (const auto& [key, sequences] : kTableRows) {
        const Mesh* found = nullptr;
        for (const auto& mesh : res.Meshes) {
            found = StartsWithText(mesh->Name, key) ? mesh.get() : found;
        }
        ASSERT_TRUE(found) << "no mesh for the key " << key;
        for (const std::string& seq : sequences) {
            EXPECT_TRUE(HasSequence(*found, seq)) << found->Name << " lacks " << seq;
        }
    }
    // The attacks happen through notifies on the attack sequences.
    const Mesh* brute = FindMesh(res, "Brute1");
    EXPECT_TRUE(NotifyIn(*brute, "PistolWhip", kMelee) && NotifyIn(*brute, "Punch", kMelee));
    EXPECT_TRUE(NotifyIn(*brute, "StillFire", kShots) && NotifyIn(*brute, "GutShot", kShots));
    const Mesh* skaarj = FindMesh(res, "SkaarjW");
    EXPECT_TRUE(NotifyIn(*skaarj, "claw", kMelee) && NotifyIn(*skaarj, "spin", kMelee));
    EXPECT_TRUE(NotifyIn(*skaarj, "lunge", kMelee) && NotifyIn(*skaarj, "Firing", kShots));
    EXPECT_TRUE(NotifyIn(*FindMesh(res, "Manta1"), "Sting", kMelee));
    const Mesh* tentacle = FindMesh(res, "Tentacle1");
    EXPECT_TRUE(NotifyIn(*tentacle, "Shoot", kShots) && NotifyIn(*tentacle, "Smack", kMelee));
    EXPECT_TRUE(NotifyIn(*FindMesh(res, "Fish"), "bite2", kMelee));
    EXPECT_TRUE(HasSequence(*FindMesh(res, "Bird"), "Flight"));
    for (const std::string& line : log.Lines()) {
        EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
    }

    // A standing creature spans about its class's collision height, feet to top.
    for (const auto& [className, meshName] :
         {std::pair{"Brute", "Brute1"}, {"Skaarj", "SkaarjW"}, {"Tentacle", "Tentacle1"}}) {
        const Mesh* mesh = FindMesh(res, meshName);
        PropertyList props;
        ApplyClassDefaults(res, className, props);
        const float height = ParseFloat(props.Get("CollisionHeight"));
        float top = -1e9f, bottom = 1e9f;
        for (int v = 0; v < mesh->NumVertices(); ++v) {
            const float z = GetMeshVertex(*mesh, 0, static_cast<uint16_t>(v)).Z * mesh->Scale.Z;
            top = std::max(top, z);
            bottom = std::min(bottom, z);
        }
        EXPECT_NEAR(bottom, -height, height * 0.2f) << meshName << " feet";
        EXPECT_NEAR(top, height, height * 0.3f) << meshName << " top";
    }
    // Every sequence of more than one frame moves some vertex by more than a unit somewhere (the
    // pistol's own frames excepted: it is held still).
    for (const auto& mesh : res.Meshes) {
        for (const MeshSequence& seq : mesh->Sequences) {
            if (seq.NumFrames < 2 || StartsWithText(mesh->Name, "DPistol")) {
                continue;
            }
            float most = 0.0f;
            for (int f = seq.StartFrame + 1; f < seq.StartFrame + seq.NumFrames; ++f) {
                for (uint16_t v = 0; v < mesh->NumVertices(); ++v) {
                    const Vector from = GetMeshVertex(*mesh, uint16_t(seq.StartFrame), v);
                    most = std::max(most, Length(Scale3(GetMeshVertex(*mesh, uint16_t(f), v) - from, mesh->Scale)));
                }
            }
            EXPECT_GT(most, 1.0f) << mesh->Name << "." << seq.Name << " does not move";
        }
    }
}

TEST(MkContentMeshes, GeneratorRefusesClassScriptsThatDisagreeWithTheMeshes) {
    test::TempDir sources;
    std::filesystem::copy(test::ContentSourceDir(), sources.Path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path manta = sources.Path() / "System/UnrealShare/Classes/Manta.uc";
    std::ifstream in(manta);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string sting = "SEQ=Sting STARTFRAME=17";
    ASSERT_NE(text.find(sting), std::string::npos);
    text.replace(text.find(sting), sting.size(), "SEQ=Sting STARTFRAME=18");
    std::ofstream(manta) << text;
    test::TempDir out;
    ContentOptions options;
    options.OutDir = out.Path();
    options.SourceDir = sources.Path();
    options.Parts = kPartMeshes;
    const std::vector<std::string> errors = GenerateContent(options);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(sting), std::string::npos) << errors[0];
}

} // namespace
} // namespace orv
