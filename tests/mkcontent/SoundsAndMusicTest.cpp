// Every sound the player names resolves and decodes, the songs play for over half a minute in
// libopenmpt, and two runs of the generator write the same bytes.
#include "GeneratedTree.h"
#include "Songs.h"
#include "Sounds.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <map>

namespace orv {
namespace {

// The sounds the engine itself plays by name.
const char* const kEngineSounds[] = {
    "UnrealShare.Menu.Select4",         "UnrealShare.Menu.Updown3",         "UnrealShare.Female.death1dfem",
    "UnrealShare.Female.death4cfem",    "UnrealShare.Female.jump1fem",      "UnrealShare.Female.linjur1fem",
    "UnrealShare.Female.linjur2fem",    "UnrealShare.Female.linjur3fem",    "UnrealShare.Female.hinjur4fem",
    "UnrealShare.Female.lland1fem",     "UnrealShare.Female.Land1",         "UnrealShare.Pickups.TransA3",
    "UnrealShare.Pickups.Health2",      "UnrealShare.Dispersion.DispShot",  "UnrealShare.General.Explo1",
    "UnrealShare.General.DispEX1"};

// Decodes a whole file with libsndfile, as the player does; returns the peak level.
float DecodePeak(const std::string& path, sf_count_t& frames) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return -1.0f;
    }
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    frames = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    float peak = 0.0f;
    for (const float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

TEST(MkContentSounds, EveryNamedSoundResolvesAndDecodes) {
    test::GeneratedTree tree(kPartSounds);
    ASSERT_TRUE(tree.Errors().empty()) << tree.Errors().front();
    test::InDirectory(tree.Path(), [] {
        Resources res;
        for (const char* name : kEngineSounds) {
            EXPECT_FALSE(ResolveSoundPath(res, name, "").empty()) << name;
            EXPECT_FALSE(ResolveSoundPath(res, std::string("Sound'") + name + "'", "").empty()) << name;
        }
        for (const SoundInfo& sound : SoundList()) {
            const std::string path = ResolveSoundPath(res, sound.Name, "");
            ASSERT_FALSE(path.empty()) << sound.Name;
            EXPECT_EQ(EndsWithText(path, ".ogg"), sound.Ogg) << path;
            sf_count_t frames = 0;
            const float peak = DecodePeak(ResolvePath(path).value_or(path), frames);
            EXPECT_GT(frames, kSoundRate / 40) << path;
            EXPECT_GT(peak, 0.2f) << path << " is nearly silent";
            EXPECT_LE(peak, 1.0f) << path;
        }
    });
    EXPECT_TRUE(std::filesystem::exists(tree.Path() / "Sounds/Zelkor/Sounds/underwater.ogg"));
}

TEST(MkContentMusic, SongsOpenInLibopenmptAndLastOverHalfAMinute) {
    test::GeneratedTree tree(kPartMusic);
    ASSERT_TRUE(tree.Errors().empty());
    for (const SongInfo& song : DemoSongs()) {
        std::ifstream in(tree.Path() / "Music" / (song.Name + ".xm"), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> warnings;
        auto logger = [](const char* message, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(message); };
        openmpt_module* module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), logger, &warnings, nullptr,
                                                                    nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(module) << song.Name;
        EXPECT_GT(openmpt_module_get_duration_seconds(module), 30.0) << song.Name;
        EXPECT_EQ(openmpt_module_get_num_channels(module), song.Module.Channels);
        EXPECT_EQ(openmpt_module_get_num_orders(module), static_cast<int>(song.Module.Orders.size()));
        EXPECT_EQ(openmpt_module_get_num_instruments(module), static_cast<int>(song.Module.Instruments.size()));
        // Render the first ten seconds: there is music, and it does not clip.
        std::vector<float> buffer(44100 * 2);
        double energy = 0.0;
        float peak = 0.0f;
        for (int block = 0; block < 10; ++block) {
            const size_t frames = openmpt_module_read_interleaved_float_stereo(module, 44100, 44100, buffer.data());
            for (size_t i = 0; i < frames * 2; ++i) {
                energy += buffer[i] * buffer[i];
                peak = std::max(peak, std::fabs(buffer[i]));
            }
        }
        EXPECT_GT(std::sqrt(energy / (441000.0 * 2)), 0.02) << song.Name << " is silent";
        EXPECT_LT(peak, 1.0f) << song.Name << " clips";
        openmpt_module_destroy(module);
        for (const std::string& w : warnings) {
            EXPECT_EQ(w.find("rror"), std::string::npos) << song.Name << ": " << w;
        }
    }
}

// Every file's bytes by path.
std::map<std::string, std::string> ReadTree(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[std::filesystem::relative(entry.path(), root).generic_string()].assign(
                std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return files;
}

TEST(MkContentTree, TwoRunsOnDifferentThreadCountsWriteIdenticalTrees) {
    test::GeneratedTree first(kPartAll, 2);
    test::GeneratedTree second(kPartAll, 1);
    ASSERT_TRUE(first.Errors().empty() && second.Errors().empty());
    const auto a = ReadTree(first.Path());
    const auto b = ReadTree(second.Path());
    ASSERT_EQ(a.size(), b.size());
    size_t total = 0;
    for (const auto& [path, bytes] : a) {
        ASSERT_TRUE(b.count(path)) << path;
        EXPECT_TRUE(bytes == b.at(path)) << path << " differs between runs";
        total += bytes.size();
    }
    EXPECT_LT(total, 50u * 1024 * 1024);
    for (const char* required : {"Orvane.ini", "System/Engine/Classes/Actor.uc", "Textures/Zelkor/Textures/Missing.png",
                                 "Textures/Zelkor/Textures/K_LargeFont.font", "Music/Emberfall.xm"}) {
        EXPECT_TRUE(a.count(required)) << required;
    }
    EXPECT_TRUE(std::filesystem::is_directory(first.Path() / "Maps"));
}

TEST(MkContentTree, ConfigurationNamesEveryKeyThePlayerReads) {
    std::ifstream in(test::ContentSourceDir() / "Orvane.ini");
    std::map<std::string, std::string> keys;
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (!line.empty() && line[0] != ';' && eq != std::string::npos) {
            keys[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    for (const char* key : {"ScreenWidth", "ScreenHeight", "RefreshRate", "ScreenMode", "FOV", "Gamma", "RestoreCustomGamma",
                            "MouseSensitivity", "GodMode", "ProceduralTextures", "DynamicLights", "SoundVolume", "MusicVolume",
                            "InitialLevel", "LightmapAtlasSize", "TraceMeshColor", "TexInterpolation"}) {
        EXPECT_TRUE(keys.count(key)) << key;
    }
    EXPECT_EQ(keys["InitialLevel"], "Demo1");
    EXPECT_EQ(keys["ScreenWidth"] + "x" + keys["ScreenHeight"], "1280x720");
}

} // namespace
} // namespace orv
