// Sound and music: the one-shot sounds of actors and menus, the level's looping ambient sounds,
// one tracker music at a time, the underwater loop and the listener, all driven through an
// AudioDevice. The engine owns one; the world reaches it through the engine's services, the
// menus directly. With --audio-out every step's mix is also written to a WAV file.
#pragma once

#include "core/Vector.h"
#include "platform/AudioDevice.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Actor;
struct World;
class WavFileWriter;

constexpr int kAudioFrequency = 44100;
// One simulation step of sound at 60 steps a second.
constexpr int kAudioFramesPerStep = 735;

class Audio {
public:
    Audio(AudioDevice& device, World& world);
    ~Audio();
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // The device, the 3D factors, both volumes from the settings and the underwater loop
    // (ready, not playing). A device that does not start is logged once; all stays silent.
    void AudioStartup();
    // Frees the device (and finishes the --audio-out file).
    void AudioShutdown();

    // A one-shot sound from the actor where it stands now; the player pawn's own sounds (the
    // menus' among them) are plain stereo at full level. volume is a factor of the sound volume.
    void PlayActorSound(const Actor& actor, std::string_view soundName, float volume);
    // A looping sound at every actor of the level with an "AmbientSound".
    void StartAmbientSounds();
    void FreeAmbientSounds();

    // A level's song or a music event's: silence frees the music; an empty song jumps the
    // current music to the order section; else the named song replaces the current one, from
    // order section, unless it cannot be found (the current one plays on).
    void PlayMusic(std::string_view song, int section, bool silence);
    void FreeMusic();
    bool IsMusicLoaded() const { return music_ != kNoAudio; }

    // The options menu's settings: the music's volume changes at once, the sound volume
    // applies to the sounds started afterwards.
    void SetMusicVolume(float volume);
    void SetSoundVolume(float volume) { soundVolume_ = volume; }
    float MusicVolume() const { return musicVolume_; }
    float SoundVolume() const { return soundVolume_; }

    // Once a step, from the player: where the listener is, and the underwater loop resumed
    // while the view is under water, paused otherwise.
    void SetListener(const Vector& location, const Vector& front, const Vector& top);
    void SetUnderwater(bool underwater);

    // --audio-out: from now on every step's mix goes to this WAV file.
    void RecordMixTo(const std::string& path);
    // One simulation step of the mix, for a device that mixes offline.
    void MixStep();

private:
    AudioDevice& device_;
    World& world_;
    float soundVolume_ = 0.0f;
    float musicVolume_ = 0.0f;
    AudioHandle music_ = kNoAudio;
    AudioHandle underwater_ = kNoAudio;
    std::vector<AudioHandle> ambientSamples_;
    std::unique_ptr<WavFileWriter> mixFile_;
    std::vector<int16_t> mixBlock_;
};

// The song's name in a reference: the text after its last "." without one trailing "'"
// ("Music'Pkg.Song'" and "Pkg.Song" give "Song"); one without "." is taken whole, out of its
// quotes ("Music'Song'" gives "Song").
std::string SongName(std::string_view song);
// "Music\" + name + the first of ".umx", ".s3m", ".it", ".xm", ".mod", ".mo3" that exists, or
// empty text.
std::string FindMusicFile(std::string_view name);

} // namespace orv
