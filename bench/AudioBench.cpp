// The cost of the mix: one second of sound from the OpenAL device mixed offline, 60 steps of 735
// frames, with 32 looping 3D channels around a listener that moves every step (as the player
// does) and Demo 1's song refilled from libopenmpt. Figure: the time per iteration is the CPU
// time one second of audio costs; "core_share" is that as a share of one core (target under 2%).
#include "platform/AudioDevice.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr int kRate = 44100;
constexpr int kStepsPerSecond = 60;
constexpr int kFramesPerStep = kRate / kStepsPerSecond;
constexpr int kChannels = 32;

void BM_MixOneSecond(benchmark::State& state) {
    const std::filesystem::path game = ORV_GAME_DIR;
    const std::string song = (game / "Music" / "Emberfall.xm").string();
    if (!std::filesystem::exists(song)) {
        state.SkipWithError("the demo content is not built (game/Music)");
        return;
    }
    auto device = CreateOpenAlAudioDevice(AudioOutput::Offline);
    if (!device->Start(kRate).empty()) {
        state.SkipWithError("OpenAL has no loopback device");
        return;
    }
    device->Set3DFactors(1.0f / 64.0f, kAudioUnchanged, kAudioUnchanged);
    const char* sounds[] = {"Hum.wav", "Fire.wav", "Water.ogg", "Wind.ogg"};
    for (int i = 0; i < kChannels; ++i) {
        const std::string path = (game / "Sounds" / "Orvane" / "Sounds" / "Ambient" / sounds[i % 4]).string();
        const AudioHandle channel = device->SampleChannel(device->LoadSample(path, 1, kAudioLoop | kAudio3D | kAudioMuteAtMax));
        device->SetChannelPosition(channel, {static_cast<float>(i % 8) * 96.0f, static_cast<float>(i / 8) * 96.0f, 0.0f});
        device->SetChannel3DAttributes(channel, {.MinDistance = 200, .MaxDistance = 1600, .OutsideVolume = 0});
        device->PlayChannel(channel, false);
    }
    const AudioHandle music = device->LoadMusic(song, kAudioLoop);
    device->PlayChannel(music, false);
    std::vector<int16_t> mix(static_cast<size_t>(kFramesPerStep) * 2);
    int step = 0;
    for (auto _ : state) {
        for (int s = 0; s < kStepsPerSecond; ++s, ++step) {
            device->SetListener({static_cast<float>(step % 600), 150.0f, 0.0f}, {1, 0, 0}, {0, 0, 1});
            device->Apply3D();
            device->RenderFrames(mix.data(), kFramesPerStep);
        }
        benchmark::DoNotOptimize(mix.data());
    }
    state.counters["core_share"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate |
                                                                                                 benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixOneSecond)->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
