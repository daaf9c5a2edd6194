// Reference pictures.
#include "GlTestSupport.h"

#include "content/ImageFile.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace orv::test {

namespace {

// A channel differing by more than this counts the pixel as different; one pixel in this many
// may differ.
constexpr int kChannelTolerance = 24;
constexpr int kAllowedShare = 200;

} // namespace

::testing::AssertionResult MatchesReference(const Image& frame, const std::string& name) {
    const std::string reference = (SourceDir() / "tests" / "render" / "reference" / (name + ".png")).string();
    if (const char* update = std::getenv("ORV_UPDATE_REFERENCES"); update && std::string(update) == "1") {
        WritePngFile(reference, frame, false);
        return ::testing::AssertionSuccess() << "rewrote " << reference;
    }
    Image expected;
    if (!DecodeImageFile(reference, expected) || expected.Width != frame.Width || expected.Height != frame.Height) {
        return ::testing::AssertionFailure() << "no reference picture " << reference << " of the frame's size";
    }
    int differing = 0, largest = 0;
    for (size_t i = 0; i < frame.Pixels.size(); ++i) {
        const uint32_t a = frame.Pixels[i], b = expected.Pixels[i];
        const int d = std::max({std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)), std::abs(Blue(a) - Blue(b))});
        largest = std::max(largest, d);
        differing += d > kChannelTolerance ? 1 : 0;
    }
    const int allowed = frame.Width * frame.Height / kAllowedShare;
    if (differing <= allowed) {
        return ::testing::AssertionSuccess();
    }
    const std::filesystem::path out = std::filesystem::current_path() / "render-pictures" / (name + ".png");
    std::filesystem::create_directories(out.parent_path());
    WritePngFile(out.string(), frame, false);
    return ::testing::AssertionFailure() << differing << " pixels differ by more than " << kChannelTolerance << " from "
                                         << reference << " (largest difference " << largest << ", " << allowed
                                         << " allowed); the frame is in " << out;
}

} // namespace orv::test
