// An audio device that plays nothing and keeps every call with its values, in order: the tests
// of the engine's sound and music read what was asked of the audio layer.
#pragma once

#include "platform/AudioDevice.h"

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

struct AudioCall {
    std::string Name;              // the operation: "LoadSample", "PlayChannel", ...
    AudioHandle Handle = kNoAudio; // the handle it was given, or the one it returned
    std::string Path;
    uint32_t Flags = 0;
    std::vector<double> Values; // its numbers in the order of its parameters (a vector as X, Y, Z)
};

class RecordingAudioDevice final : public AudioDevice {
public:
    std::vector<AudioCall> Calls;
    std::string StartError;          // what Start answers; not empty: the device stays silent
    float SoundRate = 22050.0f;      // the frequency every channel reports until it is set
    std::set<std::string> BadFiles;  // paths that load as nothing, as a damaged file would

    // The calls of one operation, in order.
    std::vector<AudioCall> Named(std::string_view name) const;
    // Every call as a line: the operation, "#" and the handle, the path, the flags by name and
    // the numbers (eight significant digits), as in "LoadSample #1 Sounds\A.wav loop 3d 64".
    std::vector<std::string> Transcript() const;

    std::string Start(int frequency) override;
    void Free() override { Record("Free"); }
    void Set3DFactors(float distanceFactor, float rolloff, float doppler) override;
    void SetListener(const Vector& position, const Vector& front, const Vector& top) override;
    void Apply3D() override { Record("Apply3D"); }
    AudioHandle LoadSample(std::string_view path, int maxPlaybacks, uint32_t flags) override;
    void FreeSample(AudioHandle sample) override { Record("FreeSample", sample); }
    AudioHandle SampleChannel(AudioHandle sample) override;
    AudioHandle CreateStream(std::string_view path, uint32_t flags) override;
    AudioHandle LoadMusic(std::string_view path, uint32_t flags) override;
    void FreeMusic(AudioHandle music) override { Record("FreeMusic", music); }
    void SetMusicOrder(AudioHandle music, int order, bool reset) override;
    void SetChannelPosition(AudioHandle channel, const Vector& position) override;
    void SetChannel3DAttributes(AudioHandle channel, const Channel3DAttributes& attributes) override;
    void SetChannelAttribute(AudioHandle channel, ChannelAttribute attribute, float value) override;
    float GetChannelAttribute(AudioHandle channel, ChannelAttribute attribute) override;
    void PlayChannel(AudioHandle channel, bool restart) override;
    void PauseChannel(AudioHandle channel) override { Record("PauseChannel", channel); }
    void StopChannel(AudioHandle channel) override { Record("StopChannel", channel); }

private:
    AudioCall& Record(std::string name, AudioHandle handle = kNoAudio, std::vector<double> values = {});
    AudioHandle Load(std::string name, std::string_view path, uint32_t flags, std::vector<double> values = {});

    bool started_ = false;
    AudioHandle lastHandle_ = kNoAudio;
    std::unordered_map<AudioHandle, float> frequencies_; // the channels whose frequency was set
};

} // namespace orv
