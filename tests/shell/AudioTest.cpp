// Sound and music against the recording audio device: every call, its order and its values,
// where they can go wrong (defaults of an ambient sound, volume factors, playback limits, song
// lookup and order jumps, a device that does not start).
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

using Lines = std::vector<std::string>;

// What start-up asks of the device, with "SoundVolume" 0.5: the underwater loop is made, not started.
const Lines kStartup = {"Start 44100", "Set3DFactors 0.015625 -1 -1", "Apply3D",
                        "LoadSample #1 Sounds\\Zelkor\\Sounds\\underwater.ogg loop 1", "SampleChannel #2 1",
                        "SetChannelAttribute #2 0 0.15000001"};

Lines After(const Lines& first, const Lines& then) {
    Lines all = first;
    all.insert(all.end(), then.begin(), then.end());
    return all;
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

TEST_F(AudioTest, AmbientSoundsAndActorSoundsPassTheirDistancesVolumesAndLimits) {
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
    EXPECT_EQ(device_.Transcript(),
              After(kStartup, {"LoadSample #3 Sounds\\Pkg\\Sounds\\Hum.wav loop 3d mutemax 64", "SampleChannel #4 3",
                               "SetChannelPosition #4 1 2 3", "SetChannel3DAttributes #4 0 404.54321 1618.1729 -1 -1 0",
                               "SetChannelAttribute #4 0 0.37254903", "GetChannelAttribute #4 1",
                               "SetChannelAttribute #4 1 22050", "PlayChannel #4 0",
                               "LoadSample #5 Sounds\\Pkg\\Sounds\\Door.ogg loop 3d mutemax 64", "SampleChannel #6 5",
                               "SetChannelPosition #6 4 5 6", "SetChannel3DAttributes #6 0 63.209877 252.83951 -1 -1 0",
                               "SetChannelAttribute #6 0 0.5", "GetChannelAttribute #6 1", "SetChannelAttribute #6 1 44100",
                               "PlayChannel #6 0", "LoadSample Sounds\\Pkg\\Sounds\\Bad.wav loop 3d mutemax 64", "Apply3D",
                               // A monster's sound where it stands, at half its volume; the player's own plain.
                               "CreateStream #7 Sounds\\Pkg\\Sounds\\Door.ogg 3d autofree", "SetChannelPosition #7 7 8 9",
                               "SetChannel3DAttributes #7 0 202 809 -1 -1 0", "SetChannelAttribute #7 0 0.25",
                               "PlayChannel #7 0", "CreateStream #8 Sounds\\Pkg\\Sounds\\Door.ogg autofree",
                               "SetChannelAttribute #8 0 0.5", "PlayChannel #8 0", "FreeSample #3", "FreeSample #5"}));
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
        audio_.PlayActorSound(*world_.Player, "Pkg.Door", 1.0f);
        audio_.PlayMusic("Tune", 2, false);
        audio_.PlayMusic("x", 0, true);
        EXPECT_FALSE(audio_.IsMusicLoaded());
        audio_.PlayMusic("Broken", 0, false);
        EXPECT_FALSE(audio_.IsMusicLoaded());
    });
    EXPECT_EQ(device_.Transcript(),
              After(kStartup, {"LoadMusic #3 Music\\Song.umx loop", "SetChannelAttribute #3 0 0.75", "SetMusicOrder #3 3 0",
                               "PlayChannel #3 0", "SetMusicOrder #3 5 1", "SetChannelAttribute #3 0 0.25",
                               "CreateStream #4 Sounds\\Pkg\\Sounds\\Door.ogg autofree", "SetChannelAttribute #4 0 0",
                               "PlayChannel #4 0", "StopChannel #3", "FreeMusic #3", "LoadMusic #5 Music\\Tune.it loop",
                               "SetChannelAttribute #5 0 0.25", "SetMusicOrder #5 2 0", "PlayChannel #5 0",
                               "StopChannel #5", "FreeMusic #5", "LoadMusic Music\\Broken.mod loop"}));
}

TEST_F(AudioTest, AFailedDeviceIsOneLineAndTheListenerAndUnderwaterLoopStillFollowThePlayer) {
    device_.StartError = "OpenAL returned error 40965";
    test::LogCapture log;
    Run([&] {
        audio_.AudioStartup();
        audio_.PlayMusic("Song", 0, false);
        audio_.PlayActorSound(*world_.Player, "Pkg.Door", 1.0f);
        audio_.SetListener({1, 2, 3}, {0, 1, 0}, {0, 0, 1});
        audio_.SetUnderwater(true);
        audio_.SetUnderwater(false);
    });
    EXPECT_EQ(log.Lines(), Lines{"Could not initialize audio! OpenAL returned error 40965"});
    EXPECT_EQ(device_.Transcript(),
              (Lines{"Start 44100", "Set3DFactors 0.015625 -1 -1", "Apply3D",
                     "LoadSample Sounds\\Zelkor\\Sounds\\underwater.ogg loop 1", "SampleChannel 0",
                     "SetChannelAttribute 0 0.15000001", "LoadMusic Music\\Song.umx loop",
                     "CreateStream Sounds\\Pkg\\Sounds\\Door.ogg autofree", "SetListener 1 2 3 0 1 0 0 0 1", "Apply3D",
                     "PlayChannel 0", "PauseChannel"}));
    EXPECT_FALSE(audio_.IsMusicLoaded());
}

} // namespace
} // namespace orv
