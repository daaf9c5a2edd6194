// Sound files through libsndfile: WAV (8- and 16-bit PCM among others) and Ogg Vorbis decoded
// to 16-bit samples, and 16-bit WAV files written a block at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct DecodedSound {
    std::vector<int16_t> Samples; // interleaved, Channels to a frame
    int Channels = 0;
    int Rate = 0; // frames per second

    int64_t Frames() const { return Channels > 0 ? static_cast<int64_t>(Samples.size()) / Channels : 0; }
};

// Decodes a whole file (a content path, found case-blind). A file that cannot be read or
// decoded, or holds no sound, gives false and the reason in error.
bool DecodeSoundFile(std::string_view path, DecodedSound& out, std::string& error);

// Averages the channels of every frame into one.
void MixDownToMono(DecodedSound& sound);

// A 16-bit PCM WAV file; the header is finished when the writer goes.
class WavFileWriter {
public:
    // Null, with the reason in error, when the file cannot be made.
    static std::unique_ptr<WavFileWriter> Create(const std::string& path, int channels, int rate, std::string& error);
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    // Appends interleaved frames; false once the disk refuses them.
    bool Write(const int16_t* frames, int64_t count);

private:
    explicit WavFileWriter(void* file) : file_(file) {}
    void* file_; // the open SNDFILE
};

} // namespace orv
