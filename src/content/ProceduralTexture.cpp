// The .firet and .wett formats: readers, writers, and the textures built from them.
#include "content/ProceduralTexture.h"

#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"
#include "core/Fatal.h"

#include <algorithm>
#include <bit>

namespace orv {

namespace {

// The first field of each file; a reader refuses any other.
constexpr int32_t kFireVersion = 1;
constexpr int32_t kWetVersion = 2;
// Width and height follow the 4-byte version.
constexpr size_t kSizeOffset = sizeof(int32_t);
// A spark or drop record.
constexpr size_t kRecordSize = 8;

// The reading of one file that stops at its first problem and keeps the message, so that the
// texture loader can fall back where a short or oversized file would otherwise end the program.
class CheckedReader {
public:
    CheckedReader(BinaryReader& reader, ProceduralProblem& problem) : r_(reader), problem_(problem) {}

    bool Ok() const { return problem_.Message.empty(); }
    void Fail(std::string message) {
        if (Ok()) {
            problem_.Message = std::move(message);
        }
    }
    void Truncated(size_t at) { Fail(TruncatedFileMessage(r_.Name(), at)); }
    bool Fits(size_t n) {
        if (Ok() && r_.Remaining() < n) {
            Truncated(r_.Offset());
        }
        return Ok();
    }
    uint8_t U8() { return Fits(1) ? r_.U8() : 0; }
    uint32_t U32() { return Fits(4) ? r_.U32() : 0; }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    std::string String() {
        if (!Ok()) {
            return {};
        }
        const size_t at = r_.Offset();
        const std::span<const uint8_t> rest = r_.Block(r_.Remaining());
        r_.Seek(at);
        if (std::find(rest.begin(), rest.end(), uint8_t{0}) == rest.end()) {
            Truncated(r_.Size());
            return {};
        }
        return r_.String();
    }
    // Width and height follow the version; the update wraps with size masks, so both are powers
    // of two.
    void Size(std::string_view kind, int32_t& width, int32_t& height) {
        width = I32();
        height = I32();
        auto good = [](int32_t v) { return v > 0 && v <= kMaxProceduralSize && std::has_single_bit(static_cast<uint32_t>(v)); };
        if (Ok() && (!good(width) || !good(height))) {
            Fail("Bad " + std::string(kind) + " size " + std::to_string(width) + "x" + std::to_string(height) +
                 ", must be powers of two up to " + std::to_string(kMaxProceduralSize) + " (" + r_.Name() + ", offset " +
                 std::to_string(kSizeOffset) + ")");
        }
    }
    template <typename Record>
    void Records(std::vector<Record>& out) {
        static_assert(sizeof(Record) == kRecordSize);
        const size_t at = r_.Offset();
        const int32_t count = I32();
        if (Ok() && (count < 0 || static_cast<uint64_t>(count) * kRecordSize > r_.Remaining())) {
            Truncated(at);
        }
        if (Ok()) {
            out.resize(static_cast<size_t>(count));
            r_.Bytes(out.data(), out.size() * kRecordSize);
        }
    }
    BinaryReader& Reader() { return r_; }

private:
    BinaryReader& r_;
    ProceduralProblem& problem_;
};

template <typename File>
File ReadOrFail(BinaryReader& reader, ProceduralProblem (*read)(BinaryReader&, File&)) {
    File file;
    const ProceduralProblem problem = read(reader, file);
    if (!problem.Message.empty()) {
        FatalError(problem.Message);
    }
    return file;
}

void InitProcedural(ProceduralTexture& texture, int32_t width, int32_t height) {
    texture.Pixels = Image(width, height);
    texture.UMask = static_cast<uint32_t>(width - 1);
    texture.VMask = static_cast<uint32_t>(height - 1);
}

} // namespace

ProceduralProblem TryReadFireTextureFile(BinaryReader& reader, FireTextureFile& fire) {
    ProceduralProblem problem;
    CheckedReader in(reader, problem);
    if (const int32_t version = in.I32(); in.Ok() && version != kFireVersion) {
        return {"Bad FireTexture header. (" + reader.Name() + ")", true};
    }
    in.Size("FireTexture", fire.Width, fire.Height);
    for (uint32_t& colour : fire.Palette) {
        colour = in.U32();
    }
    fire.bRising = in.U8() != 0 ? 1 : 0;
    fire.RenderHeat = in.U8();
    const size_t limitOffset = reader.Offset();
    fire.SparkLimit = in.I32();
    if (in.Ok() && fire.SparkLimit < 0) {
        in.Truncated(limitOffset);
    }
    if (in.Ok() && fire.SparkLimit > kMaxSparkLimit) {
        in.Fail("Bad FireTexture spark limit " + std::to_string(fire.SparkLimit) + ", at most " +
                std::to_string(kMaxSparkLimit) + " (" + reader.Name() + ", offset " + std::to_string(limitOffset) + ")");
    }
    in.Records(fire.Sparks);
    return problem;
}

ProceduralProblem TryReadWetTextureFile(BinaryReader& reader, WetTextureFile& wet) {
    ProceduralProblem problem;
    CheckedReader in(reader, problem);
    if (const int32_t version = in.I32(); in.Ok() && version != kWetVersion) {
        return {"Bad WetTexture header. (" + reader.Name() + ")", true};
    }
    in.Size("WetTexture", wet.Width, wet.Height);
    wet.SourceTexture = in.String();
    wet.WaveAmplitude = in.U8();
    in.Records(wet.Drops);
    return problem;
}

FireTextureFile ReadFireTextureFile(BinaryReader& reader) { return ReadOrFail(reader, TryReadFireTextureFile); }

WetTextureFile ReadWetTextureFile(BinaryReader& reader) { return ReadOrFail(reader, TryReadWetTextureFile); }

std::vector<uint8_t> WriteFireTextureFile(const FireTextureFile& fire) {
    BinaryWriter w;
    w.I32(kFireVersion);
    w.I32(fire.Width);
    w.I32(fire.Height);
    for (uint32_t colour : fire.Palette) {
        w.U32(colour);
    }
    w.U8(fire.bRising);
    w.U8(fire.RenderHeat);
    w.I32(fire.SparkLimit);
    w.I32(static_cast<int32_t>(fire.Sparks.size()));
    w.Bytes(fire.Sparks.data(), fire.Sparks.size() * kRecordSize);
    return w.Take();
}

std::vector<uint8_t> WriteWetTextureFile(const WetTextureFile& wet) {
    BinaryWriter w;
    w.I32(kWetVersion);
    w.I32(wet.Width);
    w.I32(wet.Height);
    // A name stops at its first zero byte, as the reader will see it.
    w.String(std::string_view(wet.SourceTexture.c_str()));
    w.U8(wet.WaveAmplitude);
    w.I32(static_cast<int32_t>(wet.Drops.size()));
    w.Bytes(wet.Drops.data(), wet.Drops.size() * kRecordSize);
    return w.Take();
}

std::unique_ptr<FireTexture> MakeFireTexture(const FireTextureFile& file) {
    auto fire = std::make_unique<FireTexture>();
    InitProcedural(*fire, file.Width, file.Height);
    fire->Palette = file.Palette;
    fire->bRising = file.bRising;
    fire->RenderHeat = file.RenderHeat;
    fire->Sparks.Std() = file.Sparks;
    fire->Field.assign(static_cast<size_t>(file.Width) * static_cast<size_t>(file.Height), 0);
    fire->Moving.Resize(file.SparkLimit == 0 ? kDefaultSparkLimit : file.SparkLimit);
    return fire;
}

std::unique_ptr<WetTexture> MakeWetTexture(const WetTextureFile& file) {
    auto wet = std::make_unique<WetTexture>();
    InitProcedural(*wet, file.Width, file.Height);
    wet->SourceName = file.SourceTexture;
    wet->WaveAmplitude = file.WaveAmplitude == 0 ? kDefaultWaveAmplitude : file.WaveAmplitude;
    wet->Drops.Std() = file.Drops;
    const size_t cells = static_cast<size_t>(file.Width) * static_cast<size_t>(file.Height);
    wet->WaveHeight.assign(cells, 0);
    wet->WaveSpeed.assign(cells, 0);
    return wet;
}

} // namespace orv
