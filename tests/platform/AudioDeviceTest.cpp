// The OpenAL audio device mixed offline: sample channels up to their limit, 3D channels silent
// beyond their maximum distance, 8-bit WAV decoding, a module found inside an Unreal package;
// and live, through OpenAL Soft's file writer, music that plays on while the caller stalls.
#include "platform/AudioDevice.h"

#include "core/Vfs.h"
#include "platform/SoundFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;

// Root mean square of stereo frames, in 16-bit steps.
double Level(const int16_t* stereo, int64_t frames) {
    double sum = 0.0;
    for (int64_t i = 0; i < frames * 2; ++i) {
        sum += static_cast<double>(stereo[i]) * stereo[i];
    }
    return std::sqrt(sum / static_cast<double>(frames * 2));
}

// The level of the next frames of the mix.
double MixLevel(AudioDevice& device, int frames) {
    std::vector<int16_t> mix(static_cast<size_t>(frames) * 2);
    EXPECT_TRUE(device.RenderFrames(mix.data(), frames));
    return Level(mix.data(), frames);
}

class OfflineDevice : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(GameDir() / "Music" / "Emberfall.xm")) {
            GTEST_SKIP() << "the demo content is not built (game/)";
        }
        ASSERT_EQ(device_->Start(kRate), "");
        device_->Set3DFactors(1.0f / 64.0f, kAudioUnchanged, kAudioUnchanged);
    }
    static std::string Content(const std::string& relative) { return (test::GameDir() / relative).string(); }
    static fs::path GameDir() { return test::GameDir(); }

    std::unique_ptr<AudioDevice> device_ = CreateOpenAlAudioDevice(AudioOutput::Offline);
};

TEST_F(OfflineDevice, SampleChannelsStopAtTheLimitAndAreSilentBeyondTheirMaximumDistance) {
    const std::string hum = Content("Sounds/Orvane/Sounds/Ambient/Hum.wav");
    const AudioHandle sample = device_->LoadSample(hum, 2, kAudioLoop | kAudio3D);
    const AudioHandle a = device_->SampleChannel(sample);
    ASSERT_NE(a, kNoAudio);
    EXPECT_EQ(device_->SampleChannel(sample), a); // not started yet: taken again
    device_->PlayChannel(a, false);
    const AudioHandle b = device_->SampleChannel(sample);
    ASSERT_NE(b, kNoAudio);
    EXPECT_NE(a, b);
    device_->PlayChannel(b, false);
    EXPECT_EQ(device_->SampleChannel(sample), kNoAudio);
    device_->StopChannel(b);
    EXPECT_EQ(device_->SampleChannel(sample), b);
    EXPECT_EQ(device_->GetChannelAttribute(a, ChannelAttribute::Frequency), 22050.0f);

    device_->PauseChannel(a);
    const AudioHandle door = device_->CreateStream(Content("Sounds/Orvane/Sounds/Ambient/Hum.wav"), kAudioAutoFree | kAudio3D);
    device_->SetChannelPosition(door, {1000, 0, 0});
    device_->SetChannel3DAttributes(door, {.MinDistance = 202, .MaxDistance = 809, .OutsideVolume = 0});
    device_->SetListener({}, {1, 0, 0}, {0, 0, 1});
    device_->PlayChannel(door, false);
    EXPECT_EQ(MixLevel(*device_, 4410), 0.0);
    device_->SetListener({400, 0, 0}, {1, 0, 0}, {0, 0, 1}); // 600 away: heard once applied
    EXPECT_EQ(MixLevel(*device_, 441), 0.0);
    device_->Apply3D();
    EXPECT_GT(MixLevel(*device_, 4410), 100.0);

    device_->FreeSample(sample); // its channels go with it
    device_->PlayChannel(a, false);
    EXPECT_EQ(device_->GetChannelAttribute(a, ChannelAttribute::Frequency), 0.0f);
}

TEST_F(OfflineDevice, EightBitWavesDecodeAroundTheMiddleAndAPackagedModulePlays) {
    test::TempDir dir;
    const uint8_t pcm8[] = {128, 255, 0, 64};
    std::string wav = "RIFF" + std::string("\x28\0\0\0", 4) + "WAVEfmt " + std::string("\x10\0\0\0\1\0\1\0", 8) +
                      std::string("\x22\x56\0\0\x22\x56\0\0\1\0\x08\0", 12) + "data" + std::string("\4\0\0\0", 4) +
                      std::string(reinterpret_cast<const char*>(pcm8), 4);
    DecodedSound sound;
    std::string error;
    ASSERT_TRUE(DecodeSoundFile(dir.Write("eight.wav", wav), sound, error)) << error;
    EXPECT_EQ(sound.Samples, (std::vector<int16_t>{0, 127 * 256, -32768, -64 * 256}));

    // An Unreal package whose tables lead nowhere still holds its song whole.
    std::string song;
    ASSERT_TRUE(ReadWholeFile((GameDir() / "Music" / "Emberfall.xm").string(), song));
    const std::string package = std::string("\xC1\x83\x2A\x9E\x44\0\0\0", 8) + std::string(120, '\0');
    const AudioHandle music = device_->LoadMusic(dir.Write("Song.umx", package + song), kAudioLoop);
    ASSERT_NE(music, kNoAudio);
    EXPECT_EQ(device_->LoadMusic(dir.Write("Empty.umx", package), kAudioLoop), kNoAudio);
    device_->PlayChannel(music, false);
    EXPECT_GT(MixLevel(*device_, kRate), 50.0);
    device_->SetChannelAttribute(music, ChannelAttribute::Volume, 0.0f);
    MixLevel(*device_, 441); // the mixer's short fade to the new volume
    EXPECT_EQ(MixLevel(*device_, 4410), 0.0);
}

[[noreturn]] void PlayThroughAStall(const std::string& config, const std::string& song) {
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    auto device = CreateOpenAlAudioDevice(AudioOutput::Speakers);
    if (!device->Start(kRate).empty()) {
        std::exit(2);
    }
    const AudioHandle music = device->LoadMusic(song, kAudioLoop);
    device->PlayChannel(music, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    device->Free();
    std::exit(music == kNoAudio ? 3 : 0);
}

// OpenAL Soft's "wave" output writes the mix to a file in real time from its own thread. The
// caller loads a song, plays it and then sleeps for three seconds, as a long level load would:
// the song must be heard all the way through.
TEST(LiveDevice, MusicPlaysOnWhileTheCallerStallsForThreeSeconds) {
    const fs::path song = test::GameDir() / "Music" / "Emberfall.xm";
    if (!fs::exists(song)) {
        GTEST_SKIP() << "the demo content is not built (game/)";
    }
    // Paths the test's own process, run again for the stall, finds too.
    const std::string live = (test::BuildDir() / "tests" / "live-music.wav").string();
    const std::string config = (test::BuildDir() / "tests" / "live-music.conf").string();
    ASSERT_TRUE(WriteWholeFile(config, "[general]\ndrivers=wave\ndither=false\n[wave]\nfile=" + live + "\n"));
    DeleteFile(live);
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: OpenAL reads its settings once
    EXPECT_EXIT(PlayThroughAStall(config, song.string()), ::testing::ExitedWithCode(0), "");
    InvalidateVfsCache(); // the file is the other process's
    DecodedSound mix;
    std::string error;
    ASSERT_TRUE(DecodeSoundFile(live, mix, error)) << error;
    // From the song's first sound to a little before the end, no 50 ms without sound.
    constexpr int64_t kWindow = kRate / 20;
    int64_t first = 0;
    while (first < mix.Frames() && mix.Samples[static_cast<size_t>(first * 2)] == 0) {
        ++first;
    }
    ASSERT_GT(mix.Frames() - first, int64_t{kRate} * 3);
    for (int64_t start = first; start + 2 * kWindow < mix.Frames(); start += kWindow) {
        ASSERT_GT(Level(&mix.Samples[static_cast<size_t>(start * 2)], kWindow), 1.0)
            << "a gap at " << (start - first) * 1000 / kRate << " ms";
    }
}

} // namespace
} // namespace orv
