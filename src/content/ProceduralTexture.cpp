// The .firet and .wett formats: readers, writers, and the textures built from them.
#include "content/ProceduralTexture.h"

#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"
#include "core/Fatal.h"

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

// Width and height follow the version; the update wraps with size masks, so both are powers
// of two.
void ReadSize(BinaryReader& reader, std::string_view kind, int32_t& width, int32_t& height) {
    width = reader.I32();
    height = reader.I32();
    auto good = [](int32_t v) { return v > 0 && v <= kMaxProceduralSize && std::has_single_bit(static_cast<uint32_t>(v)); };
    if (!good(width) || !good(height)) {
        FatalError("Bad " + std::string(kind) + " size " + std::to_string(width) + "x" + std::to_string(height) +
                   ", must be powers of two up to " + std::to_string(kMaxProceduralSize) + " (" + reader.Name() +
                   ", offset " + std::to_string(kSizeOffset) + ")");
    }
}

template <typename Record>
void ReadRecords(BinaryReader& reader, Array<Record>& out) {
    static_assert(sizeof(Record) == kRecordSize);
    const int32_t count = reader.Count(kRecordSize);
    out.Resize(count);
    reader.Bytes(out.Data(), static_cast<size_t>(count) * kRecordSize);
}

void InitProcedural(ProceduralTexture& texture, int32_t width, int32_t height) {
    texture.Pixels = Image(width, height);
    texture.UMask = static_cast<uint32_t>(width - 1);
    texture.VMask = static_cast<uint32_t>(height - 1);
}

} // namespace

FireTextureFile ReadFireTextureFile(BinaryReader& reader) {
    FireTextureFile fire;
    if (reader.I32() != kFireVersion) {
        FatalError("Bad FireTexture header. (" + reader.Name() + ")");
    }
    ReadSize(reader, "FireTexture", fire.Width, fire.Height);
    for (uint32_t& colour : fire.Palette) {
        colour = reader.U32();
    }
    fire.bRising = reader.U8() != 0 ? 1 : 0;
    fire.RenderHeat = reader.U8();
    const size_t limitOffset = reader.Offset();
    fire.SparkLimit = reader.I32();
    if (fire.SparkLimit < 0) {
        reader.FailTruncated(limitOffset);
    }
    if (fire.SparkLimit > kMaxSparkLimit) {
        FatalError("Bad FireTexture spark limit " + std::to_string(fire.SparkLimit) + ", at most " +
                   std::to_string(kMaxSparkLimit) + " (" + reader.Name() + ", offset " + std::to_string(limitOffset) + ")");
    }
    Array<FireSpark> sparks;
    ReadRecords(reader, sparks);
    fire.Sparks = std::move(sparks.Std());
    return fire;
}

WetTextureFile ReadWetTextureFile(BinaryReader& reader) {
    WetTextureFile wet;
    if (reader.I32() != kWetVersion) {
        FatalError("Bad WetTexture header. (" + reader.Name() + ")");
    }
    ReadSize(reader, "WetTexture", wet.Width, wet.Height);
    wet.SourceTexture = reader.String();
    wet.WaveAmplitude = reader.U8();
    Array<WetDrop> drops;
    ReadRecords(reader, drops);
    wet.Drops = std::move(drops.Std());
    return wet;
}

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
