// Sound and music against the recording audio device: the calls and the values that reach the
// audio layer where they can go wrong (defaults of an ambient sound, volume factors, playback
// limits, song lookup and order jumps, a device that does not start).
#include "shell/Audio.h"

#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/Vfs.h"
#include "platform/RecordingAudioDevice.h"
#include "support/TestSupport.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Floats = std::vector<float>;

// The call's numbers, each within a few units in the last place of a 32-bit float.
void ExpectValues(const AudioCall& call, const Floats& expected) {
    ASSERT_EQ(call.Values.size(), expected.size()) << call.Name;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(static_cast<float>(call.Values[i]), expected[i]) << call.Name << " value " << i;
    }
}

class AudioTest : public ::testing::Test {
protected:
    AudioTest() : world_(res_, config_), audio_(device_, world_) {
        res_.Config = &config_;
        ConfigSet(config_, "SoundVolume", "0.5");
        ConfigSet(config_, "MusicVolume", "0.75");
        for (const char* file : {"Sounds/Pkg/Sounds/Hum.wav", "Sounds/Pkg/Sounds/Door.ogg", "Sounds/Pkg/Sounds/Bad.wav",
                                 "Sounds/Zelkor/Sounds/underwater.ogg", "Music/Song.xm", "Music/Song.umx", "Music/Tune.it",
                                 "Music/Broken.mod"}) {
            dir_.Write(file, "x");
        }
        device_.BadFiles = {"Sounds\\Pkg\\Sounds\\Bad.wav", "Music\\Broken.mod"};
        CreatePlayerPawn(world_);
        InvalidateVfsCache();
    }

    Actor& AddActor(const Vector& location, std::initializer_list<std::pair<const char*, const char*>> properties) {
        Actor& actor = *world_.Actors[world_.Actors.Add(CreateActor(world_, "Actor"))];
        actor.Location = location;
        for (const auto& [name, value] : properties) {
            actor.SetProperty(name, value);
        }
        return actor;
    }
    void Run(const std::function<void()>& fn) { test::InDirectory(dir_.Path(), fn); }

    test::TempDir dir_;
    Resources res_;
    ConfigTable config_;
    World world_;
    RecordingAudioDevice device_;
    Audio audio_;
};

TEST_F(AudioTest, StartupAmbientSoundsAndActorSoundsPassTheirDistancesVolumesAndLimits) {
    AddActor({1, 2, 3}, {{"AmbientSound", "Sound'Pkg.Hum'"}}); // every number from its default
    AddActor({4, 5, 6}, {{"AmbientSound", "Pkg.Door"}, {"SoundRadius", "10"}, {"SoundVolume", "255"}, {"SoundPitch", "128"}});
    AddActor({}, {{"AmbientSound", "Pkg.Nowhere"}});
    AddActor({}, {{"AmbientSound", "Pkg.Bad"}});
    Actor& monster = AddActor({7, 8, 9}, {});
    Run([&] {
        audio_.AudioStartup();
        audio_.StartAmbientSounds();
        audio_.PlayActorSound(monster, "Pkg.Door", 0.5f);
        audio_.PlayActorSound(*world_.Player, "Pkg.Door", 1.0f);
        audio_.PlayActorSound(monster, "Pkg.Nowhere", 1.0f);
        audio_.FreeAmbientSounds();
    });
    ExpectValues(device_.Named("Start")[0], Floats{44100});
    ExpectValues(device_.Named("Set3DFactors")[0], Floats{0.015625f, -1, -1});

    const auto samples = device_.Named("LoadSample");
    ASSERT_EQ(samples.size(), 4u); // the underwater loop, then the ambient sounds with a file
    EXPECT_EQ(samples[0].Path, "Sounds\\Zelkor\\Sounds\\underwater.ogg");
    EXPECT_EQ(samples[0].Flags, kAudioLoop);
    EXPECT_EQ(samples[3].Handle, kNoAudio);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(samples[i].Flags, kAudioLoop | kAudio3D | kAudioMuteAtMax);
        ExpectValues(samples[i], Floats{64});
    }
    ExpectValues(samples[0], Floats{1});

    const auto attributes = device_.Named("SetChannel3DAttributes");
    ASSERT_EQ(attributes.size(), 3u);
    ExpectValues(attributes[0], Floats{0, 404.54321f, 1618.1729f, -1, -1, 0});
    ExpectValues(attributes[1], Floats{0, 63.209877f, 252.83951f, -1, -1, 0});
    ExpectValues(attributes[2], Floats{0, 202, 809, -1, -1, 0});

    // Volume: the underwater loop, the two ambient sounds (with their frequencies), two actor sounds.
    const auto set = device_.Named("SetChannelAttribute");
    ASSERT_EQ(set.size(), 7u);
    ExpectValues(set[0], Floats{0, 0.5f * 0.3f});
    ExpectValues(set[1], Floats{0, 190.0f / 255.0f * 0.5f});
    ExpectValues(set[2], Floats{1, 22050});
    ExpectValues(set[3], Floats{0, 0.5f});
    ExpectValues(set[4], Floats{1, 44100});
    ExpectValues(set[5], Floats{0, 0.25f});
    ExpectValues(set[6], Floats{0, 0.5f});

    const auto streams = device_.Named("CreateStream");
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].Flags, kAudioAutoFree | kAudio3D);
    EXPECT_EQ(streams[1].Flags, kAudioAutoFree); // the player's own: plain stereo, never placed
    const auto positions = device_.Named("SetChannelPosition");
    ASSERT_EQ(positions.size(), 3u);
    ExpectValues(positions[2], Floats{7, 8, 9});
    EXPECT_EQ(positions[2].Handle, streams[0].Handle);
    EXPECT_EQ(device_.Named("PlayChannel").size(), 4u);
    EXPECT_EQ(device_.Named("Apply3D").size(), 2u); // after the factors, after the ambient sounds

    const auto freed = device_.Named("FreeSample");
    ASSERT_EQ(freed.size(), 2u);
    EXPECT_EQ(freed[0].Handle, samples[1].Handle);
    EXPECT_EQ(freed[1].Handle, samples[2].Handle);
}

TEST_F(AudioTest, SongsAreFoundByExtensionOrderJumpedAndKeptWhenTheNextIsMissing) {
    Run([&] {
        audio_.AudioStartup();
        audio_.PlayMusic("Music'Song.Song'", 0x10003, false); // only the low 16 bits are the order
        audio_.PlayMusic("", 5, false);
        audio_.PlayMusic("Pkg.Missing", 0, false);
        EXPECT_TRUE(audio_.IsMusicLoaded());
        audio_.SetSoundVolume(0.0f); // effects only
        audio_.SetMusicVolume(0.25f);
        audio_.PlayMusic("Tune", 2, false);
        audio_.PlayMusic("x", 0, true);
        EXPECT_FALSE(audio_.IsMusicLoaded());
        audio_.PlayMusic("Broken", 0, false);
        EXPECT_FALSE(audio_.IsMusicLoaded());
    });
    const auto loads = device_.Named("LoadMusic");
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].Path, "Music\\Song.umx");
    EXPECT_EQ(loads[0].Flags, kAudioLoop);
    EXPECT_EQ(loads[1].Path, "Music\\Tune.it");
    EXPECT_EQ(loads[2].Handle, kNoAudio);

    const auto orders = device_.Named("SetMusicOrder");
    ASSERT_EQ(orders.size(), 3u);
    ExpectValues(orders[0], Floats{3, 0});
    EXPECT_EQ(orders[1].Handle, loads[0].Handle);
    ExpectValues(orders[1], Floats{5, 1}); // jumped in place, its state reset
    ExpectValues(orders[2], Floats{2, 0});

    const auto set = device_.Named("SetChannelAttribute");
    ASSERT_EQ(set.size(), 4u);
    ExpectValues(set[1], Floats{0, 0.75f});
    ExpectValues(set[2], Floats{0, 0.25f}); // at once, on the playing song
    EXPECT_EQ(set[2].Handle, loads[0].Handle);
    ExpectValues(set[3], Floats{0, 0.25f});

    // Each song stopped and freed once: by the next song, then by silence.
    const auto freed = device_.Named("FreeMusic");
    ASSERT_EQ(freed.size(), 2u);
    EXPECT_EQ(freed[0].Handle, loads[0].Handle);
    EXPECT_EQ(freed[1].Handle, loads[1].Handle);
    EXPECT_EQ(device_.Named("StopChannel").size(), 2u);
}

TEST_F(AudioTest, TheListenerAndUnderwaterLoopFollowThePlayerAndAFailedDeviceIsOneLine) {
    device_.StartError = "OpenAL returned error 40965";
    test::LogCapture log;
    Run([&] {
        audio_.AudioStartup();
        audio_.SetListener({1, 2, 3}, {0, 1, 0}, {0, 0, 1});
        audio_.SetUnderwater(true);
        audio_.SetUnderwater(false);
        audio_.PlayMusic("Song", 0, false);
        audio_.PlayActorSound(*world_.Player, "Pkg.Door", 1.0f);
    });
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Could not initialize audio! OpenAL returned error 40965"});
    ExpectValues(device_.Named("SetListener")[0], Floats{1, 2, 3, 0, 1, 0, 0, 0, 1});
    const auto& calls = device_.Calls;
    const auto listener = std::find_if(calls.begin(), calls.end(), [](const AudioCall& c) { return c.Name == "SetListener"; });
    ASSERT_LT(listener + 3, calls.end());
    EXPECT_EQ(listener[1].Name, "Apply3D");
    EXPECT_EQ(listener[2].Name, "PlayChannel");
    EXPECT_EQ(listener[3].Name, "PauseChannel");
    EXPECT_FALSE(audio_.IsMusicLoaded());
}

} // namespace
} // namespace orv
