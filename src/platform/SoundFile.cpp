// Decoding from memory through libsndfile's virtual I/O, so that content paths are read the
// engine's case-blind way; writing straight to the file.
#include "platform/SoundFile.h"

#include "core/Vfs.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

// Decoding goes in blocks, never trusting the frame count a header claims.
constexpr sf_count_t kDecodeBlockFrames = 4096;
// A longer sound is cut here: a damaged header must not fill the memory (ten minutes at 48 kHz).
constexpr int64_t kMaxDecodedFrames = int64_t{48000} * 60 * 10;
// libsndfile mixes any number of channels; the engine plays one or two.
constexpr int kMaxPlayedChannels = 2;

struct MemoryFile {
    const std::vector<uint8_t>& Bytes;
    sf_count_t Position = 0;
};

sf_count_t Length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->Bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t size = static_cast<sf_count_t>(file->Bytes.size());
    sf_count_t target = offset;
    if (whence == SEEK_CUR) {
        target += file->Position;
    } else if (whence == SEEK_END) {
        target += size;
    }
    file->Position = std::clamp<sf_count_t>(target, 0, size);
    return file->Position;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t left = static_cast<sf_count_t>(file->Bytes.size()) - file->Position;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    if (n > 0) { // an empty file has no buffer to copy from
        std::memcpy(out, file->Bytes.data() + file->Position, static_cast<size_t>(n));
    }
    file->Position += n;
    return n;
}

sf_count_t Tell(void* user) { return static_cast<MemoryFile*>(user)->Position; }

} // namespace

bool DecodeSoundFile(std::string_view path, DecodedSound& out, std::string& error) {
    out = DecodedSound();
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        error = "can't read the file";
        return false;
    }
    MemoryFile memory{bytes};
    SF_VIRTUAL_IO io{Length, Seek, Read, nullptr, Tell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = "no channels or no rate";
        return false;
    }
    // Float formats (Vorbis) read as integers at full scale, without wrapping at the peaks.
    sf_command(file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    out.Channels = info.channels;
    out.Rate = info.samplerate;
    std::vector<int16_t> block(static_cast<size_t>(kDecodeBlockFrames * info.channels));
    while (out.Frames() < kMaxDecodedFrames) {
        const sf_count_t got = sf_readf_short(file, block.data(), kDecodeBlockFrames);
        if (got <= 0) {
            break;
        }
        out.Samples.insert(out.Samples.end(), block.begin(), block.begin() + got * info.channels);
    }
    sf_close(file);
    if (out.Samples.empty()) {
        error = "no sound in it";
        return false;
    }
    if (out.Channels > kMaxPlayedChannels) {
        MixDownToMono(out);
    }
    return true;
}

void MixDownToMono(DecodedSound& sound) {
    if (sound.Channels <= 1) {
        return;
    }
    const int64_t frames = sound.Frames();
    for (int64_t f = 0; f < frames; ++f) {
        int32_t sum = 0;
        for (int c = 0; c < sound.Channels; ++c) {
            sum += sound.Samples[static_cast<size_t>(f * sound.Channels + c)];
        }
        sound.Samples[static_cast<size_t>(f)] = static_cast<int16_t>(sum / sound.Channels);
    }
    sound.Samples.resize(static_cast<size_t>(frames));
    sound.Channels = 1;
}

std::unique_ptr<WavFileWriter> WavFileWriter::Create(const std::string& path, int channels, int rate, std::string& error) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return nullptr;
    }
    return std::unique_ptr<WavFileWriter>(new WavFileWriter(file));
}

WavFileWriter::~WavFileWriter() { sf_close(static_cast<SNDFILE*>(file_)); }

bool WavFileWriter::Write(const int16_t* frames, int64_t count) {
    return sf_writef_short(static_cast<SNDFILE*>(file_), frames, count) == count;
}

} // namespace orv
