// The recording audio device.
#include "platform/RecordingAudioDevice.h"

#include <cstdio>

namespace orv {

std::vector<AudioCall> RecordingAudioDevice::Named(std::string_view name) const {
    std::vector<AudioCall> calls;
    for (const AudioCall& call : Calls) {
        if (call.Name == name) {
            calls.push_back(call);
        }
    }
    return calls;
}

std::vector<std::string> RecordingAudioDevice::Transcript() const {
    constexpr std::pair<uint32_t, const char*> kFlagNames[] = {
        {kAudioLoop, "loop"}, {kAudio3D, "3d"}, {kAudioMuteAtMax, "mutemax"}, {kAudioAutoFree, "autofree"}};
    std::vector<std::string> lines;
    for (const AudioCall& call : Calls) {
        std::string line = call.Name;
        if (call.Handle != kNoAudio) {
            line += " #" + std::to_string(call.Handle);
        }
        if (!call.Path.empty()) {
            line += " " + call.Path;
        }
        for (const auto& [flag, name] : kFlagNames) {
            if (call.Flags & flag) {
                line += std::string(" ") + name;
            }
        }
        for (double value : call.Values) {
            char number[32];
            std::snprintf(number, sizeof number, " %.8g", value);
            line += number;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

AudioCall& RecordingAudioDevice::Record(std::string name, AudioHandle handle, std::vector<double> values) {
    Calls.push_back({std::move(name), handle, {}, 0, std::move(values)});
    return Calls.back();
}

AudioHandle RecordingAudioDevice::Load(std::string name, std::string_view path, uint32_t flags, std::vector<double> values) {
    const bool loads = started_ && !BadFiles.count(std::string(path));
    AudioCall& call = Record(std::move(name), loads ? ++lastHandle_ : kNoAudio, std::move(values));
    call.Path = path;
    call.Flags = flags;
    return call.Handle;
}

std::string RecordingAudioDevice::Start(int frequency) {
    Record("Start", kNoAudio, {static_cast<double>(frequency)});
    started_ = StartError.empty();
    return StartError;
}

void RecordingAudioDevice::Set3DFactors(float distanceFactor, float rolloff, float doppler) {
    Record("Set3DFactors", kNoAudio, {distanceFactor, rolloff, doppler});
}

void RecordingAudioDevice::SetListener(const Vector& position, const Vector& front, const Vector& top) {
    Record("SetListener", kNoAudio, {position.X, position.Y, position.Z, front.X, front.Y, front.Z, top.X, top.Y, top.Z});
}

AudioHandle RecordingAudioDevice::LoadSample(std::string_view path, int maxPlaybacks, uint32_t flags) {
    return Load("LoadSample", path, flags, {static_cast<double>(maxPlaybacks)});
}

AudioHandle RecordingAudioDevice::SampleChannel(AudioHandle sample) {
    return Record("SampleChannel", sample != kNoAudio ? ++lastHandle_ : kNoAudio, {static_cast<double>(sample)}).Handle;
}

AudioHandle RecordingAudioDevice::CreateStream(std::string_view path, uint32_t flags) {
    return Load("CreateStream", path, flags);
}

AudioHandle RecordingAudioDevice::LoadMusic(std::string_view path, uint32_t flags) {
    return Load("LoadMusic", path, flags);
}

void RecordingAudioDevice::SetMusicOrder(AudioHandle music, int order, bool reset) {
    Record("SetMusicOrder", music, {static_cast<double>(order), reset ? 1.0 : 0.0});
}

void RecordingAudioDevice::SetChannelPosition(AudioHandle channel, const Vector& position) {
    Record("SetChannelPosition", channel, {position.X, position.Y, position.Z});
}

void RecordingAudioDevice::SetChannel3DAttributes(AudioHandle channel, const Channel3DAttributes& a) {
    Record("SetChannel3DAttributes", channel,
           {static_cast<double>(a.Mode), a.MinDistance, a.MaxDistance, a.InsideAngle, a.OutsideAngle, a.OutsideVolume});
}

void RecordingAudioDevice::SetChannelAttribute(AudioHandle channel, ChannelAttribute attribute, float value) {
    Record("SetChannelAttribute", channel, {static_cast<double>(attribute), value});
    if (attribute == ChannelAttribute::Frequency) {
        frequencies_[channel] = value;
    }
}

float RecordingAudioDevice::GetChannelAttribute(AudioHandle channel, ChannelAttribute attribute) {
    Record("GetChannelAttribute", channel, {static_cast<double>(attribute)});
    if (attribute == ChannelAttribute::Volume) {
        return 1.0f;
    }
    const auto found = frequencies_.find(channel);
    return found != frequencies_.end() ? found->second : SoundRate;
}

void RecordingAudioDevice::PlayChannel(AudioHandle channel, bool restart) {
    Record("PlayChannel", channel, {restart ? 1.0 : 0.0});
}

} // namespace orv
