// Package-qualified names to content files: unwrapping, the order of base folders and
// extensions, the level's own folder, and the recursive search below a package.
#include "content/PackageNames.h"
#include "content/Resources.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using PackageNames = test::ContentTree;

// Splitting names into package, group and name is checked through the paths they resolve to
// below, and the refusal of four parts through the mesh table.
TEST(PackageNameText, ObjectReferencesUnwrapAndExtensionsChange) {
    // From the first quote to the last one, and only when the text ends in a quote.
    const std::pair<const char*, const char*> references[] = {
        {"Texture'Pkg.Grp.Wall'", "Pkg.Grp.Wall"}, {"Pkg.Wall", "Pkg.Wall"}, {"a'b'c'", "b'c"},
        {"Broken'", ""}, {"'", ""}, {"'Pkg.Wall", "'Pkg.Wall"}};
    for (const auto& [text, name] : references) {
        EXPECT_EQ(StripObjectReference(text), name) << text;
    }
    EXPECT_EQ(ReplaceExtension("System\\Pkg\\Textures\\Wall.PNG", ".ini"), "System\\Pkg\\Textures\\Wall.ini");
    EXPECT_EQ(ReplaceExtension("Maps\\a.b\\Level", ".bsp"), "Maps\\a.b\\Level.bsp") << "a folder's dot";
}

TEST_F(PackageNames, BaseFoldersComeBeforeExtensionsAndTheLevelFolderLast) {
    Write("System/Pkg/Textures/Grp/Wall.bmp", "b");
    Write("Textures/Pkg/Textures/Grp/Wall.png", "p");
    Write("System/Pkg/Textures/Grp/Floor.jpg", "j");
    Write("System/Pkg/Textures/Grp/Floor.png", "p");
    Write("Textures/Pkg/Textures/Sky.firet", "f");
    Write("Textures/Pkg/Textures/Sky.wett", "w");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Grp.Wall", ""), "System\\Pkg\\Textures\\Grp\\Wall.bmp");
    EXPECT_EQ(ResolveTexturePath(Res, "Texture'pkg.GRP.wall'", ""), "System\\pkg\\Textures\\GRP\\wall.bmp");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Grp.Floor", ""), "System\\Pkg\\Textures\\Grp\\Floor.png");
    EXPECT_EQ(ResolveTexturePath(Res, "Sky", "Pkg"), "Textures\\Pkg\\Textures\\Sky.firet");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Nothing", ""), "");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Grp.Wall.Extra", ""), "");

    Write("Maps/Dig/Pkg/Textures/Rock.png", "l");
    Write("Maps/Dig/Pkg/Sounds/Drip.ogg", "l");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Rock", ""), "") << "no level is current";
    Res.CurrentLevelName = "Dig";
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Rock", ""), "Maps\\Dig\\Pkg\\Textures\\Rock.png");
    EXPECT_EQ(ResolveSoundPath(Res, "Pkg.Drip", ""), "Maps\\Dig\\Pkg\\Sounds\\Drip.ogg");
    Write("Textures/Pkg/Textures/Rock.bmp", "s");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Rock", ""), "Textures\\Pkg\\Textures\\Rock.bmp");

    // Sounds have their own folders and extensions, .wav before .ogg.
    Write("System/Pkg/Sounds/Door.ogg", "o");
    Write("Sounds/Pkg/Sounds/Door.wav", "w");
    Write("System/Pkg/Textures/Door.png", "t");
    EXPECT_EQ(ResolveSoundPath(Res, "Pkg.Door", ""), "System\\Pkg\\Sounds\\Door.ogg");
    Write("System/Pkg/Sounds/Door.wav", "w");
    EXPECT_EQ(ResolveSoundPath(Res, "Pkg.Door", ""), "System\\Pkg\\Sounds\\Door.wav");
    Write("Sounds/Pkg/Sounds/Gen/Hum.wav", "w");
    EXPECT_EQ(ResolveSoundPath(Res, "Pkg.Gen.Hum", ""), "Sounds\\Pkg\\Sounds\\Gen\\Hum.wav");
    EXPECT_EQ(ResolveSoundPath(Res, "Pkg.Hum", ""), "") << "the recursive search only looks under System";
}

TEST_F(PackageNames, RecursiveSearchFindsDeepFilesButNotSettingsFiles) {
    Write("System/Pkg/Textures/A/B/Deep.ini", "bMasked=True");
    Write("System/Pkg/Textures/A/B/Deep.png", "p");
    Write("Textures/Pkg/Textures/X/Y/Other.png", "p");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Deep", ""), "System\\Pkg\\Textures\\A\\B\\Deep.png");
    EXPECT_EQ(ResolveTexturePath(Res, "Pkg.Other", ""), "");

    // Files of a folder before its subfolders; subfolders in sorted order, depth first.
    Write("Tree/b/Item.txt", "1");
    Write("Tree/a/deeper/Item.txt", "2");
    EXPECT_EQ(FindFileRecursive("Tree", "item.*"), "Tree\\a\\deeper\\Item.txt");
    Write("Tree/Item.dat", "3");
    EXPECT_EQ(FindFileRecursive("Tree\\", "Item.*"), "Tree\\Item.dat");
    EXPECT_EQ(FindFileRecursive("Tree\\b\\*", "Item.*"), "Tree\\b\\Item.txt"); // a trailing "*" is dropped
    EXPECT_EQ(FindFileRecursive("Tree/a/", "*.txt"), "Tree/a/deeper\\Item.txt");
    EXPECT_EQ(FindFileRecursive("Missing", "*"), "");
}

} // namespace
} // namespace orv
