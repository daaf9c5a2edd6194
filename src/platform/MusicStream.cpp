// Tracker music streamed from libopenmpt onto an OpenAL source.
#include "platform/MusicStream.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <string_view>

namespace orv {

namespace {

constexpr int kStereo = 2;
constexpr int32_t kRepeatForever = -1;
constexpr int32_t kPlayOnce = 0;

// libopenmpt dithers its 16-bit output from a randomly seeded generator; OpenAL mixes the music
// with everything else anyway, and without it every offline mix is the same.
const openmpt_module_initial_ctl kModuleControls[] = {{"dither", "0"}, {nullptr, nullptr}};

// An Unreal package (".umx") keeps its song as one object behind its name and export tables.
// libopenmpt reads such packages itself; one whose tables it does not follow still holds the
// module whole, found by the signature of the module's own header.
constexpr uint8_t kPackageTag[] = {0xC1, 0x83, 0x2A, 0x9E};

struct ModuleSignature {
    std::string_view Text;
    size_t Offset; // from the module's start
};
constexpr ModuleSignature kModuleSignatures[] = {
    {"IMPM", 0}, {"Extended Module: ", 0}, {"SCRM", 44}, {"M.K.", 1080}, {"M!K!", 1080},
};

bool IsPackage(const std::vector<uint8_t>& file) {
    return file.size() >= sizeof kPackageTag && std::equal(std::begin(kPackageTag), std::end(kPackageTag), file.begin());
}

// Where the first module inside the package starts, or the file's size when none is found.
size_t FindModuleInPackage(const std::vector<uint8_t>& file) {
    size_t first = file.size();
    for (const ModuleSignature& signature : kModuleSignatures) {
        const auto text = reinterpret_cast<const uint8_t*>(signature.Text.data());
        auto from = file.begin() + static_cast<ptrdiff_t>(std::min(file.size(), sizeof kPackageTag + signature.Offset));
        const auto found = std::search(from, file.end(), text, text + signature.Text.size());
        if (found != file.end()) {
            first = std::min(first, static_cast<size_t>(found - file.begin()) - signature.Offset);
        }
    }
    return first;
}

} // namespace

std::unique_ptr<MusicStream> MusicStream::Load(std::vector<uint8_t> file, bool loop, int rate, std::string& error) {
    std::unique_ptr<MusicStream> music(new MusicStream());
    music->file_ = std::move(file);
    music->loop_ = loop;
    music->rate_ = rate;
    if (!music->CreateModule(error)) {
        const size_t start = IsPackage(music->file_) ? FindModuleInPackage(music->file_) : music->file_.size();
        if (start == music->file_.size()) {
            return nullptr;
        }
        music->file_.erase(music->file_.begin(), music->file_.begin() + static_cast<ptrdiff_t>(start));
        if (!music->CreateModule(error)) {
            return nullptr;
        }
    }
    alGetError();
    alGenSources(1, &music->source_);
    if (alGetError() != AL_NO_ERROR) {
        music->source_ = 0;
        error = "no OpenAL source left";
        return nullptr;
    }
    alGenBuffers(kMusicBuffers, music->buffers_.data());
    if (alGetError() != AL_NO_ERROR) {
        music->buffers_.fill(0);
        error = "no OpenAL buffers left";
        return nullptr;
    }
    // Plain stereo at the listener, whatever the listener does.
    alSourcei(music->source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(music->source_, AL_ROLLOFF_FACTOR, 0.0f);
    music->block_.resize(static_cast<size_t>(kMusicBufferFrames) * kStereo);
    return music;
}

MusicStream::~MusicStream() {
    if (source_ != 0) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alDeleteSources(1, &source_);
    }
    if (buffers_[0] != 0) {
        alDeleteBuffers(kMusicBuffers, buffers_.data());
    }
    if (module_) {
        openmpt_module_destroy(module_);
    }
}

bool MusicStream::CreateModule(std::string& error) {
    int code = 0;
    const char* message = nullptr;
    openmpt_module* made = openmpt_module_create_from_memory2(file_.data(), file_.size(), openmpt_log_func_silent, nullptr,
                                                              openmpt_error_func_ignore, nullptr, &code, &message, kModuleControls);
    if (!made) {
        if (message && *message) {
            error = message;
        } else {
            const char* text = openmpt_error_string(code);
            error = text ? text : "not a module";
            openmpt_free_string(text);
        }
        openmpt_free_string(message);
        return false;
    }
    openmpt_free_string(message);
    if (module_) {
        openmpt_module_destroy(module_);
    }
    module_ = made;
    openmpt_module_set_repeat_count(module_, loop_ ? kRepeatForever : kPlayOnce);
    return true;
}

bool MusicStream::RenderInto(ALuint buffer) {
    const size_t frames = openmpt_module_read_interleaved_stereo(module_, rate_, kMusicBufferFrames, block_.data());
    if (frames == 0) {
        return false;
    }
    alBufferData(buffer, AL_FORMAT_STEREO16, block_.data(), static_cast<ALsizei>(frames * kStereo * sizeof(int16_t)), rate_);
    return true;
}

void MusicStream::RequeueAll() {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0); // a stopped source lets go of its whole queue
    for (ALuint buffer : buffers_) {
        if (!RenderInto(buffer)) {
            break;
        }
        alSourceQueueBuffers(source_, 1, &buffer);
    }
}

void MusicStream::Play(bool restart) {
    if (restart) {
        openmpt_module_set_position_seconds(module_, 0.0);
        RequeueAll();
    } else if (state_ == State::Playing) {
        return;
    } else if (state_ == State::Stopped) {
        RequeueAll();
    }
    state_ = State::Playing;
    alSourcePlay(source_);
}

void MusicStream::Pause() {
    if (state_ == State::Playing) {
        alSourcePause(source_);
        state_ = State::Paused;
    }
}

void MusicStream::Stop() {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    state_ = State::Stopped;
}

void MusicStream::SetOrder(int order, bool reset) {
    if (reset) {
        std::string error;
        CreateModule(error); // the bytes that loaded before; should it fail, the old module stays
    }
    openmpt_module_set_position_order_row(module_, order, 0);
    if (state_ == State::Stopped) {
        return; // the next Play queues from here
    }
    RequeueAll();
    if (state_ == State::Playing) {
        alSourcePlay(source_);
    }
}

void MusicStream::Refill() {
    if (state_ != State::Playing) {
        return;
    }
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (RenderInto(buffer)) {
            alSourceQueueBuffers(source_, 1, &buffer);
        }
    }
    ALint queued = 0;
    ALint playing = 0;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(source_, AL_SOURCE_STATE, &playing);
    if (playing != AL_PLAYING) {
        if (queued > 0) {
            alSourcePlay(source_); // it ran dry before this refill: go on with what is queued now
        } else {
            state_ = State::Stopped; // a song that does not loop has ended
        }
    }
}

} // namespace orv
