// Every binary reader against damaged files. Each shortened copy of a valid file ends in the
// truncation error naming the file; bytes changed at random either load or end in a fatal error,
// never in a read out of bounds (the suites run under the address sanitizer); and bad headers,
// sizes and counts give their exact messages, naming the file and the offset of the field.
#include "content/Font.h"
#include "content/MeshFiles.h"
#include "content/ProceduralTexture.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

namespace orv {
namespace {

using Bytes = std::vector<uint8_t>;

class ReaderRobustness : public test::ContentTree {
protected:
    struct Format {
        Bytes Valid;
        std::function<void(BinaryReader&)> Read;
    };

    // One valid file of every format, by name, with its reader: a fire texture of 8 x 8 with one
    // spark, a water texture of 4 x 4 with two drops, a font whose first page has no texture name
    // and two characters, a mesh animation of two frames of two vertices and a mesh data file of
    // two triangles.
    void SetUp() override {
        ContentTree::SetUp();
        const std::vector<FontPageFile> pages = {{"", {{1, 2, 3, 4}, {5, 6, 7, 8}}}, {"Pkg.Page", {{}}}};
        const FireTextureFile fire{.Width = 8, .Height = 8, .Sparks = {{1, 2, 3, 4, 5, 6, 7, 8}}};
        const WetTextureFile wet{.Width = 4, .Height = 4, .SourceTexture = "Pkg.Src", .Drops = {{1, 2, 3, 4}, {}}};
        const MeshTriangle triangle{.Vertex = {0, 1, 0}};
        mesh_.FrameSize = 2 * 4;
        formats_ = {
            {"f.firet", {WriteFireTextureFile(fire), [](auto& r) { ReadFireTextureFile(r); }}},
            {"w.wett", {WriteWetTextureFile(wet), [](auto& r) { ReadWetTextureFile(r); }}},
            {"p.font", {WriteFontFile(pages), [this](auto& r) { ReadFont(Res, r); }}},
            {"m_a.3d",
             {WriteMeshAnimationFile(2, 2, {1, 2, 3, 4}), [this](auto& r) { ReadMeshAnimationFile(r, animated_); }}},
            {"m_d.3d", {WriteMeshDataFile(2, {triangle, triangle}), [this](auto& r) { ReadMeshDataFile(r, mesh_); }}},
        };
    }

    // The fatal message of reading bytes as the named format, or "<no fatal error>".
    std::string ReadAs(const std::string& name, const Bytes& bytes) {
        return test::CatchFatal([&] {
            BinaryReader reader(name, bytes);
            formats_.at(name).Read(reader);
        });
    }

    std::map<std::string, Format> formats_;
    Mesh animated_; // what the animation file fills
    Mesh mesh_;     // of two vertices, for the data file
};

TEST_F(ReaderRobustness, ShortenedAndDamagedFilesNeverReadOutOfBounds) {
    std::mt19937 random(1998);
    for (const auto& [name, format] : formats_) {
        SCOPED_TRACE(name);
        ASSERT_EQ(ReadAs(name, format.Valid), "<no fatal error>");
        const std::string prefix = "Unexpected end of file (" + name + ", offset ";
        for (size_t length = 0; length < format.Valid.size(); ++length) {
            const std::string message = ReadAs(name, Bytes(format.Valid.begin(), format.Valid.begin() + long(length)));
            ASSERT_EQ(message.rfind(prefix, 0), 0u) << "cut at " << length << ": " << message;
        }
        // 300 damaged copies, one to four bytes changed in each, the same every run (fixed seed).
        test::LogCapture quiet;
        for (int round = 0; round < 300; ++round) {
            Bytes damaged = format.Valid;
            const int changes = 1 + int(random() % 4);
            for (int c = 0; c < changes; ++c) {
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
            }
            ReadAs(name, damaged);
        }
    }
}

TEST_F(ReaderRobustness, BadHeadersSizesAndCountsNameTheFileAndTheField) {
    // Where the damaged fields are. A fire texture: version, width (offset 4), height, 256 palette
    // colours, the bRising and RenderHeat bytes, the spark limit, the spark count, 8 bytes a spark.
    // A water texture: version, width, height, then the source name. A font: header, page count,
    // then the first page's name (here only its zero byte) and character count. A mesh animation:
    // 2 bytes of frame count, 2 of FrameSize, then the frames; a mesh data file has a 48-byte header.
    constexpr size_t kFireSparkLimit = 3 * 4 + 256 * 4 + 2;
    constexpr size_t kFireSparkCount = kFireSparkLimit + 4;
    constexpr size_t kWetName = 3 * 4;
    constexpr size_t kFontPageCount = 4;
    constexpr size_t kFontFirstCharacterCount = kFontPageCount + 4 + 1;
    constexpr int64_t kCut = INT64_MIN; // not a value to write: the file is cut at the offset
    auto cut = [](std::string name, size_t offset) {
        return "Unexpected end of file (" + name + ", offset " + std::to_string(offset) + ")";
    };
    const struct {
        const char* Format;
        size_t Offset;
        int64_t Value; // written as 4 little-endian bytes
        std::string Message;
    } cases[] = {
        {"f.firet", 0, 2, "Bad FireTexture header. (f.firet)"},
        {"f.firet", 4, 48, "Bad FireTexture size 48x8, must be powers of two up to 4096 (f.firet, offset 4)"},
        {"f.firet", 8, 0, "Bad FireTexture size 8x0, must be powers of two up to 4096 (f.firet, offset 4)"},
        {"f.firet", kFireSparkLimit, -1, cut("f.firet", kFireSparkLimit)},
        {"f.firet", kFireSparkLimit, 65537,
         "Bad FireTexture spark limit 65537, at most 65536 (f.firet, offset " + std::to_string(kFireSparkLimit) + ")"},
        {"f.firet", kFireSparkCount, -254, cut("f.firet", kFireSparkCount)},
        {"f.firet", kFireSparkCount + 4 + 8 - 1, kCut, cut("f.firet", kFireSparkCount)}, // a spark short
        {"w.wett", 0, 1, "Bad WetTexture header. (w.wett)"},
        {"w.wett", 4, 8192, "Bad WetTexture size 8192x4, must be powers of two up to 4096 (w.wett, offset 4)"},
        {"w.wett", kWetName + 2, kCut, cut("w.wett", kWetName + 2)}, // the name never ends
        {"p.font", 0, 15, "Bad Font header. (p.font)"},
        {"p.font", kFontPageCount, 0x10000000, cut("p.font", kFontPageCount)},
        {"p.font", kFontPageCount + 6, kCut, cut("p.font", kFontPageCount)}, // 2 bytes for 2 pages
        {"p.font", kFontFirstCharacterCount, 100, cut("p.font", kFontFirstCharacterCount)},
        {"p.font", kFontFirstCharacterCount, -2, cut("p.font", kFontFirstCharacterCount)},
        {"m_a.3d", 2, 6, "FrameSize not a multiply of four (m_a.3d)"},
        {"m_a.3d", 4 + 8, kCut, cut("m_a.3d", 4)}, // two frames announced, one given
        {"m_d.3d", 48 + 2 * 16 - 1, kCut, cut("m_d.3d", 48)},
        {"m_d.3d", 20, kCut, cut("m_d.3d", 20)}, // shorter than its header
    };
    for (const auto& c : cases) {
        Bytes bytes = formats_.at(c.Format).Valid;
        if (c.Value == kCut) {
            bytes.resize(c.Offset);
        } else {
            for (size_t i = 0; i < 4; ++i) {
                bytes[c.Offset + i] = static_cast<uint8_t>(static_cast<uint64_t>(c.Value) >> (8 * i));
            }
        }
        EXPECT_EQ(ReadAs(c.Format, bytes), c.Message) << c.Format << " at " << c.Offset;
    }

    // A font's page count below one means no pages, and bytes after the last page are not read.
    BinaryReader negative("negative.font", Bytes{16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    EXPECT_EQ(ReadFont(Res, negative)->Pages.Num(), 0);
}

} // namespace
} // namespace orv
