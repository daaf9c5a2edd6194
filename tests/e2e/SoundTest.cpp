// Sound and music in the real program, listened to in its --audio-out mix: Demo 1's song from
// the first steps (the same file on every run, silent at "MusicVolume" 0), a door heard by its
// distance and side, the underwater loop on diving, and a real Impulse Tracker module.
#include "GameCopy.h"

#include "platform/SoundFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::GameCopy;

constexpr int kFramesPerStep = 735; // 44100 Hz at 60 steps a second
constexpr int kLeft = 0;
constexpr int kRight = 1;

void ReplaceIn(const fs::path& path, const std::string& pattern, const std::string& with) {
    std::string text;
    ReadWholeFile(path.string(), text);
    std::ofstream(path, std::ios::binary) << std::regex_replace(text, std::regex(pattern), with);
}

// The mix of a run, and its loudness (root mean square, in 16-bit steps) over steps [from, to).
struct Mix {
    DecodedSound Sound;

    double Level(int from, int to, int channel) const {
        double sum = 0.0;
        int64_t n = 0;
        for (int64_t f = int64_t{from} * kFramesPerStep; f < int64_t{to} * kFramesPerStep && f < Sound.Frames(); ++f, ++n) {
            const double s = Sound.Samples[static_cast<size_t>(f * 2 + channel)];
            sum += s * s;
        }
        return n ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
    }
    double Level(int from, int to) const { return std::max(Level(from, to, kLeft), Level(from, to, kRight)); }
};

class SoundInDemo1 : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_PROGRAM(game_); }

    void Set(const std::string& key, const std::string& value) {
        ReplaceIn(game_.Path() / "Orvane.ini", key + "=[^\r\n]*", key + "=" + value);
    }
    // No ambient loops, no dripping, no music: only the sounds a test makes are heard.
    void Quieten() {
        ReplaceIn(Level(), "\n *AmbientSound=[^\n]*", "");
        ReplaceIn(Level(), "Begin Actor Class=DynamicAmbientSound[\\s\\S]*?End Actor\n", "");
        Set("MusicVolume", "0");
    }
    fs::path Level() const { return game_.Path() / "Maps" / "Demo1.t3d"; }
    Mix Play(int steps, const std::string& script = "") {
        const test::ProgramRun run = game_.Play("Demo1", steps, script, "--audio-out mix.wav");
        EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
        Mix mix;
        std::string error;
        EXPECT_TRUE(DecodeSoundFile((game_.Path() / "work" / "mix.wav").string(), mix.Sound, error)) << error;
        EXPECT_EQ(mix.Sound.Rate, 44100);
        EXPECT_EQ(mix.Sound.Channels, 2);
        EXPECT_EQ(mix.Sound.Frames(), int64_t{steps} * kFramesPerStep);
        dump_ = run.Dump;
        return mix;
    }

    GameCopy game_;
    test::DumpFile dump_;
};

TEST_F(SoundInDemo1, TheSongStartsWithTheLevelTheSameOnEveryRunAndFollowsMusicVolume) {
    Set("SoundVolume", "0"); // the music alone
    const Mix first = Play(30);
    EXPECT_GT(first.Level(1, 4), 20.0); // the song's first notes swell in its first steps
    EXPECT_GT(first.Level(10, 30), 150.0);
    EXPECT_EQ(Play(30).Sound.Samples, first.Sound.Samples);
    Set("MusicVolume", "0");
    EXPECT_EQ(Play(30).Level(0, 30), 0.0);
}

TEST_F(SoundInDemo1, ADoorIsLouderNearItThanAcrossTheHallOnItsSideAndUnheardBeyondItsReach) {
    Quieten();
    // A trigger under the player opens the court door (Z 64, 202 units of full level, silent
    // beyond 809) at once; the player faces east, so the door to the north is on the right.
    const auto doorFrom = [&](double x, double y, double z) {
        game_.SetPlayerStart("Demo1", x, y, z);
        game_.AddActor("Demo1", "Begin Actor Class=Trigger Name=DoorAt" + std::to_string(int(x)) + "\n    Location=(X=" + std::to_string(x) +
                                    ",Y=" + std::to_string(y) + ",Z=" + std::to_string(z) + ")\n    Event=CourtDoor\nEnd Actor");
        return Play(60);
    };
    const Mix near = doorFrom(640, 640, 8);  // 160 units south
    const Mix far = doorFrom(96, 384, 8);    // across the hall, 685 units away
    const Mix beyond = doorFrom(1600, 200, 136); // the pool room, 1100 away
    EXPECT_GT(near.Level(0, 60, kRight), 1.5 * near.Level(0, 60, kLeft));
    EXPECT_GT(near.Level(0, 60), 2.5 * far.Level(0, 60)); // 202 / 685 of its level there
    EXPECT_GT(far.Level(0, 60), 50.0);
    EXPECT_EQ(beyond.Level(0, 60), 0.0);
}

TEST_F(SoundInDemo1, TheUnderwaterLoopStartsWhenThePlayerDives) {
    Quieten();
    game_.SetPlayerStart("Demo1", 1984, 448, 130); // over the pool, falling in
    const Mix mix = Play(90);
    EXPECT_EQ(dump_.Actor("Player")["bViewUnderwater"], 1);
    EXPECT_EQ(mix.Level(0, 5), 0.0);
    EXPECT_GT(mix.Level(60, 90), 100.0);
}

TEST_F(SoundInDemo1, ARealImpulseTrackerModulePlays) {
    ORV_PEER_FILE(module, "music/xyzdMenu.it");
    fs::remove(game_.Path() / "Music"); // the shared songs' link, replaced by a folder of the test's own
    fs::create_directory(game_.Path() / "Music");
    fs::create_symlink(module, game_.Path() / "Music" / "xyzdMenu.it");
    ReplaceIn(Level(), "Song=[^\n]*", "Song=Music'xyzdMenu'");
    Set("SoundVolume", "0");
    EXPECT_GT(Play(60).Level(0, 60), 100.0);
}

} // namespace
} // namespace orv
