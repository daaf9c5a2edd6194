// Sound and music on the audio device.
#include "shell/Audio.h"

#include "content/PackageNames.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "platform/SoundFile.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <array>

namespace orv {

namespace {

// 64 world units are one metre.
constexpr float kDistanceFactor = 0.015625f;

constexpr char kUnderwaterSound[] = "Sounds\\Zelkor\\Sounds\\underwater.ogg";
constexpr int kUnderwaterPlaybacks = 1;
constexpr float kUnderwaterVolume = 0.3f; // of the sound volume at start-up

// A sound an actor makes is heard at full level within 202 units and fades to a quarter at 809.
constexpr float kActorSoundMinDistance = 202.0f;
constexpr float kActorSoundMaxDistance = 809.0f;

// An ambient sound's "SoundRadius" times this is how far it carries (2048/81 as a 32-bit float);
// it is at full level within a quarter of that.
constexpr float kRadiusToDistance = 25.283950805664062f;
constexpr float kFullLevelShare = 0.25f;
constexpr int kAmbientPlaybacks = 64;
constexpr float kMaxSoundVolume = 255.0f; // "SoundVolume" of an actor: 0 .. 255
constexpr float kPitchUnit = 0.015625f;   // "SoundPitch" 64 plays at the sound's own rate

// Only the low 16 bits of a song section are the order number.
constexpr int kOrderMask = 0xFFFF;

constexpr std::array<std::string_view, 6> kMusicExtensions = {".umx", ".s3m", ".it", ".xm", ".mod", ".mo3"};

constexpr int kStereo = 2;

} // namespace

std::string SongName(std::string_view song) {
    const size_t dot = song.rfind('.');
    if (dot == std::string_view::npos) {
        return StripObjectReference(song);
    }
    std::string name(song.substr(dot + 1));
    if (!name.empty() && name.back() == '\'') {
        name.pop_back();
    }
    return name;
}

std::string FindMusicFile(std::string_view name) {
    for (std::string_view extension : kMusicExtensions) {
        std::string path = "Music\\" + std::string(name) + std::string(extension);
        if (FileExists(path)) {
            return path;
        }
    }
    return {};
}

Audio::Audio(AudioDevice& device, World& world) : device_(device), world_(world) {}

Audio::~Audio() = default;

void Audio::AudioStartup() {
    if (const std::string error = device_.Start(kAudioFrequency); !error.empty()) {
        Log("Could not initialize audio! " + error);
    }
    device_.Set3DFactors(kDistanceFactor, kAudioUnchanged, kAudioUnchanged);
    device_.Apply3D();
    soundVolume_ = ConfigGetFloat(world_.Config, "SoundVolume");
    musicVolume_ = ConfigGetFloat(world_.Config, "MusicVolume");
    const AudioHandle sample = device_.LoadSample(kUnderwaterSound, kUnderwaterPlaybacks, kAudioLoop);
    underwater_ = device_.SampleChannel(sample);
    device_.SetChannelAttribute(underwater_, ChannelAttribute::Volume, soundVolume_ * kUnderwaterVolume);
}

void Audio::AudioShutdown() {
    device_.Free();
    music_ = kNoAudio;
    underwater_ = kNoAudio;
    ambientSamples_.clear();
    mixFile_.reset();
}

void Audio::PlayActorSound(const Actor& actor, std::string_view soundName, float volume) {
    const std::string path = ResolveSoundPath(world_.Res, soundName, "");
    if (path.empty()) {
        return;
    }
    const bool own = &actor == world_.Player;
    const uint32_t flags = kAudioAutoFree | (own ? 0u : kAudio3D);
    const AudioHandle stream = device_.CreateStream(path, flags);
    if (stream == kNoAudio) {
        return;
    }
    if (!own) {
        // Where the actor is now: a sound stays where it started, however its actor moves.
        device_.SetChannelPosition(stream, actor.Location);
        Channel3DAttributes attributes;
        attributes.MinDistance = kActorSoundMinDistance;
        attributes.MaxDistance = kActorSoundMaxDistance;
        attributes.OutsideVolume = 0.0f;
        device_.SetChannel3DAttributes(stream, attributes);
    }
    device_.SetChannelAttribute(stream, ChannelAttribute::Volume, volume * soundVolume_);
    device_.PlayChannel(stream, false);
}

void Audio::StartAmbientSounds() {
    for (const std::unique_ptr<Actor>& actor : world_.Actors) {
        const std::string& name = actor->GetProperty("AmbientSound");
        if (name.empty()) {
            continue;
        }
        const std::string path = ResolveSoundPath(world_.Res, name, "");
        if (path.empty()) {
            continue;
        }
        const AudioHandle sample = device_.LoadSample(path, kAmbientPlaybacks, kAudioLoop | kAudio3D | kAudioMuteAtMax);
        if (sample == kNoAudio) {
            continue;
        }
        ambientSamples_.push_back(sample);
        const float radius = ParseFloat(actor->GetPropertyOr("SoundRadius", "64"));
        const float volume = ParseFloat(actor->GetPropertyOr("SoundVolume", "190"));
        const float pitch = ParseFloat(actor->GetPropertyOr("SoundPitch", "64"));
        const AudioHandle channel = device_.SampleChannel(sample);
        device_.SetChannelPosition(channel, actor->Location);
        Channel3DAttributes attributes;
        attributes.MaxDistance = radius * kRadiusToDistance;
        attributes.MinDistance = attributes.MaxDistance * kFullLevelShare;
        attributes.OutsideVolume = 0.0f;
        device_.SetChannel3DAttributes(channel, attributes);
        device_.SetChannelAttribute(channel, ChannelAttribute::Volume, volume / kMaxSoundVolume * soundVolume_);
        const float frequency = device_.GetChannelAttribute(channel, ChannelAttribute::Frequency);
        device_.SetChannelAttribute(channel, ChannelAttribute::Frequency, pitch * frequency * kPitchUnit);
        device_.PlayChannel(channel, false);
    }
    device_.Apply3D();
}

void Audio::FreeAmbientSounds() {
    for (AudioHandle sample : ambientSamples_) {
        device_.FreeSample(sample);
    }
    ambientSamples_.clear();
}

void Audio::PlayMusic(std::string_view song, int section, bool silence) {
    const int order = section & kOrderMask;
    if (silence) {
        FreeMusic();
        return;
    }
    if (song.empty()) {
        if (music_ != kNoAudio) {
            device_.SetMusicOrder(music_, order, true);
        }
        return;
    }
    const std::string name = SongName(song);
    const std::string path = FindMusicFile(name);
    if (path.empty()) {
        Log("Can't find the song \"" + name + "\" in Music\\.");
        return;
    }
    FreeMusic();
    music_ = device_.LoadMusic(path, kAudioLoop);
    if (music_ == kNoAudio) {
        return; // the device said why
    }
    device_.SetChannelAttribute(music_, ChannelAttribute::Volume, musicVolume_);
    device_.SetMusicOrder(music_, order, false);
    device_.PlayChannel(music_, false);
}

void Audio::FreeMusic() {
    if (music_ == kNoAudio) {
        return;
    }
    device_.StopChannel(music_);
    device_.FreeMusic(music_);
    music_ = kNoAudio;
}

void Audio::SetMusicVolume(float volume) {
    musicVolume_ = volume;
    if (music_ != kNoAudio) {
        device_.SetChannelAttribute(music_, ChannelAttribute::Volume, volume);
    }
}

void Audio::SetListener(const Vector& location, const Vector& front, const Vector& top) {
    device_.SetListener(location, front, top);
    device_.Apply3D();
}

void Audio::SetUnderwater(bool underwater) {
    if (underwater) {
        device_.PlayChannel(underwater_, false);
    } else {
        device_.PauseChannel(underwater_);
    }
}

void Audio::RecordMixTo(const std::string& path) {
    std::string error;
    mixFile_ = WavFileWriter::Create(path, kStereo, kAudioFrequency, error);
    if (!mixFile_) {
        Log("Can't write the audio file \"" + path + "\": " + error);
    }
}

void Audio::MixStep() {
    mixBlock_.resize(static_cast<size_t>(kAudioFramesPerStep) * kStereo);
    if (device_.RenderFrames(mixBlock_.data(), kAudioFramesPerStep) && mixFile_) {
        mixFile_->Write(mixBlock_.data(), kAudioFramesPerStep);
    }
}

} // namespace orv
