// Class scripts parse and link up to Actor, and the meshes they name load with the sequences
// and notifies the monster behaviour plays.
#include "Creatures.h"
#include "GeneratedTree.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/Text.h"

#include <cmath>
#include <fstream>
#include <map>

namespace orv {
namespace {

// The mesh keys of the monster animation table and every sequence a row names.
const std::map<std::string, std::vector<std::string>> kTableRows = {
    {"brute1", {"Sleep", "Charge", "WalkFire", "StillFire", "GutShot", "PistolWhip", "Punch", "Dead1", "Dead2", "Dead3", "Dead4"}},
    {"skaarjw", {"Breath", "Breath2", "Jog", "JogFire", "Firing", "claw", "spin", "lunge", "Death", "Death2", "Death3", "Death4"}},
    {"manta1", {"Fly", "Sting", "Whip", "Death"}},
    {"tentacle1", {"Waver", "Move2", "Shoot", "Smack", "Dead2"}},
    {"fish", {"breathing", "Swimming", "bite1", "bite2", "bite3", "fighter", "Dead1"}},
};
const std::vector<std::string> kMeleeFunctions = {"whipdamagetarget", "spindamagetarget", "strikedamagetarget", "punchdamagetarget",
                                                  "stabdamagetarget", "hitdamagetarget",  "smacktarget"};
const std::vector<std::string> kShotFunctions = {"spawnleftshot", "spawnrightshot", "spawnshot", "spawnbelch", "shoottarget",
                                                 "spawnrock",     "spawntwoshots"};

bool HasSequence(const Mesh& mesh, std::string_view name) {
    for (const MeshSequence& s : mesh.Sequences) {
        if (SameText(s.Name, name)) {
            return true;
        }
    }
    return false;
}

bool NotifyIn(const Mesh& mesh, std::string_view sequence, const std::vector<std::string>& functions) {
    for (const MeshNotify& n : mesh.Notifies) {
        for (const std::string& f : functions) {
            if (SameText(n.Sequence, sequence) && SameText(n.Function, f) && n.Time > 0.0f && n.Time < 1.0f) {
                return true;
            }
        }
    }
    return false;
}

TEST(MkContentScripts, EveryClassLinksToActorAndEveryMeshHasItsTableSequences) {
    test::GeneratedTree tree(kPartAuthored | kPartMeshes | kPartEngineTextures);
    ASSERT_TRUE(tree.Errors().empty()) << tree.Errors().front();
    test::InDirectory(tree.Path(), [] {
        test::LogCapture log;
        Resources res;
        LoadFallbackTexture(res);
        AddFallbackMesh(res);
        LoadClassDefaults(res);
        ASSERT_GT(res.Classes.Num(), 60);
        for (const auto& record : res.Classes) {
            const ClassRecord* c = record.get();
            int depth = 0;
            while (c->Parent && depth++ < 32) {
                c = c->Parent;
            }
            EXPECT_EQ(c->Name, "Actor") << record->Name << " does not lead up to Actor";
            // Every mesh a class names was loaded from the Models folder.
            const std::string* meshName = record->Defaults.Find("Mesh");
            if (meshName) {
                Mesh* mesh = FindMesh(res, StripObjectReference(*meshName).substr(StripObjectReference(*meshName).rfind('.') + 1));
                ASSERT_NE(mesh, res.FallbackMesh()) << record->Name;
                EXPECT_TRUE(HasSequence(*mesh, "Still")) << mesh->Name;
                for (const Texture* skin : mesh->Skins) {
                    EXPECT_NE(skin, res.FallbackTexture()) << mesh->Name;
                    if (!skin) break;
                }
            }
        }
        for (const char* name : {"Brute", "Skaarj", "Manta", "GiantManta", "Tentacle", "DevilFish"}) {
            EXPECT_TRUE(IsA(res, name, "ScriptedPawn")) << name;
        }
        EXPECT_TRUE(IsA(res, "NaliFruit", "Health"));
        EXPECT_TRUE(IsA(res, "DispersionAmmo", "Projectile"));
        EXPECT_TRUE(IsA(res, "BreakingGlass", "ExplodingWall"));
        EXPECT_TRUE(IsA(res, "DispersionPistol", "Weapon"));
        EXPECT_TRUE(IsSameOrA(res, "WaterZone", "ZoneInfo"));
        for (const auto& [key, sequences] : kTableRows) {
            const Mesh* found = nullptr;
            for (const auto& mesh : res.Meshes) {
                if (StartsWithText(mesh->Name, key)) {
                    found = mesh.get();
                }
            }
            ASSERT_TRUE(found) << "no mesh for the key " << key;
            for (const std::string& seq : sequences) {
                EXPECT_TRUE(HasSequence(*found, seq)) << found->Name << " lacks " << seq;
            }
        }
        // The attacks happen through notifies on the attack sequences.
        const Mesh* brute = FindMesh(res, "Brute1");
        EXPECT_TRUE(NotifyIn(*brute, "PistolWhip", kMeleeFunctions) && NotifyIn(*brute, "Punch", kMeleeFunctions));
        EXPECT_TRUE(NotifyIn(*brute, "StillFire", kShotFunctions) && NotifyIn(*brute, "GutShot", kShotFunctions));
        const Mesh* skaarj = FindMesh(res, "SkaarjW");
        for (const char* seq : {"claw", "spin", "lunge"}) {
            EXPECT_TRUE(NotifyIn(*skaarj, seq, kMeleeFunctions)) << seq;
        }
        EXPECT_TRUE(NotifyIn(*skaarj, "Firing", kShotFunctions));
        EXPECT_TRUE(NotifyIn(*FindMesh(res, "Manta1"), "Sting", kMeleeFunctions));
        EXPECT_TRUE(NotifyIn(*FindMesh(res, "Tentacle1"), "Shoot", kShotFunctions));
        EXPECT_TRUE(NotifyIn(*FindMesh(res, "Tentacle1"), "Smack", kMeleeFunctions));
        EXPECT_TRUE(NotifyIn(*FindMesh(res, "Fish"), "bite2", kMeleeFunctions));
        EXPECT_TRUE(HasSequence(*FindMesh(res, "Bird"), "Flight"));
        for (const std::string& line : log.Lines()) {
            EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
        }
    });
}

TEST(MkContentMeshes, CreaturesStandInTheirCollisionCylinderAndMoveInTheirAnimations) {
    test::GeneratedTree tree(kPartAuthored | kPartMeshes);
    ASSERT_TRUE(tree.Errors().empty());
    test::InDirectory(tree.Path(), [] {
        Resources res;
        LoadFallbackTexture(res);
        AddFallbackMesh(res);
        LoadClassDefaults(res);
        // class, mesh: the standing mesh spans about the class's collision height.
        for (const auto& [className, meshName] : std::vector<std::pair<std::string, std::string>>{
                 {"Brute", "Brute1"}, {"Skaarj", "SkaarjW"}, {"Tentacle", "Tentacle1"}}) {
            const Mesh* mesh = FindMesh(res, meshName);
            PropertyList props;
            ApplyClassDefaults(res, className, props);
            const float height = ParseFloat(props.Get("CollisionHeight"));
            float top = -1e9f, bottom = 1e9f;
            for (int v = 0; v < mesh->NumVertices(); ++v) {
                const Vector p = GetMeshVertex(*mesh, 0, static_cast<uint16_t>(v));
                top = std::max(top, p.Z * mesh->Scale.Z);
                bottom = std::min(bottom, p.Z * mesh->Scale.Z);
            }
            EXPECT_NEAR(bottom, -height, height * 0.2f) << meshName << " feet";
            EXPECT_NEAR(top, height, height * 0.3f) << meshName << " top";
        }
        // Every sequence of more than one frame moves some vertex by more than a unit somewhere.
        for (const auto& mesh : res.Meshes) {
            for (const MeshSequence& seq : mesh->Sequences) {
                if (seq.NumFrames < 2 || mesh->Name.rfind("DPistol", 0) == 0) {
                    continue;
                }
                float most = 0.0f;
                for (int f = 1; f < seq.NumFrames; ++f) {
                    for (int v = 0; v < mesh->NumVertices(); ++v) {
                        const Vector a = GetMeshVertex(*mesh, static_cast<uint16_t>(seq.StartFrame), static_cast<uint16_t>(v));
                        const Vector b = GetMeshVertex(*mesh, static_cast<uint16_t>(seq.StartFrame + f), static_cast<uint16_t>(v));
                        most = std::max(most, Length(Scale3(a - b, mesh->Scale)));
                    }
                }
                EXPECT_GT(most, 1.0f) << mesh->Name << "." << seq.Name << " does not move";
            }
        }
    });
}

TEST(MkContentMeshes, GeneratorRefusesClassScriptsThatDisagreeWithTheMeshes) {
    test::TempDir sources;
    std::filesystem::copy(test::ContentSourceDir(), sources.Path(), std::filesystem::copy_options::recursive);
    const std::filesystem::path manta = sources.Path() / "System/UnrealShare/Classes/Manta.uc";
    std::string text;
    {
        std::ifstream in(manta);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const size_t at = text.find("SEQ=Sting STARTFRAME=17");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 23, "SEQ=Sting STARTFRAME=18");
    std::ofstream(manta) << text;
    test::TempDir out;
    ContentOptions options;
    options.OutDir = out.Path();
    options.SourceDir = sources.Path();
    options.Parts = kPartMeshes;
    const std::vector<std::string> errors = GenerateContent(options);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("SEQ=Sting STARTFRAME=17"), std::string::npos) << errors[0];
}

} // namespace
} // namespace orv
