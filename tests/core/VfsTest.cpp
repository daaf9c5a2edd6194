// Case-blind paths, sorted wildcard listings and the listing cache.
#include "core/Vfs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Vfs, ResolvesMixedCaseComponentByComponent) {
    test::TempDir dir;
    dir.Write("Textures/Zelkor/Textures/Logo.PNG", "png");
    dir.Write("System/UnrealShare/Classes/Brute.uc", "class Brute;");
    test::InDirectory(dir.Path(), [] {
        EXPECT_TRUE(FileExists("Textures\\Zelkor\\Textures\\Logo.png"));
        EXPECT_TRUE(FileExists("textures\\ZELKOR\\textures\\logo.png"));
        EXPECT_TRUE(FileExists("system/unrealshare/classes/brute.uc")); // forward slashes too
        EXPECT_TRUE(DirectoryExists("SYSTEM\\UnrealShare"));
        EXPECT_FALSE(FileExists("System\\UnrealShare"));                // a folder is not a file
        EXPECT_FALSE(DirectoryExists("System\\UnrealShare\\Classes\\Brute.uc"));
        EXPECT_FALSE(FileExists("Textures\\Zelkor\\Missing.png"));
        EXPECT_FALSE(FileExists("System\\UnrealShare\\Classes\\Brute.uc\\x")); // through a file
        const auto real = ResolvePath("TEXTURES\\zelkor\\TEXTURES\\LOGO.png");
        ASSERT_TRUE(real.has_value());
        EXPECT_EQ(*real, "Textures/Zelkor/Textures/Logo.PNG");
        std::string text;
        ASSERT_TRUE(ReadWholeFile("system\\UNREALSHARE\\classes\\BRUTE.UC", text));
        EXPECT_EQ(text, "class Brute;");
    });
    // Absolute paths resolve the same way.
    EXPECT_TRUE(FileExists(dir / "TEXTURES/ZELKOR/Textures/logo.png"));
}

TEST(Vfs, ExactCaseWinsOverCaseBlindMatch) {
    test::TempDir dir;
    dir.Write("a/File.txt", "upper");
    dir.Write("a/file.txt", "lower");
    std::string text;
    ASSERT_TRUE(ReadWholeFile(dir / "a/file.txt", text));
    EXPECT_EQ(text, "lower");
    ASSERT_TRUE(ReadWholeFile(dir / "a/File.txt", text));
    EXPECT_EQ(text, "upper");
    ASSERT_TRUE(ReadWholeFile(dir / "a/FILE.txt", text));
    EXPECT_EQ(text, "upper"); // first in sorted order
}

TEST(Vfs, ListingsAreFilteredAndSortedCaseBlind) {
    test::TempDir dir;
    dir.Write("System/b.uc", "");
    dir.Write("System/A.uc", "");
    dir.Write("System/c.UC", "");
    dir.Write("System/notes.txt", "");
    dir.Write("System/Zeta/x", "");
    dir.Write("System/alpha/x", "");
    dir.Write("System/Beta/x", "");
    test::InDirectory(dir.Path(), [] {
        EXPECT_EQ(ListFiles("system\\*.uc"), (std::vector<std::string>{"A.uc", "b.uc", "c.UC"}));
        EXPECT_EQ(ListFiles("System\\?.*"), (std::vector<std::string>{"A.uc", "b.uc", "c.UC"}));
        EXPECT_EQ(ListDirectories("System\\*"), (std::vector<std::string>{"alpha", "Beta", "Zeta"}));
        EXPECT_TRUE(ListFiles("Nowhere\\*").empty());
        EXPECT_EQ(ListFiles("*"), std::vector<std::string>{}); // only the folder System here
        EXPECT_EQ(ListDirectories("*"), std::vector<std::string>{"System"});
    });
    EXPECT_TRUE(WildcardMatch("caust_a*.png", "CAUST_A31.PNG"));
    EXPECT_TRUE(WildcardMatch("*_a.3d", "brute1_a.3d"));
    EXPECT_FALSE(WildcardMatch("*_a.3d", "brute1_d.3d"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(WildcardMatch("a?c", "ac"));
}

TEST(Vfs, WritesRefreshTheCache) {
    test::TempDir dir;
    test::InDirectory(dir.Path(), [] {
        EXPECT_FALSE(FileExists("Shot0000.png"));       // lists the folder, caching it
        ASSERT_TRUE(WriteWholeFile("Shot0000.png", "x")); // the engine's own write is seen at once
        EXPECT_TRUE(FileExists("shot0000.PNG"));
        ASSERT_TRUE(RenameFile("SHOT0000.png", "Renamed.png"));
        EXPECT_FALSE(FileExists("Shot0000.png"));
        EXPECT_TRUE(FileExists("renamed.png"));
        ASSERT_TRUE(DeleteFile("RENAMED.PNG"));
        EXPECT_FALSE(FileExists("Renamed.png"));
        ASSERT_TRUE(CreateDirectories("Maps\\Demo1"));
        EXPECT_TRUE(DirectoryExists("maps\\demo1"));
    });
}

TEST(Vfs, LinesSplitAtLfAndCrLf) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitLines("x\r"), (std::vector<std::string>{"x"}));
}

} // namespace
} // namespace orv
