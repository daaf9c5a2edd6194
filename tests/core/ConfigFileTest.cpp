// The settings table: line rules and lookups, a faithful save, and finding the file case-blind.
#include "core/ConfigFile.h"

#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

TEST(ConfigFile, LineRulesAndLookups) {
    ConfigTable t;
    ConfigParse(t, "");
    EXPECT_EQ(t.Entries.Num(), 1); // an empty file is one empty line

    ConfigParse(t, "  ScreenWidth=1280  \n; comment with = inside\n\nGamma = 1.5\n"
                   "[Section]\n\tTabbed=1\nscreenwidth=640\nFOV=\n");
    EXPECT_EQ(t.Entries.Num(), 8);
    EXPECT_EQ(ConfigGet(t, "SCREENWIDTH"), "1280"); // the first of two duplicates, 0xDF compare
    EXPECT_EQ(t.Entries[1].Key, "");                // a ";" line stays a comment
    EXPECT_EQ(t.Entries[1].Value, "; comment with = inside");
    EXPECT_EQ(ConfigGet(t, "Gamma"), ""); // the key is "Gamma " with its space
    EXPECT_EQ(ConfigGet(t, "Gamma "), " 1.5");
    EXPECT_EQ(t.Entries[4].Key, "");          // no sections: a bracket line is plain text
    EXPECT_EQ(ConfigGet(t, "\tTabbed"), "1"); // only spaces are trimmed
    EXPECT_TRUE(ConfigFind(t, "FOV") && !ConfigFind(t, "Missing")) << "an empty value is still a value";

    ConfigParse(t, "FOV=95.5\r\nGodMode=TRUE\r\n");
    EXPECT_EQ(t.Entries.Num(), 2); // the final line break does not add an entry
    EXPECT_EQ(ConfigGetFloat(t, "fov"), 95.5f);
    EXPECT_TRUE(ConfigGetBool(t, "GodMode"));
}

TEST(ConfigFile, SaveKeepsEveryLineAndTheFileIsFoundCaseBlind) {
    test::TempDir dir;
    dir.Write("ORVANE.INI", "; settings\n\n  Gamma=1.0 \nKey = spaced\nGamma=2.0\nlast line no break");
    test::InDirectory(dir.Path(), [] {
        const std::string saved =
            "; settings\r\n\r\nGamma=1.7\r\nKey = spaced\r\nGamma=2.0\r\nlast line no break\r\nMusicVolume=0.6\r\n";
        ConfigTable t;
        ConfigLoad(t, "Orvane.ini");
        ConfigSet(t, "gamma", "1.7");       // changes the first match only
        ConfigSet(t, "MusicVolume", "0.6"); // new keys go to the end
        std::string text;
        for (int pass = 0; pass < 2; ++pass) { // a second load and save changes nothing
            ASSERT_TRUE(ConfigSave(t, "Orvane.ini"));
            ASSERT_TRUE(ReadWholeFile("orvane.ini", text));
            EXPECT_EQ(text, saved);
            EXPECT_EQ(ListFiles("*").size(), 1u) << "the save replaces the file and leaves no temporary one";
            ConfigLoad(t, "orvane.ini");
        }
        EXPECT_EQ(test::CatchFatal([&] { ConfigLoad(t, "Other.ini"); }), "Can't open \"Other.ini\": file not found.");
        EXPECT_FALSE(ConfigRead(t, "Other.ini"));
    });
}

// A child saves two tables by turns and is killed at varied moments: after every kill the file
// reads back as exactly one of them, and a stray temporary file never stops the next save.
TEST(ConfigFile, SaveKilledAtAnyMomentLeavesOneWholeFile) {
    test::TempDir dir;
    const std::string path = (dir.Path() / "Orvane.ini").string();
    ConfigTable tables[2];
    std::string texts[2];
    for (int t = 0; t < 2; ++t) {
        for (int line = 0; line < 400 + 300 * t; ++line) {
            texts[t] += "Key" + std::to_string(line) + "=" + std::string(20 + t, 'a') + "\r\n";
        }
        ConfigParse(tables[t], texts[t]);
    }
    dir.Write("Orvane.ini.tmp", "stray");
    ASSERT_TRUE(ConfigSave(tables[0], path));
    for (int kill = 0; kill < 150; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < 100000 && ConfigSave(tables[(i + kill) % 2], path); ++i) {
            }
            ::_exit(3); // reached only after a failed save
        }
        ::usleep(static_cast<useconds_t>(kill * 397 % 30000)); // up to a few saves in
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        std::string text;
        ASSERT_TRUE(!WIFEXITED(status) && ReadWholeFile(path, text)) << "a save failed before kill " << kill;
        ASSERT_TRUE(text == texts[0] || text == texts[1]) << "kill " << kill << " left " << text.size() << " bytes";
    }
}

} // namespace
} // namespace orv
