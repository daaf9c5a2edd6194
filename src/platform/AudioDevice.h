// The audio layer that the engine's sound and music drive: samples decoded once and played on
// channels up to a limit, streams that free themselves, one kind of tracker music, channels
// placed in 3D with a minimum and maximum distance, and the listener. The OpenAL device is the
// real one (OpenAL Soft mixing, libsndfile decoding WAV and Ogg Vorbis, libopenmpt playing
// modules); RecordingAudioDevice keeps every call for tests.
#pragma once

#include "core/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orv {

// A sample, a channel (of a sample, a stream or a music) or a music; 0 is none. Handles are
// never reused, so a freed one is simply not found: every call on it does nothing.
using AudioHandle = uint32_t;
constexpr AudioHandle kNoAudio = 0;

// What a sample, stream or music is made with.
enum AudioFlags : uint32_t {
    kAudioLoop = 1u << 0,      // starts again at its end (a sample's whole sound, a music's song)
    kAudio3D = 1u << 1,        // placed in the world, mixed down to one channel; else plain stereo
    kAudioMuteAtMax = 1u << 2, // 3D: silent beyond the maximum distance
    kAudioAutoFree = 1u << 3,  // streams: freed when they end or are stopped
};

// A factor or an angle given as this keeps its current value.
constexpr float kAudioUnchanged = -1.0f;

enum class ChannelAttribute {
    Volume,    // 0 .. 1
    Frequency, // samples per second it plays at; its own rate until changed (0 sets that back)
};

enum class Audio3DMode {
    Normal,   // the position is in the world
    Relative, // the position is relative to the listener
};

struct Channel3DAttributes {
    Audio3DMode Mode = Audio3DMode::Normal;
    float MinDistance = 1.0f;                 // full level up to here (world units), then min / distance
    float MaxDistance = 1.0f;                 // no quieter beyond, or silent (kAudioMuteAtMax, and
                                              // every 3D channel of the OpenAL device)
    float InsideAngle = kAudioUnchanged;      // the cone, degrees
    float OutsideAngle = kAudioUnchanged;
    float OutsideVolume = 1.0f;               // outside the cone
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the output at this rate. Empty text when it plays; else why not, naming the
    // library and its error code ("OpenAL returned error 40965"). A device that did not start
    // takes every later call and does nothing.
    virtual std::string Start(int frequency) = 0;
    // Frees every sample, channel and music and closes the output.
    virtual void Free() = 0;

    // World units per metre (distanceFactor), distance roll-off and doppler factors.
    virtual void Set3DFactors(float distanceFactor, float rolloff, float doppler) = 0;
    virtual void SetListener(const Vector& position, const Vector& front, const Vector& top) = 0;
    // Makes the changes of 3D positions and attributes heard (and muting beyond the maximum).
    virtual void Apply3D() = 0;

    // Paths are content paths ("Sounds\Zelkor\Sounds\underwater.ogg"), found case-blind.
    virtual AudioHandle LoadSample(std::string_view path, int maxPlaybacks, uint32_t flags) = 0;
    // Stops and frees its channels too.
    virtual void FreeSample(AudioHandle sample) = 0;
    // A channel of the sample: one that is not playing, else a new one while the sample has
    // fewer than its limit; none once that many play.
    virtual AudioHandle SampleChannel(AudioHandle sample) = 0;
    virtual AudioHandle CreateStream(std::string_view path, uint32_t flags) = 0;
    // A music module (".it", ".s3m", ".xm", ".mod", ".mo3", or one inside an Unreal ".umx").
    virtual AudioHandle LoadMusic(std::string_view path, uint32_t flags) = 0;
    virtual void FreeMusic(AudioHandle music) = 0;
    // Jumps to a pattern-order position, row 0; with reset, the song's state starts afresh
    // (tempo, volumes, no notes still sounding).
    virtual void SetMusicOrder(AudioHandle music, int order, bool reset) = 0;

    // Channel calls take a channel, a stream or a music.
    virtual void SetChannelPosition(AudioHandle channel, const Vector& position) = 0;
    virtual void SetChannel3DAttributes(AudioHandle channel, const Channel3DAttributes& attributes) = 0;
    virtual void SetChannelAttribute(AudioHandle channel, ChannelAttribute attribute, float value) = 0;
    // 0 for a handle that is not there.
    virtual float GetChannelAttribute(AudioHandle channel, ChannelAttribute attribute) = 0;
    // Without restart a playing channel goes on and a paused one resumes.
    virtual void PlayChannel(AudioHandle channel, bool restart) = 0;
    virtual void PauseChannel(AudioHandle channel) = 0;
    virtual void StopChannel(AudioHandle channel) = 0;

    // An offline device mixes the next frames into interleaved 16-bit stereo here and returns
    // true; a device that plays on its own returns false.
    virtual bool RenderFrames(int16_t* /*stereo*/, int /*frames*/) { return false; }
};

enum class AudioOutput {
    Speakers, // the system's default output device, mixed and streamed on threads of its own
    Offline,  // nothing plays: every mix is made on RenderFrames (16-bit stereo)
};

std::unique_ptr<AudioDevice> CreateOpenAlAudioDevice(AudioOutput output);

} // namespace orv
