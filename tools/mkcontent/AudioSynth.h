// Sound synthesis for the demo content: oscillators, envelopes, filters, a formant voice and
// a noisy growl, and the two file writers (16-bit PCM WAV, and Ogg Vorbis through libvorbisenc).
#pragma once

#include "GenCommon.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

constexpr int kSoundRate = 22050;

// Mono samples in -1..1 at kSoundRate.
using Samples = std::vector<float>;

// Two-pole resonant band-pass / low-pass filters (the usual biquads).
class Biquad {
public:
    static Biquad BandPass(float frequency, float q);
    static Biquad LowPass(float frequency, float q);
    static Biquad HighPass(float frequency, float q);
    float Process(float x);
    // Takes another filter's coefficients and keeps this one's state, so a glide does not click.
    void Retune(const Biquad& coefficients);

private:
    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Vowel formants (three centre frequencies) for the voice.
struct Vowel {
    float F1, F2, F3;
};
constexpr Vowel kVowelA{800, 1200, 2800};
constexpr Vowel kVowelE{500, 1800, 2600};
constexpr Vowel kVowelU{380, 800, 2500};
constexpr Vowel kVowelO{500, 900, 2600};

struct VoiceSpec {
    float Seconds = 0.3f;
    float PitchStart = 300, PitchEnd = 250; // the glottal pitch glides between these
    Vowel From = kVowelA, To = kVowelA;
    float Breath = 0.1f;   // noise mixed into the source
    float Rough = 0.0f;    // amplitude wobble of a growl
    float Attack = 0.02f;  // seconds
    float Vibrato = 0.02f; // depth as a fraction of the pitch
};

Samples Voice(const VoiceSpec& spec, RandomGenerator& random);
Samples Noise(float seconds, RandomGenerator& random);
Samples Tone(float seconds, float freqStart, float freqEnd, float harmonics = 0.0f);

// Envelopes and mixing, in place.
void DecayEnvelope(Samples& s, float attackSeconds, float decaySeconds);
void FadeInOut(Samples& s, float inSeconds, float outSeconds);
void Filter(Samples& s, Biquad filter);
void Mix(Samples& into, const Samples& add, float gain, float atSeconds = 0.0f);
// Scales so the peak is `peak` (no clipping).
void Normalize(Samples& s, float peak);
// Makes a sound loop without a click: the end is cross-faded into the start.
Samples MakeLoop(const Samples& s, float crossSeconds);

std::vector<uint8_t> EncodeWav(const Samples& s);
// Ogg Vorbis with a fixed stream serial number, so the bytes are the same on every run.
bool EncodeOgg(const Samples& s, std::vector<uint8_t>& out, std::string& error);

} // namespace orv
