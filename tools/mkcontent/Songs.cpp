// Instruments and arrangements of the demo songs.
#include "Songs.h"

#include "AudioSynth.h"
#include "ContentTree.h"

#include <cmath>
#include <numbers>

namespace orv {
namespace {

constexpr float kTau = 2.0f * std::numbers::pi_v<float>;
// Samples are made at twice the XM base rate and tagged an octave up, so C-4 plays them as made.
constexpr float kRate = 16726.0f;
constexpr int kCycle = 64; // samples per cycle of the looped waves: C-4 at this rate

XmSample ToSample(const Samples& s, uint32_t loopStart, uint32_t loopLength) {
    XmSample out;
    out.RelativeNote = 12;
    for (const float v : s) {
        out.Data.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 30000.0f)));
    }
    out.LoopStart = loopStart;
    out.LoopLength = loopLength;
    return out;
}

// A looped wave of whole cycles whose harmonics swell and fade over the loop (a slow chorus
// that still joins seamlessly).
XmInstrument LoopedWave(const std::string& name, const std::vector<float>& harmonics, float motion,
                        std::vector<std::pair<uint16_t, uint16_t>> envelope, uint16_t fadeout) {
    constexpr int kCycles = 64;
    Samples s(kCycle * kCycles);
    for (size_t i = 0; i < s.size(); ++i) {
        float v = 0.0f;
        for (size_t h = 0; h < harmonics.size(); ++h) {
            const float swell = 1.0f + motion * std::sin(kTau * (h + 1) * i / s.size());
            v += harmonics[h] * swell * std::sin(kTau * (h + 1) * i / kCycle);
        }
        s[i] = v;
    }
    Normalize(s, 0.8f);
    XmInstrument instrument;
    instrument.Name = name;
    instrument.Sample = ToSample(s, 0, static_cast<uint32_t>(s.size()));
    instrument.VolumeEnvelope = std::move(envelope);
    instrument.SustainPoint = instrument.VolumeEnvelope.size() > 2 ? 2 : -1;
    instrument.Fadeout = fadeout;
    return instrument;
}

XmInstrument OneShot(const std::string& name, Samples s) {
    Normalize(s, 0.9f);
    XmInstrument instrument;
    instrument.Name = name;
    instrument.Sample = ToSample(s, 0, 0);
    return instrument;
}

Samples Drum(float seconds, float f0, float f1, float noise, float cutoff, uint64_t seed) {
    RandomGenerator random;
    random.Seed(seed);
    Samples s(static_cast<size_t>(seconds * kRate));
    float phase = 0.0f;
    Biquad filter = Biquad::HighPass(cutoff, 0.7f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / s.size();
        phase += (f0 + (f1 - f0) * std::sqrt(t)) / kRate;
        const float body = std::sin(kTau * phase) * (1.0f - noise);
        const float hiss = filter.Process(random.Float() * 2.0f - 1.0f) * noise;
        s[i] = (body + hiss) * std::exp(-5.0f * t);
    }
    return s;
}

std::vector<XmInstrument> Instruments(bool watery) {
    return {
        LoopedWave("pad", watery ? std::vector<float>{1, 0.2f, 0.5f, 0.1f, 0.25f} : std::vector<float>{1, 0.5f, 0.33f, 0.25f, 0.2f, 0.16f},
                   0.6f, {{0, 0}, {24, 48}, {40, 44}, {90, 0}}, 400),
        LoopedWave("bass", {1, 0.6f, 0.3f, 0.15f}, 0.1f, {{0, 64}, {6, 48}, {20, 40}, {60, 0}}, 900),
        LoopedWave("bell", {1, 0, 0.4f, 0, 0.3f, 0, 0, 0.2f}, 0.2f, {{0, 64}, {4, 40}, {30, 12}, {70, 0}}, 1200),
        OneShot("kick", Drum(0.35f, 150, 45, 0.05f, 4000, 1)),
        OneShot("snare", Drum(0.22f, 220, 180, 0.7f, 1500, 2)),
        OneShot("hat", Drum(0.06f, 3000, 3000, 0.95f, 7000, 3)),
    };
}

enum Instrument : uint8_t { kPad = 1, kBass = 2, kBell = 3, kKick = 4, kSnare = 5, kHat = 6 };

struct Chord {
    int Root;            // semitone of the root, 0 = C
    bool Minor;
};

void Put(XmPattern& p, int row, int channel, uint8_t note, uint8_t instrument, int volume) {
    XmCell& c = p.At(row, channel);
    c.Note = note;
    c.Instrument = instrument;
    c.Volume = static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64));
}

// One 64-row pattern over four chords. layers: 1 pad, 2 bass, 4 drums, 8 arpeggio, 16 melody.
XmPattern Arrange(const std::vector<Chord>& chords, unsigned layers, uint64_t seed, bool halfTimeDrums) {
    XmPattern p(64, 8);
    RandomGenerator random;
    random.Seed(seed);
    for (int bar = 0; bar < 4; ++bar) {
        const Chord& c = chords[bar % chords.size()];
        const int third = c.Minor ? 3 : 4;
        const int tones[3] = {c.Root, c.Root + third, c.Root + 7};
        const int start = bar * 16;
        if (layers & 1) {
            for (int v = 0; v < 3; ++v) {
                Put(p, start, 1 + v, XmNote(4, tones[v]), kPad, 30);
            }
        }
        if (layers & 2) {
            for (int step = 0; step < 16; step += 4) {
                const int note = step == 8 ? tones[2] - 12 : tones[0];
                Put(p, start + step, 0, XmNote(2, note), kBass, step == 0 ? 56 : 44);
            }
        }
        if (layers & 4) {
            for (int step = 0; step < 16; step += 2) {
                if (step % 8 == 0 || (!halfTimeDrums && step == 10)) {
                    Put(p, start + step, 5, XmNote(4, 0), kKick, 60);
                }
                if (step % 8 == 4 && (!halfTimeDrums || step == 12)) {
                    Put(p, start + step, 6, XmNote(4, 0), kSnare, 48);
                }
                if (!(layers & 8)) {
                    Put(p, start + step, 7, XmNote(4, 0), kHat, step % 4 == 0 ? 30 : 18);
                }
            }
        }
        if (layers & 8) {
            for (int step = 0; step < 16; step += 2) {
                Put(p, start + step, 7, XmNote(5, tones[(step / 2) % 3] + (step >= 8 ? 12 : 0)), kBell, 22);
            }
        }
        if (layers & 16) {
            for (int step = 0; step < 16; step += 4) {
                if (random.Float() < 0.2f) {
                    continue; // rests keep the line singing rather than running
                }
                const int tone = tones[random.Next32() % 3] + (random.Float() < 0.3f ? 2 : 0);
                Put(p, start + step, 4, XmNote(5, tone), kBell, 48);
            }
        }
    }
    return p;
}

XmModule Emberfall() {
    XmModule m;
    m.Name = "Emberfall";
    m.Speed = 6;
    m.Tempo = 125;
    m.Instruments = Instruments(false);
    const std::vector<Chord> verse = {{9, true}, {5, false}, {0, false}, {7, false}};
    const std::vector<Chord> turn = {{9, true}, {5, false}, {7, false}, {4, false}};
    m.Patterns = {Arrange(verse, 1, 11, false),           Arrange(verse, 1 | 2, 12, false),
                  Arrange(verse, 1 | 2 | 4, 13, false),    Arrange(turn, 1 | 2 | 4 | 16, 14, false),
                  Arrange(turn, 2 | 4 | 8, 15, true)};
    m.Orders = {0, 1, 2, 3, 2, 3, 4, 1, 2, 3};
    m.RestartPosition = 1;
    return m;
}

XmModule Undertow() {
    XmModule m;
    m.Name = "Undertow";
    m.Speed = 7;
    m.Tempo = 110;
    m.Instruments = Instruments(true);
    const std::vector<Chord> drift = {{2, true}, {10, false}, {5, false}, {0, false}};
    const std::vector<Chord> deep = {{2, true}, {7, true}, {10, false}, {9, false}};
    m.Patterns = {Arrange(drift, 1, 21, true), Arrange(drift, 1 | 8, 22, true), Arrange(deep, 1 | 2 | 8, 23, true),
                  Arrange(deep, 1 | 2 | 4 | 16, 24, true), Arrange(drift, 2 | 16, 25, true)};
    m.Orders = {0, 1, 2, 3, 1, 2, 3, 4};
    m.RestartPosition = 1;
    return m;
}

} // namespace

std::vector<SongInfo> DemoSongs() { return {{"Emberfall", Emberfall()}, {"Undertow", Undertow()}}; }

void AddMusicJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"music", kPartMusic, [](GeneratorContext& c) {
                        for (const SongInfo& song : DemoSongs()) {
                            c.Out.WriteBytes("Music\\" + song.Name + ".xm", WriteXm(song.Module));
                        }
                    }});
}

} // namespace orv
