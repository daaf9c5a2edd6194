// Case-blind paths, sorted wildcard listings, the listing cache and line splitting.
#include "core/Vfs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Names = std::vector<std::string>;

TEST(Vfs, ResolvesMixedCaseComponentByComponentExactCaseFirst) {
    test::TempDir dir;
    dir.Write("Textures/Zelkor/Textures/Logo.PNG", "png");
    dir.Write("System/UnrealShare/Classes/Brute.uc", "class Brute;");
    dir.Write("a/File.txt", "upper");
    dir.Write("a/file.txt", "lower");
    test::InDirectory(dir.Path(), [] {
        EXPECT_EQ(ResolvePath("TEXTURES\\zelkor\\TEXTURES\\LOGO.png"), "Textures/Zelkor/Textures/Logo.PNG");
        EXPECT_TRUE(FileExists("system/unrealshare/classes/brute.uc")); // forward slashes too
        EXPECT_TRUE(DirectoryExists("SYSTEM\\UnrealShare"));
        EXPECT_FALSE(FileExists("System\\UnrealShare"));                // a folder is not a file
        EXPECT_FALSE(DirectoryExists("System\\UnrealShare\\Classes\\Brute.uc"));
        EXPECT_FALSE(FileExists("Textures\\Zelkor\\Missing.png"));
        EXPECT_FALSE(FileExists("System\\UnrealShare\\Classes\\Brute.uc\\x")); // through a file
        // Of two names differing only in case, the exact one wins, else the first in sorted order.
        auto read = [](const char* path) {
            std::string text;
            return ReadWholeFile(path, text) ? text : "<missing>";
        };
        EXPECT_EQ(read("a/file.txt") + " " + read("A/File.txt") + " " + read("a/FILE.txt"), "lower upper upper");
    });
    EXPECT_TRUE(FileExists(dir / "TEXTURES/ZELKOR/Textures/logo.png")) << "absolute paths resolve the same way";
}

TEST(Vfs, ListingsAreSortedCaseBlindAndWritesRefreshTheCache) {
    test::TempDir dir;
    for (const char* file : {"System/b.uc", "System/A.uc", "System/c.UC", "System/notes.txt", "System/Zeta/x",
                             "System/alpha/x", "System/Beta/x"}) {
        dir.Write(file, "");
    }
    test::InDirectory(dir.Path(), [] {
        EXPECT_EQ(ListFiles("system\\*.uc"), (Names{"A.uc", "b.uc", "c.UC"}));
        EXPECT_EQ(ListDirectories("System\\*"), (Names{"alpha", "Beta", "Zeta"}));
        EXPECT_TRUE(ListFiles("Nowhere\\*").empty());
        EXPECT_EQ(ListDirectories("*"), Names{"System"});

        ASSERT_TRUE(WriteWholeFile("Shot0000.png", "x")); // the engine's own write is seen at once
        EXPECT_TRUE(FileExists("shot0000.PNG"));
        ASSERT_TRUE(RenameFile("SHOT0000.png", "Renamed.png"));
        EXPECT_EQ(ListFiles("*"), Names{"Renamed.png"});
        ASSERT_TRUE(DeleteFile("RENAMED.PNG"));
        EXPECT_FALSE(FileExists("Renamed.png"));
        ASSERT_TRUE(CreateDirectories("Maps\\Demo1"));
        EXPECT_TRUE(DirectoryExists("maps\\demo1"));
    });
    EXPECT_TRUE(WildcardMatch("caust_a*.png", "CAUST_A31.PNG"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(WildcardMatch("*_a.3d", "brute1_d.3d"));
    EXPECT_FALSE(WildcardMatch("a?c", "ac"));
    EXPECT_TRUE(WildcardMatch("?.*", "A.uc"));
}

TEST(Vfs, LinesSplitAtLfAndCrLf) {
    const std::pair<const char*, Names> cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}}, {"a\n", {"a"}}, {"a\n\n", {"a", ""}}, {"", {""}}, {"x\r", {"x"}}};
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitLines(text), lines) << text;
    }
}

} // namespace
} // namespace orv
