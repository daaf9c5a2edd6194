// The settings table: line rules, lookups and a faithful save.
#include "core/ConfigFile.h"

#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::string ReadBack(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text));
    return text;
}

TEST(ConfigFile, LineRulesAndLookups) {
    ConfigTable t;
    ConfigParse(t, "  ScreenWidth=1280  \n"
                   "; comment with = inside\n"
                   "\n"
                   "Gamma = 1.5\n"
                   "[Section]\n"
                   "\tTabbed=1\n"
                   "screenwidth=640\n"
                   "FOV=\n");
    EXPECT_EQ(t.Entries.Num(), 8);
    EXPECT_EQ(ConfigGet(t, "SCREENWIDTH"), "1280"); // first of two duplicates, 0xDF compare
    EXPECT_EQ(t.Entries[1].Key, "");                  // a ";" line stays a comment
    EXPECT_EQ(t.Entries[1].Value, "; comment with = inside");
    EXPECT_EQ(ConfigGet(t, "Gamma"), "");             // the key is "Gamma " with its space
    EXPECT_EQ(ConfigGet(t, "Gamma "), " 1.5");
    EXPECT_EQ(t.Entries[4].Key, "");                  // no sections: a bracket line is plain text
    EXPECT_EQ(ConfigGet(t, "\tTabbed"), "1");         // only spaces are trimmed
    EXPECT_NE(ConfigFind(t, "FOV"), nullptr);
    EXPECT_EQ(ConfigGet(t, "FOV"), "");
    EXPECT_EQ(ConfigFind(t, "Missing"), nullptr);
    EXPECT_TRUE(ConfigKeysMatch("{a}", "[A]"));
    EXPECT_FALSE(ConfigKeysMatch("Key", "Key "));
}

TEST(ConfigFile, TypedReadersAndEmptyFile) {
    ConfigTable t;
    ConfigParse(t, "");
    ASSERT_EQ(t.Entries.Num(), 1); // an empty file is one empty entry
    EXPECT_EQ(t.Entries[0].Key, "");
    EXPECT_EQ(t.Entries[0].Value, "");
    EXPECT_EQ(ConfigGetFloat(t, "FOV"), 0.0f);
    EXPECT_FALSE(ConfigGetBool(t, "GodMode"));
    ConfigParse(t, "FOV=95.5deg\r\nGodMode=TRUE\r\nLightmapAtlasSize=2048\r\nDynamicLights=0\r\n");
    EXPECT_EQ(t.Entries.Num(), 4); // the final line break does not add an entry
    EXPECT_EQ(ConfigGetFloat(t, "fov"), 95.5f);
    EXPECT_TRUE(ConfigGetBool(t, "GodMode"));
    EXPECT_FALSE(ConfigGetBool(t, "DynamicLights"));
    EXPECT_EQ(ConfigGetInt(t, "LightmapAtlasSize"), 2048);
}

TEST(ConfigFile, SaveKeepsCommentsBlanksAndDuplicates) {
    test::TempDir dir;
    const std::string path = dir.Write("Orvane.ini", "; settings\n\n  Gamma=1.0 \nKey = spaced\nGamma=2.0\nlast line no break");
    ConfigTable t;
    ConfigLoad(t, path);
    ConfigSet(t, "gamma", "1.7");          // changes the first match only
    ConfigSet(t, "MusicVolume", "0.6");    // new keys go to the end
    ASSERT_TRUE(ConfigSave(t, path));
    EXPECT_EQ(ReadBack(path),
              "; settings\r\n\r\nGamma=1.7\r\nKey = spaced\r\nGamma=2.0\r\nlast line no break\r\nMusicVolume=0.6\r\n");
    EXPECT_FALSE(FileExists(path + ".tmp"));
    // A second load and save changes nothing.
    ConfigTable again;
    ConfigLoad(again, path);
    ASSERT_TRUE(ConfigSave(again, path));
    EXPECT_EQ(ReadBack(path),
              "; settings\r\n\r\nGamma=1.7\r\nKey = spaced\r\nGamma=2.0\r\nlast line no break\r\nMusicVolume=0.6\r\n");
}

TEST(ConfigFile, MissingFileIsFatalWithItsName) {
    test::TempDir dir;
    test::InDirectory(dir.Path(), [] {
        ConfigTable t;
        EXPECT_EQ(test::CatchFatal([&] { ConfigLoad(t, "Orvane.ini"); }), "Can't open \"Orvane.ini\": file not found.");
        EXPECT_FALSE(ConfigRead(t, "Other.ini"));
    });
}

TEST(ConfigFile, LoadFindsTheFileCaseBlind) {
    test::TempDir dir;
    dir.Write("ORVANE.INI", "ScreenWidth=800\n");
    test::InDirectory(dir.Path(), [] {
        ConfigTable t;
        ConfigLoad(t, "Orvane.ini");
        EXPECT_EQ(ConfigGetInt(t, "ScreenWidth"), 800);
        ConfigSet(t, "ScreenWidth", "1024");
        ASSERT_TRUE(ConfigSave(t, "Orvane.ini"));
        ConfigLoad(t, "orvane.ini");
        EXPECT_EQ(ConfigGetInt(t, "ScreenWidth"), 1024);
    });
}

} // namespace
} // namespace orv
