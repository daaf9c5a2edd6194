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

#include <cstring>
#include <functional>
#include <map>
#include <random>

namespace orv {
namespace {

using Bytes = std::vector<uint8_t>;
using ReaderRobustness = test::ContentTree;

TEST_F(ReaderRobustness, DamagedFilesEndInMessagesNamingFileAndOffsetAndNeverReadOutOfBounds) {
    // One valid file of every format, by name, with its reader: a fire texture of 8 x 8 with one
    // spark, a water texture of 4 x 4 with two drops, a font whose first page has no texture name
    // and two characters, a mesh animation of two frames of two vertices and a mesh data file of
    // two triangles.
    Mesh animated, mesh;
    mesh.FrameSize = 2 * 4; // two vertices, for the data file
    const FireTextureFile fire{.Width = 8, .Height = 8, .Sparks = {{1, 2, 3, 4, 5, 6, 7, 8}}};
    const WetTextureFile wet{.Width = 4, .Height = 4, .SourceTexture = "Pkg.Src", .Drops = {{1, 2, 3, 4}, {}}};
    const MeshTriangle triangle{.Vertex = {0, 1, 0}};
    const std::map<std::string, std::pair<Bytes, std::function<void(BinaryReader &&)>>> formats = {
        {"f.firet", {WriteFireTextureFile(fire), [](auto&& r) { ReadFireTextureFile(r); }}},
        {"w.wett", {WriteWetTextureFile(wet), [](auto&& r) { ReadWetTextureFile(r); }}},
        {"p.font",
         {WriteFontFile({{"", {{1, 2, 3, 4}, {5, 6, 7, 8}}}, {"Pkg.Page", {{}}}}),
          [&](auto&& r) { ReadFont(Res, r); }}},
        {"m_a.3d", {WriteMeshAnimationFile(2, 2, {1, 2, 3, 4}), [&](auto&& r) { ReadMeshAnimationFile(r, animated); }}},
        {"m_d.3d", {WriteMeshDataFile(2, {triangle, triangle}), [&](auto&& r) { ReadMeshDataFile(r, mesh); }}},
    };
    // The fatal message of reading bytes as the named format, or "<no fatal error>".
    auto readAs = [&](const std::string& name, const Bytes& bytes) {
        return test::CatchFatal([&] { formats.at(name).second(BinaryReader(name, bytes)); });
    };
    auto cut = [](std::string name, size_t offset) {
        return "Unexpected end of file (" + name + ", offset " + std::to_string(offset) + ")";
    };

    // Each shortened copy ends in the truncation error; 300 damaged copies, one to four bytes
    // changed in each, the same every run (fixed seed), load or end in a fatal error.
    std::mt19937 random(1998);
    for (const auto& [name, format] : formats) {
        SCOPED_TRACE(name);
        const Bytes& valid = format.first;
        ASSERT_EQ(readAs(name, valid), "<no fatal error>");
        const std::string prefix = "Unexpected end of file (" + name + ", offset ";
        for (size_t length = 0; length < valid.size(); ++length) {
            const std::string message = readAs(name, Bytes(valid.begin(), valid.begin() + long(length)));
            ASSERT_EQ(message.rfind(prefix, 0), 0u) << "cut at " << length << ": " << message;
        }
        test::LogCapture quiet;
        for (int round = 0; round < 300; ++round) {
            Bytes damaged = valid;
            for (int c = 0, changes = 1 + int(random() % 4); c < changes; ++c) {
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
            }
            readAs(name, damaged);
        }
    }

    // Bad headers, sizes and counts. A fire texture: version, width (offset 4), height, 256 palette
    // colours, the bRising and RenderHeat bytes, the spark limit, the spark count, 8 bytes a spark.
    // A water texture: version, width, height, then the source name. A font: header, page count,
    // then the first page's name (here only its zero byte) and character count. A mesh animation:
    // 2 bytes of frame count, 2 of FrameSize, then the frames; a mesh data file has a 48-byte header.
    constexpr size_t kSparkLimit = 3 * 4 + 256 * 4 + 2, kSparkCount = kSparkLimit + 4, kWetName = 3 * 4;
    constexpr size_t kPageCount = 4, kFirstCharacterCount = kPageCount + 4 + 1;
    constexpr int32_t kCut = INT32_MIN; // not a value to write: the file is cut at the offset
    const struct {
        const char* Format;
        size_t Offset;
        int32_t Value; // written over the 4 bytes there, little-endian as the files are
        std::string Message;
    } cases[] = {
        {"f.firet", 0, 2, "Bad FireTexture header. (f.firet)"},
        {"f.firet", 4, 48, "Bad FireTexture size 48x8, must be powers of two up to 4096 (f.firet, offset 4)"},
        {"f.firet", 8, 0, "Bad FireTexture size 8x0, must be powers of two up to 4096 (f.firet, offset 4)"},
        {"f.firet", kSparkLimit, -1, cut("f.firet", kSparkLimit)},
        {"f.firet", kSparkLimit, 65537, "Bad FireTexture spark limit 65537, at most 65536 (f.firet, offset 1038)"},
        {"f.firet", kSparkCount, -254, cut("f.firet", kSparkCount)},
        {"f.firet", kSparkCount + 4 + 8 - 1, kCut, cut("f.firet", kSparkCount)}, // a spark short
        {"w.wett", 0, 1, "Bad WetTexture header. (w.wett)"},
        {"w.wett", 4, 8192, "Bad WetTexture size 8192x4, must be powers of two up to 4096 (w.wett, offset 4)"},
        {"w.wett", kWetName + 2, kCut, cut("w.wett", kWetName + 2)}, // the name never ends
        {"p.font", 0, 15, "Bad Font header. (p.font)"},
        {"p.font", kPageCount, 0x10000000, cut("p.font", kPageCount)},
        {"p.font", kPageCount + 6, kCut, cut("p.font", kPageCount)}, // 2 bytes for 2 pages
        {"p.font", kFirstCharacterCount, 100, cut("p.font", kFirstCharacterCount)},
        {"p.font", kFirstCharacterCount, -2, cut("p.font", kFirstCharacterCount)},
        {"m_a.3d", 2, 6, "FrameSize not a multiply of four (m_a.3d)"},
        {"m_a.3d", 4 + 8, kCut, cut("m_a.3d", 4)}, // two frames announced, one given
        {"m_d.3d", 48 + 2 * 16 - 1, kCut, cut("m_d.3d", 48)},
        {"m_d.3d", 20, kCut, cut("m_d.3d", 20)}, // shorter than its header
    };
    for (const auto& c : cases) {
        Bytes bytes = formats.at(c.Format).first;
        if (c.Value == kCut) {
            bytes.resize(c.Offset);
        } else {
            std::memcpy(&bytes[c.Offset], &c.Value, 4);
        }
        EXPECT_EQ(readAs(c.Format, bytes), c.Message) << c.Format << " at " << c.Offset;
    }

    // A font's page count below one means no pages, and bytes after the last page are not read.
    BinaryReader negative("negative.font", Bytes{16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    EXPECT_EQ(ReadFont(Res, negative)->Pages.Num(), 0);
}

} // namespace
} // namespace orv
