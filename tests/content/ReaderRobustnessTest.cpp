// Every binary reader against damaged files: each shortened copy of a valid file must end in
// the truncation error naming the file, and bytes changed at random must either load or end in
// a fatal error, never read out of bounds (the suites run under the address sanitizer).
#include "content/Font.h"
#include "content/MeshFiles.h"
#include "content/ProceduralTexture.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace orv {
namespace {

using ReaderRobustness = test::ContentTree;

struct Format {
    const char* Name;
    std::vector<uint8_t> Valid;
    std::function<void(BinaryReader&)> Read;
};

TEST_F(ReaderRobustness, ShortenedAndDamagedFilesNeverReadOutOfBounds) {
    FireTextureFile fire;
    fire.Width = 8;
    fire.Height = 8;
    fire.Sparks = {{1, 2, 3, 4, 5, 6, 7, 8}};
    WetTextureFile wet;
    wet.Width = 4;
    wet.Height = 4;
    wet.SourceTexture = "Pkg.Src";
    wet.Drops = {{1, 2, 3, 4, 5, 6, 7, 8}, {}};
    std::vector<FontPageFile> pages(2);
    pages[0].TextureName = "Pkg.Page";
    pages[0].Characters = {{1, 2, 3, 4}};
    pages[1].Characters = {{5, 6, 7, 8}, {}};
    MeshTriangle triangle;
    triangle.Vertex[1] = 1;

    Mesh mesh;
    const Format formats[] = {
        {"fire.firet", WriteFireTextureFile(fire), [](BinaryReader& r) { ReadFireTextureFile(r); }},
        {"water.wett", WriteWetTextureFile(wet), [](BinaryReader& r) { ReadWetTextureFile(r); }},
        {"page.font", WriteFontFile(pages), [this](BinaryReader& r) { ReadFont(Res, r); }},
        {"box_a.3d", WriteMeshAnimationFile(2, 2, {1, 2, 3, 4}), [&](BinaryReader& r) { ReadMeshAnimationFile(r, mesh); }},
        {"box_d.3d", WriteMeshDataFile(2, {triangle, triangle}), [&](BinaryReader& r) {
             mesh.FrameSize = 8;
             ReadMeshDataFile(r, mesh);
         }},
    };

    std::mt19937 random(1998);
    for (const Format& format : formats) {
        SCOPED_TRACE(format.Name);
        const std::string prefix = "Unexpected end of file (" + std::string(format.Name) + ", offset ";
        for (size_t length = 0; length < format.Valid.size(); ++length) {
            const std::vector<uint8_t> shortened(format.Valid.begin(), format.Valid.begin() + long(length));
            const std::string message = test::CatchFatal([&] {
                BinaryReader reader(format.Name, shortened);
                format.Read(reader);
            });
            ASSERT_EQ(message.rfind(prefix, 0), 0u) << "cut at " << length << ": " << message;
        }
        test::LogCapture quiet;
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> damaged = format.Valid;
            const int changes = 1 + int(random() % 4);
            for (int c = 0; c < changes; ++c) {
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
            }
            test::CatchFatal([&] {
                BinaryReader reader(format.Name, damaged);
                format.Read(reader);
            });
        }
    }
}

} // namespace
} // namespace orv
