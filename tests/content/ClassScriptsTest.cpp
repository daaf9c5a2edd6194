// Class scripts: declarations, defaultproperties blocks, #exec mesh directives, the start-up
// scan with its meshes, parent links, and the class tests and defaults the world relies on.
#include "content/MeshFiles.h"
#include "content/Resources.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using ClassScripts = test::ContentTree;
using Names = std::vector<std::string>;

Names Declarations(const Resources& res) {
    return test::Lines(res.Classes, [](const auto& r) { return r->Package + "." + r->Name + "<" + r->ParentName; });
}
Names Pairs(const PropertyList& list) {
    return test::Lines(list.Pairs, [](const PropertyPair& p) { return p.Key + "=" + p.Value; });
}
// A script of one class with its defaultproperties block.
std::string Script(const std::string& declaration, const std::string& defaults) {
    return declaration + "\ndefaultproperties\n{\n" + defaults + "}\n";
}

TEST_F(ClassScripts, DeclarationsDefaultBlocksAndMeshDirectives) {
    Write("Split.uc", "//=====\nclass Split\n\texpands Base;\n\ndefaultproperties\n{\n"
                      "\tDrawScale=\t1.5\t\r\n    ; CollisionRadius=99\n\tTag = Gate \n\tTag=Door\n}\n");
    Write("Semi.uc", "class Semi extends Base;\r\ndefaultproperties\r\n{\r\n}\r\n");
    Write("Tabbed.uc", "class Tabbed\textends Base;\ndefaultproperties\n{\n}\n");
    Write("Lower.uc", "Class Lower\n  EXPANDS Base\ndefaultproperties\n{\nA=1\n}\n");
    Write("Mixed.uc", "class Mixed extends Base;\ndefaultProperties\n{\nA=1\n}\n");
    Write("Open.uc", "class Open extends Base;\ndefaultproperties\n{\nA=1\n");
    Write("Two.uc", "class First extends Base;\ndefaultproperties\n{\nA=1\n}\n"
                    "class Second;\ndefaultproperties\n{\nB=2\n}\n");
    Write("Imp.uc", "class Imp expands Pawn;\n"
                    "#exec MESH IMPORT MESH=Imp ANIVFILE=MODELS\\Imp_a.3d DATAFILE=MODELS\\Imp_d.3d\n"
                    "  #EXEC  MESH ORIGIN MESH=Imp X=0 Y=0 Z=0 YAW=64  \n"
                    "#exec TEXTURE IMPORT NAME=JImp1 FILE=MODELS\\Imp.PCX\n"
                    "#exec meshmap settexture meshmap=ImpSkin\tnum=1\n"
                    "defaultproperties\n{\n#exec MESH ORIGIN MESH=Inside\n}\n");
    Write("Headless.uc", "defaultproperties\n{\nA=1\n}\nclass Late;\ndefaultproperties\n{\n}\n");
    for (const char* name : {"Split", "Semi", "Tabbed", "Lower", "Mixed", "Open", "Two", "Imp"}) {
        ParseClassScript(Res, std::string(name) + ".uc", "Pkg");
    }
    test::LogCapture log;
    ParseClassScript(Res, "Headless.uc", "Pkg");
    EXPECT_EQ(log.Lines(), Names{"Warning: Can't find class name in Headless.uc"});

    // Split over two lines, ended by a semicolon, by a tab, parent on a later line in capitals,
    // two classes in one file, a class after a nameless block. Only a lower-case
    // defaultproperties opens the block (Mixed), and a block never closed adds nothing (Open).
    EXPECT_EQ(Declarations(Res), (Names{"Pkg.Split<Base", "Pkg.Semi<Base", "Pkg.Tabbed<Base", "Pkg.Lower<Base",
                                        "Pkg.First<Base", "Pkg.Second<", "Pkg.Imp<Pawn", "Pkg.Late<"}));
    EXPECT_EQ(Pairs(Res.Classes[0]->Defaults), (Names{"DrawScale=1.5", "Tag=Gate", "Tag=Door"})) << "repeats kept";
    EXPECT_EQ(Pairs(Res.Classes[5]->Defaults), Names{"B=2"});
    // Only mesh directives, trimmed; a mesh name ends at a blank only.
    EXPECT_EQ(test::Lines(Res.MeshDirectives, [](const MeshDirective& d) { return d.MeshName + ": " + d.Text; }),
              (Names{"Imp: MESH IMPORT MESH=Imp ANIVFILE=MODELS\\Imp_a.3d DATAFILE=MODELS\\Imp_d.3d",
                     "Imp: MESH ORIGIN MESH=Imp X=0 Y=0 Z=0 YAW=64",
                     "ImpSkin\tnum=1: meshmap settexture meshmap=ImpSkin\tnum=1"}));
    EXPECT_EQ(test::CatchFatal([&] { ParseClassScript(Res, "Gone.uc", "Pkg"); }),
              "Can't open \"Gone.uc\": file not found.");
}

TEST_F(ClassScripts, StartUpScanLinksParentsLoadsMeshesAndAppliesDefaults) {
    const std::string engine = "System/Engine/Classes/", monsters = "System/Monsters/Classes/";
    Write(engine + "Actor.uc", Script("class Actor;", "DrawScale=1\nCollisionRadius=22\n"));
    Write(engine + "Pawn.uc", Script("class Pawn extends Actor;", "Health=100\n"));
    Write(engine + "Loop.uc",
          Script("class LoopA extends LoopB;", "A=1\n") + Script("class LoopB extends LoopA;", "B=2\n"));
    Write(engine + "Self.uc", Script("class Self extends Self;", "S=1\n"));
    Write(engine + "Notes.txt", Script("class NotAScript;", ""));
    Write(monsters + "Imp.uc", Script("class Imp extends ScriptedPawn;\n#exec MESH SEQUENCE MESH=Imp NUMFRAMES=2",
                                      "CollisionRadius=30\nHealth=60\nHealth=70\nMesh=Monsters.Imp\n"));
    Write(monsters + "ScriptedPawn.uc", Script("class ScriptedPawn expands Pawn;", ""));
    Write(monsters + "Orphan.uc", Script("class Orphan expands Missing;", "O=1\n"));
    test::WriteBytes(Dir, "System/Monsters/Models/Imp_a.3d", WriteMeshAnimationFile(2, 2, std::vector<uint32_t>(4, 1)));
    test::WriteBytes(Dir, "System/Monsters/Models/Imp_d.3d", WriteMeshDataFile(2, {MeshTriangle{}}));
    Write("System/Empty.txt", "");

    test::LogCapture log;
    LoadClassDefaults(Res);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(log.Lines()[0], "Loading defaultproperties and meshes...");
    EXPECT_EQ(Declarations(Res),
              (Names{"Engine.Actor<", "Engine.LoopA<LoopB", "Engine.LoopB<LoopA", "Engine.Pawn<Actor",
                     "Engine.Self<Self", "Monsters.Imp<ScriptedPawn", "Monsters.Orphan<Missing",
                     "Monsters.ScriptedPawn<Pawn"}));
    // Parents link across packages; a missing parent, a class naming itself and the link that
    // would close a loop stay unlinked.
    auto link = [](const auto& r) { return r->Name + "<" + (r->Parent ? r->Parent->Name : "-"); };
    EXPECT_EQ(test::Lines(Res.Classes, link),
              (Names{"Actor<-", "LoopA<LoopB", "LoopB<-", "Pawn<Actor", "Self<-", "Imp<ScriptedPawn", "Orphan<-",
                     "ScriptedPawn<Pawn"}));
    ASSERT_EQ(Res.Meshes.Num(), 2);
    EXPECT_EQ(FindMesh(Res, "Monsters.Imp"), Res.Meshes[1].get());
    EXPECT_EQ(Res.Meshes[1]->Triangles.Num(), 1);
    EXPECT_EQ(Res.Meshes[1]->Sequences.Num(), 1) << "directives of scripts read before the mesh apply";

    // Defaults: root first, derived values win, the last of a repeated key wins, the level's own
    // values stay first.
    PropertyList props;
    props.Set("Tag", "FromLevel");
    EXPECT_EQ(ApplyClassDefaults(Res, "IMP", props), FindClass(Res, "Imp"));
    EXPECT_EQ(Pairs(props),
              (Names{"Tag=FromLevel", "DrawScale=1", "CollisionRadius=30", "Health=70", "Mesh=Monsters.Imp"}));
    PropertyList none;
    EXPECT_TRUE(ApplyClassDefaults(Res, "Unknown", none) == nullptr && none.Num() == 0);
    PropertyList loop;
    ApplyClassDefaults(Res, "LoopA", loop);
    EXPECT_EQ(Pairs(loop), (Names{"B=2", "A=1"})) << "the chain ends where the loop was cut";

    // The stored parent name counts though it has no record; IsSameOrA also takes the name itself.
    const std::tuple<const char*, const char*, bool> isA[] = {
        {"Imp", "pawn", true},       {"Imp", "Actor", true},       {"Imp", "Imp", true},        {"Pawn", "Imp", false},
        {"Orphan", "Missing", true}, {"Orphan", "Actor", false}, {"Unknown", "Actor", false}, {"LoopB", "Pawn", false}};
    for (const auto& [name, base, expected] : isA) {
        EXPECT_EQ(IsA(Res, name, base), expected) << name << " IsA " << base;
    }
    EXPECT_TRUE(IsSameOrA(Res, "Unknown", "UNKNOWN") && IsSameOrA(Res, "ScriptedPawn", "Actor"));
    EXPECT_FALSE(IsSameOrA(Res, "Actor", "ScriptedPawn"));
}

} // namespace
} // namespace orv
