// The generator's own file writers on small inputs, read back by libopenmpt and libsndfile, loops
// that join without a click, and a second run of the whole generator that writes the same bytes.
#include "AudioSynth.h"
#include "GeneratedTree.h"
#include "XmWriter.h"

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>

namespace orv {
namespace {

XmInstrument SineInstrument(const std::string& name, float frequency) {
    XmInstrument inst;
    inst.Name = name;
    inst.VolumeEnvelope = {{0, 64}, {20, 32}, {40, 0}};
    inst.Fadeout = 256;
    for (int i = 0; i < 4410; ++i) { // a looped half second at the 8363 Hz of middle C
        inst.Sample.Data.push_back(static_cast<int16_t>(12000 * std::sin(2 * 3.14159265 * frequency * i / 8363.0)));
    }
    inst.Sample.LoopLength = 4410;
    return inst;
}

TEST(XmWriter, ModulesReadBackNoteForNote) {
    XmModule m;
    m.Name = "Writer test";
    m.Channels = 4;
    m.Speed = 5;
    m.Tempo = 140;
    m.Instruments = {SineInstrument("Lead", 440), SineInstrument("Bass", 110)};
    for (int p = 0; p < 3; ++p) {
        XmPattern pattern(p == 2 ? 32 : 64, m.Channels);
        pattern.At(0, 0) = {XmNote(4, 0), 1, 0x10 + 48, 0, 0}; // C-4, instrument 1, volume 48
        pattern.At(8, 1) = {XmNote(2, 7), 2, 0, 0x0C, 0x20};   // G-2 with a volume command
        pattern.At(16, 0) = {kXmKeyOff, 0, 0, 0, 0};
        pattern.At(5, 3) = {static_cast<uint8_t>(XmNote(3, 3) + p), 1, 0, 0, 0};
        m.Patterns.push_back(pattern);
    }
    m.Orders = {0, 1, 2, 1, 0};
    const std::vector<uint8_t> bytes = WriteXm(m);
    int error = 0;
    openmpt_module* mod = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr,
                                                             nullptr, &error, nullptr, nullptr);
    ASSERT_NE(mod, nullptr) << "libopenmpt error " << error;
    EXPECT_EQ(openmpt_module_get_num_channels(mod), 4);
    EXPECT_EQ(openmpt_module_get_num_orders(mod), 5);
    EXPECT_EQ(openmpt_module_get_num_patterns(mod), 3);
    EXPECT_EQ(openmpt_module_get_num_instruments(mod), 2);
    // Strings from libopenmpt are the caller's to free.
    auto owned = [](const char* text) {
        std::string copy = text ? text : "";
        openmpt_free_string(text);
        return copy;
    };
    EXPECT_EQ(owned(openmpt_module_get_instrument_name(mod, 1)), "Bass");
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(mod, 2), 32);
    EXPECT_EQ(openmpt_module_get_order_pattern(mod, 3), 1);
    // Notes keep their names and their intervals (the player may number octaves from another base).
    auto name = [&](int p, int r, int c) {
        return owned(openmpt_module_format_pattern_row_channel_command(mod, p, r, c, OPENMPT_MODULE_COMMAND_NOTE));
    };
    auto command = [&](int p, int r, int c, int what) {
        return int(openmpt_module_get_pattern_row_channel_command(mod, p, r, c, what));
    };
    EXPECT_EQ(name(0, 0, 0).substr(0, 2) + name(0, 8, 1).substr(0, 2), "C-G-");
    EXPECT_EQ(command(0, 8, 1, OPENMPT_MODULE_COMMAND_NOTE) - command(0, 0, 0, OPENMPT_MODULE_COMMAND_NOTE),
              XmNote(2, 7) - XmNote(4, 0));
    EXPECT_EQ(command(2, 5, 3, OPENMPT_MODULE_COMMAND_NOTE) - command(0, 5, 3, OPENMPT_MODULE_COMMAND_NOTE), 2);
    EXPECT_EQ(command(0, 8, 1, OPENMPT_MODULE_COMMAND_INSTRUMENT), 2);
    EXPECT_EQ(name(1, 16, 0), "==="); // key off
    std::vector<float> audio(44100); // a second of it plays sound
    const size_t frames = openmpt_module_read_float_mono(mod, 44100, audio.size(), audio.data());
    float peak = 0;
    for (size_t i = 0; i < frames; ++i) {
        peak = std::max(peak, std::fabs(audio[i]));
    }
    EXPECT_GT(peak, 0.05f);
    openmpt_module_destroy(mod);
}

TEST(AudioWriters, WavReadsBackSampleForSampleAndLoopsJoin) {
    Samples s(2205);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = 0.5f * std::sin(float(i) * 0.05f) + (i == 7 ? 0.49f : 0.0f);
    }
    s.back() = -1.0f;
    test::TempDir dir;
    const std::vector<uint8_t> wav = EncodeWav(s);
    const std::string path = dir.Write("t.wav", std::string(wav.begin(), wav.end()));
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(std::pair(info.samplerate, info.channels), std::pair(kSoundRate, 1));
    ASSERT_EQ(info.frames, static_cast<sf_count_t>(s.size()));
    std::vector<float> back(s.size());
    EXPECT_EQ(sf_readf_float(file, back.data(), info.frames), info.frames);
    sf_close(file);
    for (size_t i = 0; i < s.size(); ++i) {
        ASSERT_NEAR(back[i], s[i], 1.0f / 16384) << i; // 16-bit samples, with a bit to spare
    }

    // A looped sound: the jump from its last sample back to its first is no bigger than the
    // sound's ordinary steps, so the loop does not click.
    const Samples loop = MakeLoop(Tone(0.5f, 300.0f, 300.0f), 0.05f);
    ASSERT_FALSE(loop.empty());
    float biggestStep = 0;
    for (size_t i = 1; i < loop.size(); ++i) {
        biggestStep = std::max(biggestStep, std::fabs(loop[i] - loop[i - 1]));
    }
    EXPECT_LE(std::fabs(loop.front() - loop.back()), biggestStep * 1.5f);
}

// The build made the game folder's tree on two threads; a run on one writes every file the same.
TEST(MkContentTree, ARunOnOneThreadWritesTheBuildsTreeByteForByte) {
    test::TempDir out;
    ContentOptions options;
    options.OutDir = out.Path();
    options.SourceDir = test::ContentSourceDir();
    options.Threads = 1;
    ASSERT_EQ(GenerateContent(options), std::vector<std::string>{});
    size_t files = 0, total = 0;
    auto read = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out.Path())) {
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), out.Path());
        if (!entry.is_regular_file() || relative == "Orvane.ini") { // the player may save its settings
            continue;
        }
        const std::string bytes = read(entry.path());
        EXPECT_TRUE(bytes == read(test::GameDir() / relative)) << relative << " differs between runs";
        total += bytes.size();
        ++files;
    }
    EXPECT_GT(files, 0u);
    EXPECT_LT(total, 50u * 1024 * 1024) << "the tree stays small";
}

} // namespace
} // namespace orv
