// Class scripts: declarations, defaultproperties blocks, #exec mesh directives, the start-up
// scan with its meshes, parent links, and the class tests and defaults the world relies on.
#include "content/MeshFiles.h"
#include "content/Resources.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using ClassScripts = test::ContentTree;

// "Package.Name<Parent" for every record, in list order.
std::vector<std::string> Declarations(const Resources& res) {
    std::vector<std::string> out;
    for (const auto& record : res.Classes) {
        out.push_back(record->Package + "." + record->Name + "<" + record->ParentName);
    }
    return out;
}

TEST_F(ClassScripts, DeclarationsAndDefaultBlocks) {
    Write("Split.uc",
          "//=====\n"
          "class Split\n"
          "\texpands Base;\n"
          "\n"
          "defaultproperties\n"
          "{\n"
          "\tDrawScale=\t1.5\t\r\n"
          "    ; CollisionRadius=99\n"
          "\tTag = Gate \n"
          "\tTag=Door\n"
          "}\n");
    Write("Semi.uc", "class Semi extends Base;\r\ndefaultproperties\r\n{\r\n}\r\n");
    Write("Tabbed.uc", "class Tabbed\textends Base;\ndefaultproperties\n{\n}\n");
    Write("Lower.uc", "Class Lower\n  EXPANDS Base\ndefaultproperties\n{\nA=1\n}\n");
    Write("Mixed.uc", "class Mixed extends Base;\ndefaultProperties\n{\nA=1\n}\n");
    Write("Open.uc", "class Open extends Base;\ndefaultproperties\n{\nA=1\n");
    Write("Two.uc", "class First extends Base;\ndefaultproperties\n{\nA=1\n}\nclass Second;\ndefaultproperties\n{\nB=2\n}\n");
    Write("Headless.uc", "defaultproperties\n{\nA=1\n}\nclass Late;\ndefaultproperties\n{\n}\n");

    for (const char* file : {"Split.uc", "Semi.uc", "Tabbed.uc", "Lower.uc", "Mixed.uc", "Open.uc", "Two.uc"}) {
        ParseClassScript(Res, file, "Pkg");
    }
    test::LogCapture log;
    ParseClassScript(Res, "Headless.uc", "Pkg");
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Warning: Can't find class name in Headless.uc"});

    // Split over two lines, ended by a semicolon, by a tab, parent on a later line in capitals,
    // two classes in one file, a class after a nameless block.
    EXPECT_EQ(Declarations(Res), (std::vector<std::string>{"Pkg.Split<Base", "Pkg.Semi<Base", "Pkg.Tabbed<Base",
                                                           "Pkg.Lower<Base", "Pkg.First<Base", "Pkg.Second<", "Pkg.Late<"}));
    const ClassRecord& split = *Res.Classes[0];
    ASSERT_EQ(split.Defaults.Num(), 3);
    EXPECT_EQ(split.Defaults.Pairs[0].Key, "DrawScale");
    EXPECT_EQ(split.Defaults.Pairs[0].Value, "1.5");
    EXPECT_EQ(split.Defaults.Pairs[1].Key, "Tag");
    EXPECT_EQ(split.Defaults.Pairs[1].Value, "Gate");
    EXPECT_EQ(split.Defaults.Pairs[2].Value, "Door") << "repeated keys are kept in file order";
    EXPECT_EQ(Res.Classes[5]->Defaults.Get("B"), "2");
    EXPECT_EQ(FindClass(Res, "Mixed"), nullptr) << "only a lower-case defaultproperties opens the block";
    EXPECT_EQ(FindClass(Res, "open"), nullptr) << "a block never closed adds nothing";

    EXPECT_EQ(test::CatchFatal([&] { ParseClassScript(Res, "Gone.uc", "Pkg"); }), "Can't open \"Gone.uc\": file not found.");
}

TEST_F(ClassScripts, ExecLinesCollectMeshDirectives) {
    Write("Imp.uc",
          "class Imp expands Pawn;\n"
          "#exec MESH IMPORT MESH=Imp ANIVFILE=MODELS\\Imp_a.3d DATAFILE=MODELS\\Imp_d.3d\n"
          "  #EXEC  MESH ORIGIN MESH=Imp X=0 Y=0 Z=0 YAW=64  \n"
          "#exec MESHMAP SCALE MESHMAP=Imp X=0.1 Y=0.1 Z=0.2\n"
          "#exec TEXTURE IMPORT NAME=JImp1 FILE=MODELS\\Imp.PCX\n"
          "#exec meshmap settexture meshmap=ImpSkin\tnum=1\n"
          "defaultproperties\n{\n#exec MESH ORIGIN MESH=Inside\n}\n");
    ParseClassScript(Res, "Imp.uc", "Pkg");
    ASSERT_EQ(Res.MeshDirectives.Num(), 4);
    EXPECT_EQ(Res.MeshDirectives[0].MeshName, "Imp");
    EXPECT_EQ(Res.MeshDirectives[0].Text, "MESH IMPORT MESH=Imp ANIVFILE=MODELS\\Imp_a.3d DATAFILE=MODELS\\Imp_d.3d");
    EXPECT_EQ(Res.MeshDirectives[1].MeshName, "Imp");
    EXPECT_EQ(Res.MeshDirectives[1].Text, "MESH ORIGIN MESH=Imp X=0 Y=0 Z=0 YAW=64");
    EXPECT_EQ(Res.MeshDirectives[2].MeshName, "Imp");
    EXPECT_EQ(Res.MeshDirectives[3].MeshName, "ImpSkin\tnum=1") << "mesh names end at a blank only";
}

TEST_F(ClassScripts, StartUpScanLinksParentsAndLoadsMeshes) {
    Write("System/Engine/Classes/Actor.uc", "class Actor;\ndefaultproperties\n{\nDrawScale=1\nCollisionRadius=22\n}\n");
    Write("System/Engine/Classes/Pawn.uc", "class Pawn extends Actor;\ndefaultproperties\n{\nHealth=100\n}\n");
    Write("System/Engine/Classes/Loop.uc",
          "class LoopA extends LoopB;\ndefaultproperties\n{\nA=1\n}\n"
          "class LoopB extends LoopA;\ndefaultproperties\n{\nB=2\n}\n");
    Write("System/Engine/Classes/Self.uc", "class Self extends Self;\ndefaultproperties\n{\nS=1\n}\n");
    Write("System/Engine/Classes/Notes.txt", "class NotAScript;\ndefaultproperties\n{\n}\n");
    Write("System/Monsters/Classes/Imp.uc",
          "class Imp extends ScriptedPawn;\n#exec MESH SEQUENCE MESH=Imp SEQ=Walk STARTFRAME=0 NUMFRAMES=2\n"
          "defaultproperties\n{\nCollisionRadius=30\nHealth=60\nHealth=70\nMesh=Monsters.Imp\n}\n");
    Write("System/Monsters/Classes/ScriptedPawn.uc", "class ScriptedPawn expands Pawn;\ndefaultproperties\n{\n}\n");
    Write("System/Monsters/Classes/Orphan.uc", "class Orphan expands Missing;\ndefaultproperties\n{\nO=1\n}\n");
    std::vector<uint32_t> frames(4, PackMeshVertex({1, 2, 3}));
    MeshTriangle triangle;
    triangle.Vertex[2] = 1;
    test::WriteBytes(Dir, "System/Monsters/Models/Imp_a.3d", WriteMeshAnimationFile(2, 2, frames));
    test::WriteBytes(Dir, "System/Monsters/Models/Imp_d.3d", WriteMeshDataFile(2, {triangle}));
    Write("System/Empty.txt", "");

    test::LogCapture log;
    LoadClassDefaults(Res);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(log.Lines()[0], "Loading defaultproperties and meshes...");

    EXPECT_EQ(Declarations(Res),
              (std::vector<std::string>{"Engine.Actor<", "Engine.LoopA<LoopB", "Engine.LoopB<LoopA", "Engine.Pawn<Actor",
                                        "Engine.Self<Self", "Monsters.Imp<ScriptedPawn", "Monsters.Orphan<Missing",
                                        "Monsters.ScriptedPawn<Pawn"}));
    EXPECT_EQ(FindClass(Res, "imp")->Parent, FindClass(Res, "ScriptedPawn")) << "parents link across packages";
    EXPECT_EQ(FindClass(Res, "ScriptedPawn")->Parent->Parent, FindClass(Res, "Actor"));
    EXPECT_EQ(FindClass(Res, "Actor")->Parent, nullptr);
    EXPECT_EQ(FindClass(Res, "Orphan")->Parent, nullptr);
    EXPECT_EQ(FindClass(Res, "Self")->Parent, nullptr);
    EXPECT_EQ(FindClass(Res, "LoopA")->Parent, FindClass(Res, "LoopB"));
    EXPECT_EQ(FindClass(Res, "LoopB")->Parent, nullptr) << "the link that would close a loop is refused";

    ASSERT_EQ(Res.Meshes.Num(), 2);
    const Mesh& imp = *Res.Meshes[1];
    EXPECT_EQ(imp.Package, "Monsters");
    EXPECT_EQ(imp.Name, "Imp");
    EXPECT_EQ(imp.Triangles.Num(), 1);
    ASSERT_EQ(imp.Sequences.Num(), 1) << "directives of scripts read before the mesh apply";
    EXPECT_EQ(FindMesh(Res, "Monsters.Imp"), Res.Meshes[1].get());

    // Defaults: root first, derived values win, the last of a repeated key wins.
    PropertyList props;
    props.Set("Tag", "FromLevel");
    EXPECT_EQ(ApplyClassDefaults(Res, "IMP", props), FindClass(Res, "Imp"));
    EXPECT_EQ(props.Get("CollisionRadius"), "30");
    EXPECT_EQ(props.Get("Health"), "70");
    EXPECT_EQ(props.Get("DrawScale"), "1");
    EXPECT_EQ(props.Get("Tag"), "FromLevel");
    EXPECT_EQ(props.Pairs[0].Key, "Tag");
    EXPECT_EQ(props.Num(), 5);
    PropertyList base;
    ApplyClassDefaults(Res, "Pawn", base);
    EXPECT_EQ(base.Get("CollisionRadius"), "22");
    EXPECT_EQ(base.Get("Health"), "100");
    PropertyList none;
    EXPECT_EQ(ApplyClassDefaults(Res, "Unknown", none), nullptr);
    EXPECT_EQ(none.Num(), 0);
    PropertyList loop;
    ApplyClassDefaults(Res, "LoopA", loop);
    EXPECT_EQ(loop.Num(), 2);

    // Class tests.
    EXPECT_TRUE(IsA(Res, "Imp", "pawn"));
    EXPECT_TRUE(IsA(Res, "Imp", "Actor"));
    EXPECT_TRUE(IsA(Res, "Imp", "Imp"));
    EXPECT_FALSE(IsA(Res, "Pawn", "Imp"));
    EXPECT_TRUE(IsA(Res, "Orphan", "Missing")) << "the stored parent name counts though it has no record";
    EXPECT_FALSE(IsA(Res, "Orphan", "Actor"));
    EXPECT_FALSE(IsA(Res, "Unknown", "Actor"));
    EXPECT_FALSE(IsA(Res, "LoopB", "Pawn"));
    EXPECT_TRUE(IsSameOrA(Res, "Unknown", "UNKNOWN"));
    EXPECT_TRUE(IsSameOrA(Res, "ScriptedPawn", "Actor"));
    EXPECT_FALSE(IsSameOrA(Res, "Actor", "ScriptedPawn"));
}

} // namespace
} // namespace orv
