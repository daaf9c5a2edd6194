// The audio device on OpenAL Soft. Every sound file is decoded whole into an OpenAL buffer once
// (libsndfile) and kept until the device goes, shared by the samples and streams made of it;
// each channel is an OpenAL source. Distances follow the inverse law between the minimum and
// maximum distance (OpenAL's clamped inverse model), and beyond the maximum every 3D channel is
// silent, muted at the maximum or not: a door across the level is not heard at a quarter of its
// level. Music streams from libopenmpt. With speakers,
// OpenAL mixes on its own thread and a streaming thread of ours keeps the music queued and
// frees finished streams, so a main thread that stalls (a level load) never starves the
// music; offline, all of that happens in RenderFrames, one block at a time, the same on every run.
#include "platform/AudioDevice.h"

#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "platform/MusicStream.h"
#include "platform/SoundFile.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <stop_token>
#include <thread>
#include <unordered_map>

namespace orv {

namespace {

// The streaming thread's period: a tenth of the music's queue.
constexpr auto kStreamingPeriod = std::chrono::milliseconds(10);
// Sources the context is asked for: far more than a level plays at once (its ambient sounds and
// a burst of shots and footfalls), within OpenAL Soft's default of 256.
constexpr ALCint kMonoSources = 224;
constexpr ALCint kStereoSources = 16;
// OpenAL Soft plays pitches up to 255 times the sound's rate; none is zero.
constexpr float kMinPitch = 1.0f / 256.0f;
constexpr float kMaxPitch = 255.0f;
// Until told otherwise a 3D channel is at full level within a metre and never quieter than far away.
constexpr float kFarAway = 1.0e9f;
constexpr float kDefaultDistanceFactor = 1.0f;
constexpr int kStereo = 2;
constexpr float kFullScale = 32768.0f; // a float mix of 1.0 in 16 bits

struct SampleData {
    ALuint Buffer = 0; // the decoded file's, shared
    int Rate = 0;
    int MaxPlaybacks = 1;
    uint32_t Flags = 0;
    std::vector<AudioHandle> Channels;
};

struct ChannelData {
    ALuint Source = 0;
    AudioHandle Sample = kNoAudio; // the sample it plays, none for a stream or a music
    uint32_t Flags = 0;
    int Rate = 0;       // of its sound
    float Volume = 1.0f;
    float Pitch = 1.0f;
    Vector Position;
    Channel3DAttributes Attributes;
    bool Started = false; // a stream that never played has not ended
    std::unique_ptr<MusicStream> Music;
};

// A decoded sound kept for every later sample and stream of it; Buffer 0 for a file that did not decode.
struct CachedSound {
    ALuint Buffer = 0;
    int Rate = 0;
};

// Unreal space is left-handed (Z up, +Y to the right of +X); OpenAL's is right-handed. The Y
// axis is mirrored on the way in, so a sound on the player's right is heard on the right.
void ToAl(const Vector& v, float scale, ALfloat out[3]) {
    out[0] = v.X * scale;
    out[1] = -v.Y * scale;
    out[2] = v.Z * scale;
}

ALuint MakeBuffer(const DecodedSound& sound) {
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) {
        return 0;
    }
    const ALenum format = sound.Channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alBufferData(buffer, format, sound.Samples.data(), static_cast<ALsizei>(sound.Samples.size() * sizeof(int16_t)),
                 sound.Rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

class OpenAlAudioDevice final : public AudioDevice {
public:
    explicit OpenAlAudioDevice(AudioOutput output) : output_(output) {}
    ~OpenAlAudioDevice() override { Free(); }

    std::string Start(int frequency) override;
    void Free() override;
    void Set3DFactors(float distanceFactor, float rolloff, float doppler) override;
    void SetListener(const Vector& position, const Vector& front, const Vector& top) override;
    void Apply3D() override;
    AudioHandle LoadSample(std::string_view path, int maxPlaybacks, uint32_t flags) override;
    void FreeSample(AudioHandle sample) override;
    AudioHandle SampleChannel(AudioHandle sample) override;
    AudioHandle CreateStream(std::string_view path, uint32_t flags) override;
    AudioHandle LoadMusic(std::string_view path, uint32_t flags) override;
    void FreeMusic(AudioHandle music) override;
    void SetMusicOrder(AudioHandle music, int order, bool reset) override;
    void SetChannelPosition(AudioHandle channel, const Vector& position) override;
    void SetChannel3DAttributes(AudioHandle channel, const Channel3DAttributes& attributes) override;
    void SetChannelAttribute(AudioHandle channel, ChannelAttribute attribute, float value) override;
    float GetChannelAttribute(AudioHandle channel, ChannelAttribute attribute) override;
    void PlayChannel(AudioHandle channel, bool restart) override;
    void PauseChannel(AudioHandle channel) override;
    void StopChannel(AudioHandle channel) override;
    bool RenderFrames(int16_t* stereo, int frames) override;

private:
    std::string OpenOutput(int frequency);
    ChannelData* FindChannel(AudioHandle channel);
    AudioHandle AddChannel(ALuint buffer, int rate, uint32_t flags, AudioHandle sample);
    void DeleteChannel(AudioHandle channel);
    // The source's place, distances and gain from the channel's values and the listener.
    void Place(ChannelData& c);
    void ApplyGain(ChannelData& c);
    // The file's sound, decoded on first use (3D channels play it mixed down to one channel).
    // Called without the lock: decoding a long file must not hold up the music.
    CachedSound SoundOf(std::string_view path, bool mono);
    // Keeps the music queued and frees the streams that have ended.
    void Service();

    const AudioOutput output_;
    std::mutex mutex_; // the streaming thread and the engine's calls take turns
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::jthread streaming_;
    int frequency_ = 0;
    AudioHandle lastHandle_ = kNoAudio;
    std::unordered_map<AudioHandle, SampleData> samples_;
    std::unordered_map<AudioHandle, ChannelData> channels_; // channels of samples, streams, musics
    std::unordered_map<std::string, CachedSound> sounds_; // by lower-case path, "|mono" for 3D
    float distanceFactor_ = kDefaultDistanceFactor;
    float rolloff_ = 1.0f;
    Vector listener_;
    std::vector<float> mixBlock_; // offline: OpenAL's float mix before it becomes 16-bit
};

std::string OpenAlAudioDevice::OpenOutput(int frequency) {
    std::vector<ALCint> attributes = {ALC_FREQUENCY, frequency, ALC_MONO_SOURCES, kMonoSources, ALC_STEREO_SOURCES,
                                      kStereoSources};
    if (output_ == AudioOutput::Speakers) {
        device_ = alcOpenDevice(nullptr);
        if (!device_) {
            return "OpenAL returned error " + std::to_string(alcGetError(nullptr));
        }
    } else {
        if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
            return "OpenAL has no loopback device (ALC_SOFT_loopback)";
        }
        auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        renderSamples_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        device_ = open ? open(nullptr) : nullptr;
        if (!device_ || !renderSamples_) {
            return "OpenAL returned error " + std::to_string(alcGetError(nullptr));
        }
        // Float stereo, limited against clipping, made 16-bit here without OpenAL's dither (so
        // silence is zeros); no head-related filtering: the same mix on every machine.
        attributes.insert(attributes.end(), {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                             ALC_FLOAT_SOFT, ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE});
    }
    attributes.push_back(0);
    context_ = alcCreateContext(device_, attributes.data());
    if (!context_ || !alcMakeContextCurrent(context_)) {
        return "OpenAL returned error " + std::to_string(alcGetError(device_));
    }
    return {};
}

std::string OpenAlAudioDevice::Start(int frequency) {
    std::lock_guard lock(mutex_);
    if (context_) {
        return {};
    }
    std::string error = OpenOutput(frequency);
    if (!error.empty()) {
        if (context_) {
            alcDestroyContext(context_);
            context_ = nullptr;
        }
        if (device_) {
            alcCloseDevice(device_);
            device_ = nullptr;
        }
        return error;
    }
    frequency_ = frequency;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    if (output_ == AudioOutput::Speakers) {
        streaming_ = std::jthread([this](std::stop_token stop) {
            while (!stop.stop_requested()) {
                {
                    std::lock_guard streamingLock(mutex_);
                    Service();
                }
                std::this_thread::sleep_for(kStreamingPeriod);
            }
        });
    }
    return {};
}

void OpenAlAudioDevice::Free() {
    streaming_ = std::jthread(); // asks the thread to stop and waits for it
    std::lock_guard lock(mutex_);
    if (!context_) {
        return;
    }
    while (!channels_.empty()) {
        DeleteChannel(channels_.begin()->first);
    }
    samples_.clear();
    for (auto& [path, sound] : sounds_) {
        if (sound.Buffer != 0) {
            alDeleteBuffers(1, &sound.Buffer);
        }
    }
    sounds_.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
    context_ = nullptr;
    device_ = nullptr;
}

void OpenAlAudioDevice::Set3DFactors(float distanceFactor, float rolloff, float doppler) {
    std::lock_guard lock(mutex_);
    if (!context_) {
        return;
    }
    if (distanceFactor > 0.0f) {
        distanceFactor_ = distanceFactor;
    }
    if (rolloff >= 0.0f) {
        rolloff_ = rolloff;
    }
    if (doppler >= 0.0f) {
        alDopplerFactor(doppler);
    }
    for (auto& [handle, c] : channels_) {
        Place(c);
    }
}

void OpenAlAudioDevice::SetListener(const Vector& position, const Vector& front, const Vector& top) {
    std::lock_guard lock(mutex_);
    if (!context_) {
        return;
    }
    listener_ = position;
    ALfloat at[3], up[3], place[3];
    ToAl(front, 1.0f, at);
    ToAl(top, 1.0f, up);
    ToAl(position, distanceFactor_, place);
    const ALfloat orientation[6] = {at[0], at[1], at[2], up[0], up[1], up[2]};
    alListenerfv(AL_POSITION, place);
    alListenerfv(AL_ORIENTATION, orientation);
}

void OpenAlAudioDevice::Apply3D() {
    std::lock_guard lock(mutex_);
    for (auto& [handle, c] : channels_) {
        if (c.Flags & kAudio3D) {
            ApplyGain(c);
        }
    }
}

void OpenAlAudioDevice::Place(ChannelData& c) {
    if (!(c.Flags & kAudio3D)) {
        // Plain stereo: at the listener, never fading.
        alSourcei(c.Source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(c.Source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(c.Source, AL_ROLLOFF_FACTOR, 0.0f);
        return;
    }
    const Channel3DAttributes& a = c.Attributes;
    ALfloat place[3];
    ToAl(c.Position, distanceFactor_, place);
    alSourcei(c.Source, AL_SOURCE_RELATIVE, a.Mode == Audio3DMode::Relative ? AL_TRUE : AL_FALSE);
    alSourcefv(c.Source, AL_POSITION, place);
    alSourcef(c.Source, AL_REFERENCE_DISTANCE, std::max(a.MinDistance, 0.0f) * distanceFactor_);
    alSourcef(c.Source, AL_MAX_DISTANCE, std::max(a.MaxDistance, a.MinDistance) * distanceFactor_);
    alSourcef(c.Source, AL_ROLLOFF_FACTOR, rolloff_);
    if (a.InsideAngle != kAudioUnchanged) {
        alSourcef(c.Source, AL_CONE_INNER_ANGLE, a.InsideAngle);
    }
    if (a.OutsideAngle != kAudioUnchanged) {
        alSourcef(c.Source, AL_CONE_OUTER_ANGLE, a.OutsideAngle);
    }
    alSourcef(c.Source, AL_CONE_OUTER_GAIN, std::clamp(a.OutsideVolume, 0.0f, 1.0f));
    ApplyGain(c);
}

void OpenAlAudioDevice::ApplyGain(ChannelData& c) {
    bool muted = false;
    if (c.Flags & kAudio3D) {
        const Vector from = c.Attributes.Mode == Audio3DMode::Relative ? Vector{} : listener_;
        muted = Length(c.Position - from) > c.Attributes.MaxDistance;
    }
    alSourcef(c.Source, AL_GAIN, muted ? 0.0f : std::max(c.Volume, 0.0f));
}

ChannelData* OpenAlAudioDevice::FindChannel(AudioHandle channel) {
    const auto found = channels_.find(channel);
    return found == channels_.end() ? nullptr : &found->second;
}

AudioHandle OpenAlAudioDevice::AddChannel(ALuint buffer, int rate, uint32_t flags, AudioHandle sample) {
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        return kNoAudio; // every source is in use
    }
    const AudioHandle handle = ++lastHandle_;
    ChannelData& c = channels_[handle];
    c.Source = source;
    c.Sample = sample;
    c.Flags = flags;
    c.Rate = rate;
    c.Attributes.MinDistance = 1.0f / distanceFactor_;
    c.Attributes.MaxDistance = kFarAway;
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, (flags & kAudioLoop) ? AL_TRUE : AL_FALSE);
    Place(c);
    ApplyGain(c);
    return handle;
}

void OpenAlAudioDevice::DeleteChannel(AudioHandle channel) {
    ChannelData* c = FindChannel(channel);
    if (!c) {
        return;
    }
    if (c->Music) {
        c->Music.reset(); // the music owns its source
    } else {
        alSourceStop(c->Source);
        alSourcei(c->Source, AL_BUFFER, 0);
        alDeleteSources(1, &c->Source);
    }
    channels_.erase(channel);
}

AudioHandle OpenAlAudioDevice::LoadSample(std::string_view path, int maxPlaybacks, uint32_t flags) {
    const CachedSound sound = SoundOf(path, (flags & kAudio3D) != 0);
    if (sound.Buffer == 0) {
        return kNoAudio;
    }
    std::lock_guard lock(mutex_);
    SampleData sample;
    sample.Buffer = sound.Buffer;
    sample.Rate = sound.Rate;
    sample.MaxPlaybacks = std::max(1, maxPlaybacks);
    sample.Flags = flags;
    const AudioHandle handle = ++lastHandle_;
    samples_[handle] = std::move(sample);
    return handle;
}

void OpenAlAudioDevice::FreeSample(AudioHandle sample) {
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(sample);
    if (found == samples_.end()) {
        return;
    }
    for (AudioHandle channel : found->second.Channels) {
        DeleteChannel(channel);
    }
    samples_.erase(found); // its sound stays decoded for the next level
}

AudioHandle OpenAlAudioDevice::SampleChannel(AudioHandle sample) {
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(sample);
    if (found == samples_.end()) {
        return kNoAudio;
    }
    SampleData& s = found->second;
    for (AudioHandle handle : s.Channels) {
        ChannelData& c = channels_.at(handle);
        ALint state = AL_STOPPED;
        alGetSourcei(c.Source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING && state != AL_PAUSED) {
            // Taken again as if new.
            alSourceRewind(c.Source);
            c.Volume = 1.0f;
            c.Pitch = 1.0f;
            alSourcef(c.Source, AL_PITCH, 1.0f);
            ApplyGain(c);
            return handle;
        }
    }
    if (static_cast<int>(s.Channels.size()) >= s.MaxPlaybacks) {
        return kNoAudio;
    }
    const AudioHandle handle = AddChannel(s.Buffer, s.Rate, s.Flags, sample);
    if (handle != kNoAudio) {
        s.Channels.push_back(handle);
    }
    return handle;
}

CachedSound OpenAlAudioDevice::SoundOf(std::string_view path, bool mono) {
    const std::string key = ToLowerAscii(path) + (mono ? "|mono" : "");
    {
        std::lock_guard lock(mutex_);
        if (!context_) {
            return {};
        }
        if (const auto found = sounds_.find(key); found != sounds_.end()) {
            return found->second;
        }
    }
    DecodedSound sound;
    std::string error;
    CachedSound cached;
    if (DecodeSoundFile(path, sound, error)) {
        if (mono) {
            MixDownToMono(sound);
        }
        cached.Buffer = MakeBuffer(sound);
        cached.Rate = sound.Rate;
    } else {
        Log("Can't play the sound \"" + std::string(path) + "\": " + error); // once: the failure is kept
    }
    std::lock_guard lock(mutex_);
    sounds_[key] = cached;
    return cached;
}

AudioHandle OpenAlAudioDevice::CreateStream(std::string_view path, uint32_t flags) {
    const CachedSound sound = SoundOf(path, (flags & kAudio3D) != 0);
    if (sound.Buffer == 0) {
        return kNoAudio;
    }
    std::lock_guard lock(mutex_);
    return AddChannel(sound.Buffer, sound.Rate, flags, kNoAudio);
}

AudioHandle OpenAlAudioDevice::LoadMusic(std::string_view path, uint32_t flags) {
    std::vector<uint8_t> file;
    if (!context_ || !ReadFileBytes(path, file)) {
        return kNoAudio;
    }
    // Made without the lock, so the playing music is refilled while a big module loads.
    std::string error;
    std::unique_ptr<MusicStream> music = MusicStream::Load(std::move(file), (flags & kAudioLoop) != 0, frequency_, error);
    if (!music) {
        Log("Can't play the music \"" + std::string(path) + "\": " + error);
        return kNoAudio;
    }
    std::lock_guard lock(mutex_);
    const AudioHandle handle = ++lastHandle_;
    ChannelData& c = channels_[handle];
    c.Source = music->Source();
    c.Rate = music->Rate();
    c.Music = std::move(music);
    ApplyGain(c);
    return handle;
}

void OpenAlAudioDevice::FreeMusic(AudioHandle music) {
    std::lock_guard lock(mutex_);
    if (ChannelData* c = FindChannel(music); c && c->Music) {
        DeleteChannel(music);
    }
}

void OpenAlAudioDevice::SetMusicOrder(AudioHandle music, int order, bool reset) {
    std::lock_guard lock(mutex_);
    if (ChannelData* c = FindChannel(music); c && c->Music) {
        c->Music->SetOrder(order, reset);
    }
}

void OpenAlAudioDevice::SetChannelPosition(AudioHandle channel, const Vector& position) {
    std::lock_guard lock(mutex_);
    if (ChannelData* c = FindChannel(channel); c && (c->Flags & kAudio3D)) {
        c->Position = position;
        Place(*c);
    }
}

void OpenAlAudioDevice::SetChannel3DAttributes(AudioHandle channel, const Channel3DAttributes& attributes) {
    std::lock_guard lock(mutex_);
    if (ChannelData* c = FindChannel(channel); c && (c->Flags & kAudio3D)) {
        c->Attributes = attributes;
        Place(*c);
    }
}

void OpenAlAudioDevice::SetChannelAttribute(AudioHandle channel, ChannelAttribute attribute, float value) {
    std::lock_guard lock(mutex_);
    ChannelData* c = FindChannel(channel);
    if (!c) {
        return;
    }
    if (attribute == ChannelAttribute::Volume) {
        c->Volume = std::clamp(value, 0.0f, 1.0f);
        ApplyGain(*c);
    } else {
        c->Pitch = value > 0.0f ? std::clamp(value / static_cast<float>(c->Rate), kMinPitch, kMaxPitch) : 1.0f;
        alSourcef(c->Source, AL_PITCH, c->Pitch);
    }
}

float OpenAlAudioDevice::GetChannelAttribute(AudioHandle channel, ChannelAttribute attribute) {
    std::lock_guard lock(mutex_);
    const ChannelData* c = FindChannel(channel);
    if (!c) {
        return 0.0f;
    }
    return attribute == ChannelAttribute::Volume ? c->Volume : c->Pitch * static_cast<float>(c->Rate);
}

void OpenAlAudioDevice::PlayChannel(AudioHandle channel, bool restart) {
    std::lock_guard lock(mutex_);
    ChannelData* c = FindChannel(channel);
    if (!c) {
        return;
    }
    c->Started = true;
    if (c->Music) {
        c->Music->Play(restart);
        return;
    }
    ALint state = AL_STOPPED;
    alGetSourcei(c->Source, AL_SOURCE_STATE, &state);
    if (restart) {
        alSourceRewind(c->Source);
    } else if (state == AL_PLAYING) {
        return;
    }
    alSourcePlay(c->Source);
}

void OpenAlAudioDevice::PauseChannel(AudioHandle channel) {
    std::lock_guard lock(mutex_);
    ChannelData* c = FindChannel(channel);
    if (c && c->Music) {
        c->Music->Pause();
    } else if (c) {
        ALint state = AL_STOPPED;
        alGetSourcei(c->Source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) {
            alSourcePause(c->Source);
        }
    }
}

void OpenAlAudioDevice::StopChannel(AudioHandle channel) {
    std::lock_guard lock(mutex_);
    ChannelData* c = FindChannel(channel);
    if (!c) {
        return;
    }
    if (c->Music) {
        c->Music->Stop();
    } else if (c->Flags & kAudioAutoFree) {
        DeleteChannel(channel);
    } else {
        alSourceStop(c->Source);
    }
}

void OpenAlAudioDevice::Service() {
    std::vector<AudioHandle> ended;
    for (auto& [handle, c] : channels_) {
        if (c.Music) {
            c.Music->Refill();
        } else if ((c.Flags & kAudioAutoFree) && c.Started) {
            ALint state = AL_STOPPED;
            alGetSourcei(c.Source, AL_SOURCE_STATE, &state);
            if (state == AL_STOPPED) {
                ended.push_back(handle);
            }
        }
    }
    for (AudioHandle handle : ended) {
        DeleteChannel(handle);
    }
}

bool OpenAlAudioDevice::RenderFrames(int16_t* stereo, int frames) {
    if (output_ != AudioOutput::Offline) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!context_) {
        std::fill(stereo, stereo + static_cast<ptrdiff_t>(frames) * kStereo, int16_t{0});
        return true;
    }
    Service();
    mixBlock_.resize(static_cast<size_t>(frames) * kStereo);
    renderSamples_(device_, mixBlock_.data(), frames);
    for (size_t i = 0; i < mixBlock_.size(); ++i) {
        stereo[i] = static_cast<int16_t>(std::lrint(std::clamp(mixBlock_[i] * kFullScale, -kFullScale, kFullScale - 1.0f)));
    }
    return true;
}

} // namespace

std::unique_ptr<AudioDevice> CreateOpenAlAudioDevice(AudioOutput output) {
    return std::make_unique<OpenAlAudioDevice>(output);
}

} // namespace orv
