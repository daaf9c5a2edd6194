// The sound bank, all synthesised.
#include "Sounds.h"

#include "ContentTree.h"
#include "core/Text.h"

#include <cmath>
#include <numbers>

namespace orv {
namespace {

constexpr float kTau = 2.0f * std::numbers::pi_v<float>;

Samples Finish(Samples s, float peak = 0.85f) {
    Normalize(s, peak);
    return s;
}

Samples FemaleVoice(float seconds, float p0, float p1, Vowel from, Vowel to, float breath, RandomGenerator& r) {
    VoiceSpec v;
    v.Seconds = seconds;
    v.PitchStart = p0;
    v.PitchEnd = p1;
    v.From = from;
    v.To = to;
    v.Breath = breath;
    v.Attack = 0.015f;
    return Finish(Voice(v, r));
}

Samples Growl(float seconds, float p0, float p1, Vowel vowel, float rough, RandomGenerator& r) {
    VoiceSpec v;
    v.Seconds = seconds;
    v.PitchStart = p0;
    v.PitchEnd = p1;
    v.From = vowel;
    v.To = kVowelU;
    v.Breath = 0.5f;
    v.Rough = rough;
    v.Attack = 0.05f;
    v.Vibrato = 0.06f;
    return Finish(Voice(v, r));
}

Samples Thud(float seconds, float cutoff, RandomGenerator& r) {
    Samples s = Noise(seconds, r);
    Filter(s, Biquad::LowPass(cutoff, 0.9f));
    Mix(s, Tone(seconds, 90, 40), 0.8f);
    DecayEnvelope(s, 0.003f, seconds * 0.5f);
    return Finish(s);
}

Samples Blip(float seconds, float f0, float f1, float harmonics) {
    Samples s = Tone(seconds, f0, f1, harmonics);
    DecayEnvelope(s, 0.004f, seconds);
    return Finish(s, 0.7f);
}

Samples Chime(const std::vector<float>& notes, float step) {
    Samples s;
    for (size_t i = 0; i < notes.size(); ++i) {
        Samples bell = Tone(0.6f, notes[i], notes[i], 0.6f);
        Mix(bell, Tone(0.6f, notes[i] * 2.76f, notes[i] * 2.76f), 0.2f);
        DecayEnvelope(bell, 0.003f, 0.35f);
        Mix(s, bell, 1.0f, step * i);
    }
    return Finish(s, 0.75f);
}

Samples Explosion(float seconds, float cutoff, RandomGenerator& r) {
    Samples s = Noise(seconds, r);
    Samples low = s;
    Filter(low, Biquad::LowPass(cutoff * 0.25f, 0.7f));
    Filter(s, Biquad::LowPass(cutoff, 0.7f));
    Mix(s, low, 2.5f);
    Mix(s, Tone(seconds, 70, 30), 0.6f);
    DecayEnvelope(s, 0.005f, seconds * 0.55f);
    return Finish(s, 0.95f);
}

Samples Zap(float seconds, float f0, float f1, RandomGenerator& r) {
    Samples s = Tone(seconds, f0, f1, 0.8f);
    Samples buzz = Noise(seconds, r);
    Filter(buzz, Biquad::BandPass((f0 + f1) * 0.5f, 2.0f));
    Mix(s, buzz, 0.6f);
    for (size_t i = 0; i < s.size(); ++i) { // a fast warble makes it sound electric
        s[i] *= 0.7f + 0.3f * std::sin(kTau * 60.0f * i / kSoundRate);
    }
    DecayEnvelope(s, 0.003f, seconds * 0.6f);
    return Finish(s);
}

Samples Machinery(float seconds, float hum, float grind, RandomGenerator& r) {
    Samples s = Tone(seconds, hum, hum, 1.0f);
    Samples rattle = Noise(seconds, r);
    Filter(rattle, Biquad::BandPass(grind, 3.0f));
    for (size_t i = 0; i < rattle.size(); ++i) {
        rattle[i] *= 0.6f + 0.4f * std::sin(kTau * 11.0f * i / kSoundRate);
    }
    Mix(s, rattle, 1.2f);
    FadeInOut(s, 0.08f, 0.15f);
    return Finish(s, 0.7f);
}

Samples Clank(float pitch, RandomGenerator& r) {
    Samples s = Thud(0.5f, 400, r);
    Samples ring = Tone(0.5f, pitch, pitch * 0.98f, 0.4f);
    Mix(ring, Tone(0.5f, pitch * 2.3f, pitch * 2.3f), 0.3f);
    DecayEnvelope(ring, 0.002f, 0.25f);
    Mix(s, ring, 0.5f);
    return Finish(s);
}

Samples FilteredLoop(float seconds, float cutoff, float wobble, float wobbleRate, RandomGenerator& r) {
    Samples s = Noise(seconds + 1.0f, r);
    Biquad low = Biquad::LowPass(cutoff, 0.8f);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = low.Process(s[i]) * (1.0f - wobble + wobble * std::sin(kTau * wobbleRate * i / kSoundRate));
    }
    return Finish(MakeLoop(s, 1.0f), 0.6f);
}

Samples Bubbles(float seconds, int count, float low, float high, RandomGenerator& r) {
    Samples s(static_cast<size_t>(seconds * kSoundRate), 0.0f);
    for (int i = 0; i < count; ++i) {
        const float f = low + (high - low) * r.Float();
        Samples bubble = Tone(0.06f, f, f * 1.8f);
        DecayEnvelope(bubble, 0.002f, 0.04f);
        Mix(s, bubble, 0.3f + 0.5f * r.Float(), r.Float() * (seconds - 0.1f));
    }
    return s;
}

Samples Drip(float pitch, RandomGenerator& r) {
    Samples s = Tone(0.25f, pitch, pitch * 2.2f);
    DecayEnvelope(s, 0.001f, 0.08f);
    Samples echo = s;
    Filter(echo, Biquad::LowPass(1500, 0.7f));
    Mix(s, echo, 0.35f, 0.09f);
    Mix(s, Noise(0.01f, r), 0.2f);
    return Finish(s, 0.6f);
}

Samples Crackle(float seconds, RandomGenerator& r) {
    Samples s = FilteredLoop(seconds, 700, 0.3f, 0.5f, r);
    for (int i = 0; i < static_cast<int>(seconds * 25); ++i) {
        Samples pop = Noise(0.01f + 0.02f * r.Float(), r);
        DecayEnvelope(pop, 0.0005f, 0.008f);
        Mix(s, pop, 0.4f * r.Float(), r.Float() * (seconds - 1.1f));
    }
    return Finish(s, 0.6f);
}

Samples Hum(float seconds) {
    // A whole number of cycles of 55 Hz, so the loop joins seamlessly.
    const float period = std::round(seconds * 55.0f) / 55.0f;
    Samples s = Tone(period, 55, 55, 1.0f);
    Mix(s, Tone(period, 110, 110), 0.3f);
    Mix(s, Tone(period, 165, 165), 0.15f);
    return Finish(s, 0.5f);
}

Samples Chirps(int count, float base, RandomGenerator& r) {
    Samples s;
    for (int i = 0; i < count; ++i) {
        const float f = base * (1.0f + 0.2f * r.Float());
        Samples chirp = Tone(0.08f, f, f * 1.5f);
        DecayEnvelope(chirp, 0.005f, 0.06f);
        Mix(s, chirp, 1.0f, i * 0.11f);
    }
    return Finish(s, 0.7f);
}

using R = RandomGenerator;

} // namespace

const std::vector<SoundInfo>& SoundList() {
    static const std::vector<SoundInfo> list = {
        // Menus.
        {"UnrealShare.Menu.Select4", false, [](R&) { return Blip(0.14f, 660, 990, 0.4f); }},
        {"UnrealShare.Menu.Updown3", false, [](R&) { return Blip(0.05f, 1400, 1300, 0.2f); }},
        // The player's voice.
        {"UnrealShare.Female.jump1fem", false, [](R& r) { return FemaleVoice(0.18f, 330, 390, kVowelU, kVowelA, 0.15f, r); }},
        {"UnrealShare.Female.linjur1fem", false, [](R& r) { return FemaleVoice(0.25f, 360, 290, kVowelU, kVowelU, 0.2f, r); }},
        {"UnrealShare.Female.linjur2fem", false, [](R& r) { return FemaleVoice(0.3f, 390, 310, kVowelA, kVowelO, 0.2f, r); }},
        {"UnrealShare.Female.linjur3fem", false, [](R& r) { return FemaleVoice(0.28f, 410, 330, kVowelE, kVowelA, 0.2f, r); }},
        {"UnrealShare.Female.hinjur4fem", false, [](R& r) { return FemaleVoice(0.5f, 470, 340, kVowelA, kVowelA, 0.35f, r); }},
        {"UnrealShare.Female.death1dfem", false, [](R& r) { return FemaleVoice(1.1f, 520, 200, kVowelA, kVowelO, 0.3f, r); }},
        {"UnrealShare.Female.death4cfem", false, [](R& r) { return FemaleVoice(0.9f, 300, 170, kVowelO, kVowelU, 0.35f, r); }},
        {"UnrealShare.Female.lland1fem", false, [](R& r) {
             Samples s = Thud(0.3f, 300, r);
             Mix(s, FemaleVoice(0.22f, 300, 260, kVowelU, kVowelO, 0.3f, r), 0.7f, 0.02f);
             return Finish(s);
         }},
        {"UnrealShare.Female.Land1", false, [](R& r) { return Thud(0.22f, 250, r); }},
        // Pickups and the translator.
        {"UnrealShare.Pickups.Health2", false, [](R&) { return Chime({523.25f, 659.25f, 783.99f, 1046.5f}, 0.07f); }},
        {"UnrealShare.Pickups.TransA3", false, [](R&) {
             Samples s = Blip(0.1f, 1000, 1000, 0.3f);
             Mix(s, Blip(0.12f, 1500, 1500, 0.3f), 1.0f, 0.13f);
             return Finish(s, 0.7f);
         }},
        // Shots and explosions.
        {"UnrealShare.Dispersion.DispShot", false, [](R& r) { return Zap(0.35f, 1500, 250, r); }},
        {"UnrealShare.General.Explo1", false, [](R& r) { return Explosion(1.6f, 2400, r); }},
        {"UnrealShare.General.DispEX1", false, [](R& r) {
             Samples s = Zap(0.45f, 400, 1200, r);
             Mix(s, Explosion(0.4f, 4000, r), 0.5f);
             return Finish(s);
         }},
        // Monster voices.
        {"UnrealShare.Brute.BruteAcquire", false, [](R& r) { return Growl(1.0f, 85, 70, kVowelA, 0.6f, r); }},
        {"UnrealShare.Brute.BruteHit", false, [](R& r) { return Growl(0.3f, 110, 80, kVowelO, 0.5f, r); }},
        {"UnrealShare.Brute.BruteDie", false, [](R& r) { return Growl(1.4f, 100, 45, kVowelA, 0.7f, r); }},
        {"UnrealShare.Skaarj.SkaarjAcquire", false, [](R& r) { return Growl(0.8f, 220, 160, kVowelE, 0.4f, r); }},
        {"UnrealShare.Skaarj.SkaarjHit", false, [](R& r) { return Growl(0.25f, 240, 190, kVowelA, 0.4f, r); }},
        {"UnrealShare.Skaarj.SkaarjDie", false, [](R& r) { return Growl(1.1f, 260, 90, kVowelA, 0.5f, r); }},
        {"UnrealShare.Manta.MantaAcquire", false, [](R& r) { return Zap(0.6f, 2200, 3400, r); }},
        {"UnrealShare.Manta.MantaHit", false, [](R& r) { return Zap(0.2f, 2600, 1800, r); }},
        {"UnrealShare.Manta.MantaDie", false, [](R& r) { return Zap(0.9f, 3000, 600, r); }},
        {"UnrealShare.Tentacle.TentacleAcquire", false, [](R& r) {
             Samples s = Growl(0.7f, 60, 75, kVowelU, 0.9f, r);
             Mix(s, Bubbles(0.7f, 10, 200, 500, r), 0.6f);
             return Finish(s);
         }},
        {"UnrealShare.Tentacle.TentacleHit", false, [](R& r) { return Growl(0.25f, 90, 60, kVowelO, 0.9f, r); }},
        {"UnrealShare.Tentacle.TentacleDie", false, [](R& r) {
             Samples s = Growl(1.0f, 80, 40, kVowelU, 0.9f, r);
             Mix(s, Bubbles(1.0f, 20, 150, 400, r), 0.5f);
             return Finish(s);
         }},
        {"UnrealShare.DevilFish.FishAcquire", false, [](R& r) { return Finish(Bubbles(0.6f, 14, 300, 900, r)); }},
        {"UnrealShare.DevilFish.FishHit", false, [](R& r) { return Finish(Bubbles(0.25f, 6, 400, 1000, r)); }},
        {"UnrealShare.DevilFish.FishDie", false, [](R& r) { return Finish(Bubbles(1.0f, 24, 200, 700, r)); }},
        {"UnrealShare.Bird.BirdCall", false, [](R& r) { return Chirps(4, 2600, r); }},
        // Doors, lifts and switches.
        {"Orvane.Doors.DoorOpen", false, [](R& r) { return Machinery(1.0f, 60, 700, r); }},
        {"Orvane.Doors.DoorClose", false, [](R& r) { return Machinery(1.0f, 52, 600, r); }},
        {"Orvane.Doors.DoorOpened", false, [](R& r) { return Clank(180, r); }},
        {"Orvane.Doors.DoorClosed", false, [](R& r) { return Clank(140, r); }},
        {"Orvane.Doors.LiftStart", false, [](R& r) { return Machinery(1.5f, 45, 350, r); }},
        {"Orvane.Doors.LiftStop", false, [](R& r) { return Clank(110, r); }},
        {"Orvane.Doors.Switch", false, [](R&) { return Blip(0.06f, 2000, 1800, 0.8f); }},
        // Events.
        {"Orvane.Events.Alarm", false, [](R&) {
             Samples s;
             for (int i = 0; i < 4; ++i) {
                 Mix(s, Tone(0.3f, 700, 950, 0.5f), 0.8f, i * 0.35f);
             }
             FadeInOut(s, 0.01f, 0.05f);
             return Finish(s, 0.7f);
         }},
        {"Orvane.Events.Chime", false, [](R&) { return Chime({392.0f, 523.25f, 659.25f}, 0.18f); }},
        {"Orvane.Events.Rumble", false, [](R& r) { return Explosion(3.0f, 300, r); }},
        // Ambient loops and one-shots.
        {"Orvane.Ambient.Wind", true, [](R& r) { return FilteredLoop(6.0f, 500, 0.5f, 0.25f, r); }},
        {"Orvane.Ambient.Water", true, [](R& r) {
             Samples s = FilteredLoop(5.0f, 1800, 0.2f, 1.0f, r);
             Mix(s, Bubbles(4.0f, 30, 300, 1200, r), 0.3f);
             return Finish(s, 0.6f);
         }},
        {"Orvane.Ambient.Cave", true, [](R& r) {
             Samples s = FilteredLoop(8.0f, 200, 0.4f, 0.125f, r);
             Mix(s, Hum(7.0f), 0.2f);
             return Finish(s, 0.55f);
         }},
        {"Orvane.Ambient.Fire", false, [](R& r) { return Crackle(3.0f, r); }},
        {"Orvane.Ambient.Hum", false, [](R&) { return Hum(2.0f); }},
        {"Orvane.Ambient.Drip1", false, [](R& r) { return Drip(900, r); }},
        {"Orvane.Ambient.Drip2", false, [](R& r) { return Drip(1300, r); }},
        // The engine's own underwater loop.
        {"Zelkor.underwater", true, [](R& r) {
             Samples s = FilteredLoop(6.0f, 300, 0.3f, 0.33f, r);
             Mix(s, Bubbles(4.5f, 16, 150, 500, r), 0.4f);
             return Finish(s, 0.6f);
         }},
    };
    return list;
}

std::string SoundPath(const SoundInfo& sound) {
    const std::vector<std::string_view> parts = SplitText(sound.Name, '.');
    std::string path = "Sounds\\" + std::string(parts[0]) + "\\Sounds\\";
    for (size_t i = 1; i < parts.size(); ++i) {
        path += std::string(parts[i]) + (i + 1 < parts.size() ? "\\" : "");
    }
    return path + (sound.Ogg ? ".ogg" : ".wav");
}

void AddSoundJobs(std::vector<ContentJob>& jobs) {
    // Two jobs so the Ogg encoding runs beside the rest.
    for (const bool ogg : {true, false}) {
        jobs.push_back({ogg ? "Ogg sounds" : "WAV sounds", kPartSounds, [ogg](GeneratorContext& c) {
                            for (const SoundInfo& sound : SoundList()) {
                                if (sound.Ogg != ogg) {
                                    continue;
                                }
                                RandomGenerator random = SeededRandom(sound.Name);
                                const Samples samples = sound.Make(random);
                                std::vector<uint8_t> bytes;
                                std::string error;
                                if (!ogg) {
                                    bytes = EncodeWav(samples);
                                } else if (!EncodeOgg(samples, bytes, error)) {
                                    c.Out.Fail(sound.Name + ": " + error);
                                    continue;
                                }
                                c.Out.WriteBytes(SoundPath(sound), bytes);
                            }
                        }});
    }
}

} // namespace orv
