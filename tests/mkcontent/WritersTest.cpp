// The generator's own writers and previews on small inputs: tracker modules read back by
// libopenmpt, WAV by libsndfile, loops that join without a click, fire and water that keep moving
// as the player animates them, and caustics whose last frame leads back into the first.
#include "AudioSynth.h"
#include "EngineTextures.h"
#include "ProceduralTextures.h"
#include "WorldTextures.h"
#include "XmWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <sndfile.hh>

#include <cmath>

namespace orv {
namespace {

TEST(XmWriter, ModulesReadBackNoteForNote) {
    XmModule m;
    m.Name = "Writer test";
    m.Channels = 4;
    m.Speed = 5;
    m.Tempo = 140;
    for (const auto& [name, frequency] : {std::pair{"Lead", 440.0}, {"Bass", 110.0}}) {
        XmInstrument& inst = m.Instruments.emplace_back();
        inst.Name = name;
        inst.VolumeEnvelope = {{0, 64}, {20, 32}, {40, 0}};
        inst.Fadeout = 256;
        for (int i = 0; i < 4410; ++i) { // a looped half second at the 8363 Hz of middle C
            inst.Sample.Data.push_back(static_cast<int16_t>(12000 * std::sin(2 * 3.14159265 * frequency * i / 8363.0)));
        }
        inst.Sample.LoopLength = 4410;
    }
    for (int p = 0; p < 3; ++p) {
        XmPattern& pattern = m.Patterns.emplace_back(p == 2 ? 32 : 64, m.Channels);
        pattern.At(0, 0) = {XmNote(4, 0), 1, 0x10 + 48, 0, 0}; // C-4, instrument 1, volume 48
        pattern.At(8, 1) = {XmNote(2, 7), 2, 0, 0x0C, 0x20};   // G-2 with a volume command
        pattern.At(16, 0) = {kXmKeyOff, 0, 0, 0, 0};
        pattern.At(5, 3) = {static_cast<uint8_t>(XmNote(3, 3) + p), 1, 0, 0, 0};
    }
    m.Orders = {0, 1, 2, 1, 0};
    const openmpt::module mod(WriteXm(m));
    EXPECT_EQ(std::vector<int>({mod.get_num_channels(), mod.get_num_orders(), mod.get_num_patterns(),
                                mod.get_num_instruments(), mod.get_pattern_num_rows(2), mod.get_order_pattern(3)}),
              std::vector<int>({4, 5, 3, 2, 32, 1}));
    EXPECT_EQ(mod.get_instrument_names()[1], "Bass");
    // Notes keep their names and their intervals (the player may number octaves from another base).
    auto note = [&](int p, int r, int c) {
        return int(mod.get_pattern_row_channel_command(p, r, c, openmpt::module::command_note));
    };
    auto name = [&](int p, int r, int c) {
        return mod.format_pattern_row_channel_command(p, r, c, openmpt::module::command_note);
    };
    EXPECT_EQ(name(0, 0, 0).substr(0, 2) + name(0, 8, 1).substr(0, 2), "C-G-");
    EXPECT_EQ(note(0, 8, 1) - note(0, 0, 0), XmNote(2, 7) - XmNote(4, 0));
    EXPECT_EQ(note(2, 5, 3) - note(0, 5, 3), 2);
    EXPECT_EQ(mod.get_pattern_row_channel_command(0, 8, 1, openmpt::module::command_instrument), 2);
    EXPECT_EQ(name(1, 16, 0), "==="); // key off
}

TEST(AudioWriters, WavReadsBackSampleForSampleAndLoopsJoin) {
    Samples s(2205);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = 0.5f * std::sin(float(i) * 0.05f) + (i == 7 ? 0.49f : 0.0f);
    }
    s.back() = -1.0f;
    test::TempDir dir;
    const std::vector<uint8_t> wav = EncodeWav(s);
    SndfileHandle file(dir.Write("t.wav", std::string(wav.begin(), wav.end())));
    EXPECT_EQ(std::pair(file.samplerate(), file.channels()), std::pair(kSoundRate, 1));
    std::vector<float> back(s.size() + 1);
    ASSERT_EQ(file.readf(back.data(), sf_count_t(back.size())), sf_count_t(s.size()));
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

TEST(ProceduralPreviews, FireAndWaterKeepChangingAndCausticsLoop) {
    for (const NamedFireTexture& fire : FireTextures()) {
        FirePreview preview(fire.File);
        for (int i = 0; i < 240; ++i) { // four seconds at 60 steps a second
            preview.Step();
        }
        const Image before = preview.Picture();
        preview.Step();
        size_t lit = 0, changed = 0;
        for (size_t i = 0; i < before.Pixels.size(); ++i) {
            lit += (before.Pixels[i] & 0xFFFFFF) != fire.File.Palette[0] && (before.Pixels[i] & 0xE0E0E0) != 0;
            changed += before.Pixels[i] != preview.Picture().Pixels[i];
        }
        EXPECT_GT(lit * 100, before.Pixels.size() * 8) << fire.Name << " is almost dark";
        EXPECT_GT(changed * 100, before.Pixels.size() * 2) << fire.Name << " stands still";
    }
    for (const NamedWetTexture& wet : WetTextures()) {
        const std::string& name = wet.File.SourceTexture;
        const Image source = MakeWorldTexture({"Liquid", name.substr(name.rfind('.') + 1), ""});
        ASSERT_EQ(source.Width, wet.File.Width);
        WetPreview preview(wet.File, source);
        for (int i = 0; i < 120; ++i) {
            preview.Step(1.0f / 60.0f);
        }
        const Image before = preview.Picture();
        preview.Step(1.0f / 60.0f);
        EXPECT_NE(before.Pixels, source.Pixels) << wet.Name << " does not refract";
        EXPECT_NE(before.Pixels, preview.Picture().Pixels) << wet.Name << " stands still";
    }
    // The frame after the last is the first again, within a step of rounding.
    const Image wrapped = MakeCausticsFrame(kCausticsFrames, kCausticsFrames, 32);
    const Image first = MakeCausticsFrame(0, kCausticsFrames, 32);
    for (size_t i = 0; i < first.Pixels.size(); ++i) {
        for (const int shift : {0, 8, 16}) {
            const int a = (wrapped.Pixels[i] >> shift) & 255, b = (first.Pixels[i] >> shift) & 255;
            ASSERT_LE(std::abs(a - b), 2) << "the caustics loop jumps at texel " << i;
        }
    }
}

} // namespace
} // namespace orv
