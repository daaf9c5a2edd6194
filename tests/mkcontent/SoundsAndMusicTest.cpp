// Every sound the player names resolves and decodes in libsndfile, the songs play for over half a
// minute in libopenmpt, and the configuration names every key the player reads.
#include "GeneratedTree.h"
#include "Songs.h"
#include "Sounds.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/Text.h"

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <cmath>

namespace orv {
namespace {

using MkContentSounds = test::GameTree;

// The sounds the engine itself plays by name.
const char* const kEngineSounds[] = {
    "UnrealShare.Menu.Select4",      "UnrealShare.Menu.Updown3",        "UnrealShare.Female.death1dfem",
    "UnrealShare.Female.death4cfem", "UnrealShare.Female.jump1fem",     "UnrealShare.Female.linjur1fem",
    "UnrealShare.Female.linjur2fem", "UnrealShare.Female.linjur3fem",   "UnrealShare.Female.hinjur4fem",
    "UnrealShare.Female.lland1fem",  "UnrealShare.Female.Land1",        "UnrealShare.Pickups.TransA3",
    "UnrealShare.Pickups.Health2",   "UnrealShare.Dispersion.DispShot", "UnrealShare.General.Explo1",
    "UnrealShare.General.DispEX1"};

// The frame count and peak level of a whole file decoded with libsndfile, as the player decodes it.
std::pair<sf_count_t, float> Decode(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return {-1, 0.0f};
    }
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t frames = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    float peak = 0.0f;
    for (const float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    return {frames, peak};
}

TEST_F(MkContentSounds, EveryNamedSoundResolvesAndDecodes) {
    Resources res;
    for (const char* name : kEngineSounds) {
        EXPECT_FALSE(ResolveSoundPath(res, std::string("Sound'") + name + "'", "").empty()) << name;
    }
    for (const SoundInfo& sound : SoundList()) {
        const std::string path = ResolveSoundPath(res, sound.Name, "");
        ASSERT_FALSE(path.empty()) << sound.Name;
        EXPECT_EQ(EndsWithText(path, ".ogg"), sound.Ogg) << path;
        const auto [frames, peak] = Decode(ResolvePath(path).value_or(path));
        EXPECT_GT(frames, kSoundRate / 40) << path << " is shorter than 25 ms";
        EXPECT_TRUE(peak > 0.2f && peak <= 1.0f) << path << " peaks at " << peak;
    }
    EXPECT_TRUE(FileExists("Sounds\\Zelkor\\Sounds\\underwater.ogg"));
}

TEST_F(MkContentSounds, SongsPlayForOverHalfAMinuteWithoutClipping) {
    for (const SongInfo& song : DemoSongs()) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes("Music\\" + song.Name + ".xm", bytes)) << song.Name;
        std::vector<std::string> warnings;
        auto logger = [](const char* line, void* user) { static_cast<decltype(warnings)*>(user)->push_back(line); };
        openmpt_module* module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), logger, &warnings,
                                                                    nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(module) << song.Name;
        EXPECT_GT(openmpt_module_get_duration_seconds(module), 30.0) << song.Name;
        EXPECT_EQ(openmpt_module_get_num_channels(module), song.Module.Channels);
        EXPECT_EQ(openmpt_module_get_num_orders(module), static_cast<int>(song.Module.Orders.size()));
        // The first ten seconds: there is music, and it does not clip.
        constexpr int kRate = 44100;
        std::vector<float> buffer(kRate * 2);
        double energy = 0.0;
        float peak = 0.0f;
        for (int second = 0; second < 10; ++second) {
            const size_t frames = openmpt_module_read_interleaved_float_stereo(module, kRate, kRate, buffer.data());
            for (size_t i = 0; i < frames * 2; ++i) {
                energy += buffer[i] * buffer[i];
                peak = std::max(peak, std::fabs(buffer[i]));
            }
        }
        EXPECT_GT(std::sqrt(energy / (10.0 * kRate * 2)), 0.02) << song.Name << " is silent";
        EXPECT_LT(peak, 1.0f) << song.Name << " clips";
        openmpt_module_destroy(module);
        for (const std::string& w : warnings) {
            EXPECT_EQ(w.find("rror"), std::string::npos) << song.Name << ": " << w;
        }
    }
}

TEST(MkContentTree, ConfigurationNamesEveryKeyThePlayerReads) {
    ConfigTable config;
    ConfigLoad(config, (test::ContentSourceDir() / "Orvane.ini").string());
    for (const char* key : {"ScreenWidth", "ScreenHeight", "RefreshRate", "ScreenMode", "FOV", "Gamma",
                            "RestoreCustomGamma", "MouseSensitivity", "GodMode", "ProceduralTextures", "DynamicLights",
                            "SoundVolume", "MusicVolume", "InitialLevel", "LightmapAtlasSize", "TraceMeshColor",
                            "TexInterpolation"}) {
        EXPECT_NE(ConfigFind(config, key), nullptr) << key;
    }
    EXPECT_EQ(ConfigGet(config, "InitialLevel"), "Demo1");
    EXPECT_EQ(ConfigGet(config, "ScreenWidth") + "x" + ConfigGet(config, "ScreenHeight"), "1280x720");
}

} // namespace
} // namespace orv
