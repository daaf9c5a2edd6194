// One tracker music played through an OpenAL source: libopenmpt renders the song into a few
// short buffers queued on the source, and each buffer the source has finished is rendered
// again and queued behind the others. Whoever drives it (the device's streaming thread, or the
// offline mix before each block) calls Refill often enough; the caller holds the device's lock.
#pragma once

#include <AL/al.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct openmpt_module;

namespace orv {

// Four buffers of 2048 frames keep about 190 ms queued at 44.1 kHz: the streaming thread wakes
// every 10 ms, and a jump to another order is heard within one buffer.
constexpr int kMusicBuffers = 4;
constexpr int kMusicBufferFrames = 2048;

class MusicStream {
public:
    // Null, with libopenmpt's reason in error, when the file is no module it plays (an Unreal
    // ".umx" package is searched for the module inside). Needs a current OpenAL context.
    static std::unique_ptr<MusicStream> Load(std::vector<uint8_t> file, bool loop, int rate, std::string& error);
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    ALuint Source() const { return source_; }
    int Rate() const { return rate_; }

    // From the current position (restart: from the start); a playing music goes on.
    void Play(bool restart);
    void Pause();
    void Stop();
    // Order, row 0; with reset the module is made afresh from its file first, so nothing of the
    // old position (tempo, volumes, sounding notes) carries over. Queued sound is dropped, so
    // the jump is heard at once.
    void SetOrder(int order, bool reset);
    void Refill();

private:
    enum class State { Stopped, Playing, Paused };

    MusicStream() = default;
    bool CreateModule(std::string& error);
    // Renders one buffer's worth; false at the end of a song that does not loop.
    bool RenderInto(ALuint buffer);
    // Drops everything queued and queues fresh buffers from the current position.
    void RequeueAll();

    std::vector<uint8_t> file_; // kept for a reset
    openmpt_module* module_ = nullptr;
    bool loop_ = false;
    int rate_ = 0;
    State state_ = State::Stopped;
    ALuint source_ = 0;
    std::array<ALuint, kMusicBuffers> buffers_{};
    std::vector<int16_t> block_; // one buffer's interleaved frames
};

} // namespace orv
