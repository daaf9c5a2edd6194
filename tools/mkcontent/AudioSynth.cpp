// Synthesis primitives and the WAV and Ogg writers.
#include "AudioSynth.h"

#include "core/BinaryWriter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <vorbis/vorbisenc.h>

namespace orv {
namespace {

constexpr float kTau = 2.0f * std::numbers::pi_v<float>;

size_t Count(float seconds) { return static_cast<size_t>(std::max(0.0f, seconds) * kSoundRate); }

} // namespace

Biquad Biquad::BandPass(float frequency, float q) {
    Biquad f;
    const float w = kTau * std::min(frequency, kSoundRate * 0.45f) / kSoundRate;
    const float alpha = std::sin(w) / (2.0f * q);
    const float a0 = 1.0f + alpha;
    f.b0_ = alpha / a0;
    f.b1_ = 0.0f;
    f.b2_ = -alpha / a0;
    f.a1_ = -2.0f * std::cos(w) / a0;
    f.a2_ = (1.0f - alpha) / a0;
    return f;
}

Biquad Biquad::LowPass(float frequency, float q) {
    Biquad f;
    const float w = kTau * std::min(frequency, kSoundRate * 0.45f) / kSoundRate;
    const float alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w);
    const float a0 = 1.0f + alpha;
    f.b0_ = (1.0f - c) * 0.5f / a0;
    f.b1_ = (1.0f - c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0f * c / a0;
    f.a2_ = (1.0f - alpha) / a0;
    return f;
}

Biquad Biquad::HighPass(float frequency, float q) {
    Biquad f;
    const float w = kTau * std::min(frequency, kSoundRate * 0.45f) / kSoundRate;
    const float alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w);
    const float a0 = 1.0f + alpha;
    f.b0_ = (1.0f + c) * 0.5f / a0;
    f.b1_ = -(1.0f + c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0f * c / a0;
    f.a2_ = (1.0f - alpha) / a0;
    return f;
}

void Biquad::Retune(const Biquad& coefficients) {
    b0_ = coefficients.b0_;
    b1_ = coefficients.b1_;
    b2_ = coefficients.b2_;
    a1_ = coefficients.a1_;
    a2_ = coefficients.a2_;
}

float Biquad::Process(float x) {
    const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

Samples Voice(const VoiceSpec& v, RandomGenerator& random) {
    const size_t n = Count(v.Seconds);
    Samples out(n);
    float phase = 0.0f;
    Biquad f1, f2, f3;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / n;
        const float seconds = static_cast<float>(i) / kSoundRate;
        if (i % 64 == 0) { // formants glide from one vowel to the other
            const Vowel w{v.From.F1 + (v.To.F1 - v.From.F1) * t, v.From.F2 + (v.To.F2 - v.From.F2) * t,
                          v.From.F3 + (v.To.F3 - v.From.F3) * t};
            f1.Retune(Biquad::BandPass(w.F1, 6));
            f2.Retune(Biquad::BandPass(w.F2, 8));
            f3.Retune(Biquad::BandPass(w.F3, 10));
        }
        const float pitch = (v.PitchStart + (v.PitchEnd - v.PitchStart) * t) *
                            (1.0f + v.Vibrato * std::sin(kTau * 5.5f * seconds));
        phase += pitch / kSoundRate;
        phase -= std::floor(phase);
        // A glottal pulse: a sawtooth sharpened toward its closing edge.
        const float glottal = std::pow(phase, 3.0f) * 2.0f - 0.5f;
        float source = glottal + v.Breath * (random.Float() * 2.0f - 1.0f);
        if (v.Rough > 0.0f) {
            source *= 1.0f - v.Rough + v.Rough * std::fabs(std::sin(kTau * pitch * 0.5f * seconds + random.Float()));
        }
        out[i] = f1.Process(source) * 1.0f + f2.Process(source) * 0.6f + f3.Process(source) * 0.3f;
    }
    DecayEnvelope(out, v.Attack, v.Seconds);
    return out;
}

Samples Noise(float seconds, RandomGenerator& random) {
    Samples out(Count(seconds));
    for (float& s : out) {
        s = random.Float() * 2.0f - 1.0f;
    }
    return out;
}

Samples Tone(float seconds, float freqStart, float freqEnd, float harmonics) {
    Samples out(Count(seconds));
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / out.size();
        phase += (freqStart + (freqEnd - freqStart) * t) / kSoundRate;
        phase -= std::floor(phase);
        out[i] = std::sin(kTau * phase) + harmonics * 0.5f * std::sin(2.0f * kTau * phase) +
                 harmonics * 0.25f * std::sin(3.0f * kTau * phase);
    }
    return out;
}

void DecayEnvelope(Samples& s, float attackSeconds, float decaySeconds) {
    const float attack = std::max(1.0f, attackSeconds * kSoundRate);
    const float decay = std::max(1.0f, decaySeconds * kSoundRate);
    for (size_t i = 0; i < s.size(); ++i) {
        const float rise = std::min(1.0f, i / attack);
        const float fall = std::exp(-3.0f * std::max(0.0f, i - attack) / decay);
        const float tail = std::min(1.0f, (s.size() - i) / 200.0f); // no click at the very end
        s[i] *= rise * fall * tail;
    }
}

void FadeInOut(Samples& s, float inSeconds, float outSeconds) {
    const size_t in = Count(inSeconds), out = Count(outSeconds);
    for (size_t i = 0; i < s.size(); ++i) {
        float g = 1.0f;
        if (i < in) {
            g *= static_cast<float>(i) / in;
        }
        if (i + out > s.size()) {
            g *= static_cast<float>(s.size() - i) / out;
        }
        s[i] *= g;
    }
}

void Filter(Samples& s, Biquad filter) {
    for (float& x : s) {
        x = filter.Process(x);
    }
}

void Mix(Samples& into, const Samples& add, float gain, float atSeconds) {
    const size_t at = Count(atSeconds);
    if (into.size() < at + add.size()) {
        into.resize(at + add.size(), 0.0f);
    }
    for (size_t i = 0; i < add.size(); ++i) {
        into[at + i] += add[i] * gain;
    }
}

void Normalize(Samples& s, float peak) {
    float max = 0.0f;
    for (const float x : s) {
        max = std::max(max, std::fabs(x));
    }
    if (max > 0.0f) {
        for (float& x : s) {
            x *= peak / max;
        }
    }
}

Samples MakeLoop(const Samples& s, float crossSeconds) {
    const size_t cross = std::min(Count(crossSeconds), s.size() / 2);
    Samples out(s.begin(), s.end() - cross);
    for (size_t i = 0; i < cross; ++i) {
        const float t = static_cast<float>(i) / cross;
        out[i] = out[i] * t + s[s.size() - cross + i] * (1.0f - t);
    }
    return out;
}

std::vector<uint8_t> EncodeWav(const Samples& s) {
    BinaryWriter w;
    const uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
    w.Bytes("RIFF", 4);
    w.U32(36 + dataBytes);
    w.Bytes("WAVEfmt ", 8);
    w.U32(16);
    w.U16(1); // PCM
    w.U16(1); // mono
    w.U32(kSoundRate);
    w.U32(kSoundRate * 2);
    w.U16(2);
    w.U16(16);
    w.Bytes("data", 4);
    w.U32(dataBytes);
    for (const float x : s) {
        w.I16(static_cast<int16_t>(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767.0f)));
    }
    return w.Take();
}

bool EncodeOgg(const Samples& s, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, kSoundRate, 0.3f) != 0) {
        vorbis_info_clear(&info);
        error = "the Vorbis encoder refused its settings";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "orvane-mkcontent");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x4F52564E); // fixed serial: identical files on every run
    auto append = [&](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }
    constexpr size_t kChunk = 4096;
    size_t position = 0;
    bool finished = false;
    while (!finished) {
        const size_t count = std::min(kChunk, s.size() - position);
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::copy(s.begin() + position, s.begin() + position + count, buffer[0]);
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count)); // 0 marks the end of the stream
        position += count;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                    finished = ogg_page_eos(&page) != 0;
                }
            }
        }
        if (count == 0 && !finished) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                append(page);
            }
            finished = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return !out.empty();
}

} // namespace orv
