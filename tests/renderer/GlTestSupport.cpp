// Reference pictures.
#include "GlTestSupport.h"

#include "content/ImageFile.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv::test {

namespace {

std::filesystem::path ReferenceDir() { return SourceDir() / "tests" / "renderer" / "reference"; }

} // namespace

::testing::AssertionResult MatchesReference(const Image& frame, const std::string& name) {
    const std::filesystem::path reference = ReferenceDir() / (name + ".png");
    const char* update = std::getenv("ORV_UPDATE_REFERENCES");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(reference.parent_path());
        const std::vector<uint8_t> png = EncodePng(frame, false);
        std::ofstream(reference, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return ::testing::AssertionSuccess() << "rewrote " << reference;
    }
    std::ifstream in(reference, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Image expected;
    if (bytes.empty() || !DecodeImageMemory(bytes.data(), bytes.size(), expected)) {
        return ::testing::AssertionFailure() << "no reference picture " << reference
                                             << " (run with ORV_UPDATE_REFERENCES=1 to make it)";
    }
    if (expected.Width != frame.Width || expected.Height != frame.Height) {
        return ::testing::AssertionFailure() << "reference " << reference << " is " << expected.Width << "x"
                                             << expected.Height << ", the frame " << frame.Width << "x" << frame.Height;
    }
    Image difference(frame.Width, frame.Height);
    int differing = 0;
    int largest = 0;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const uint32_t a = frame.At(x, y);
            const uint32_t b = expected.At(x, y);
            const int d = std::max({std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)), std::abs(Blue(a) - Blue(b))});
            largest = std::max(largest, d);
            differing += d > 24 ? 1 : 0;
            const uint32_t g = static_cast<uint32_t>(std::min(255, d * 4));
            difference.At(x, y) = 0xFF000000u | (g << 16) | (g << 8) | g;
        }
    }
    const int allowed = frame.Width * frame.Height / 200;
    if (differing <= allowed) {
        return ::testing::AssertionSuccess();
    }
    const std::filesystem::path out = std::filesystem::current_path() / "renderer-pictures";
    std::filesystem::create_directories(out);
    const std::pair<const char*, const Image*> outputs[] = {{".actual.png", &frame}, {".difference.png", &difference}};
    for (const auto& [suffix, image] : outputs) {
        const std::vector<uint8_t> png = EncodePng(*image, false);
        std::ofstream((out / (name + suffix)), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    return ::testing::AssertionFailure() << differing << " pixels differ by more than 24 from " << reference
                                         << " (largest difference " << largest << ", " << allowed
                                         << " allowed); frame and difference written to " << out;
}

} // namespace orv::test
