// Helpers for the content tests: an uploader that keeps every call, a test that runs inside its
// own content tree, and binary files and pictures written into it.
#pragma once

#include "content/ImageFile.h"
#include "content/Resources.h"
#include "core/Vfs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace orv::test {

// Keeps the mode of every upload and every deletion; hands out texture names from 1 upward.
class RecordingUploader final : public TextureUploader {
public:
    struct Upload {
        int Mode = 0;               // the mode bits of UploadTexture; -1 for a generated image
        bool NearestFilter = false; // of a generated image
    };

    uint32_t UploadTexture(const Image&, int mode) override { return Add({mode, false}); }
    uint32_t UploadGeneratedImage(const Image&, bool nearest) override { return Add({-1, nearest}); }
    void UploadTextureRegion(const Texture&, int, int, int, int) override {}
    void DeleteTexture(uint32_t glTexture) override { Deleted.push_back(glTexture); }

    std::vector<Upload> Uploads; // upload n has the name n + 1
    std::vector<uint32_t> Deleted;

private:
    uint32_t Add(Upload upload) {
        Uploads.push_back(upload);
        return static_cast<uint32_t>(Uploads.size());
    }
};

// A test that runs inside a fresh content tree (its working directory), with a resource table
// that uploads through a RecordingUploader.
class ContentTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::current_path(Dir.Path());
        InvalidateVfsCache();
        Res.Uploader = &Uploader;
    }
    void TearDown() override {
        std::filesystem::current_path(oldDirectory_);
        InvalidateVfsCache();
    }
    std::string Write(const std::string& relative, const std::string& text) { return Dir.Write(relative, text); }

    const std::filesystem::path oldDirectory_ = std::filesystem::current_path();
    TempDir Dir;
    RecordingUploader Uploader;
    Resources Res;
};

// One line of text per element of a range, in order: a table's contents compared at once.
template <typename Range, typename Describe>
std::vector<std::string> Lines(const Range& range, Describe describe) {
    std::vector<std::string> lines;
    std::ranges::transform(range, std::back_inserter(lines), describe);
    return lines;
}

inline std::string WriteBytes(const TempDir& dir, const std::string& relative, const std::vector<uint8_t>& bytes) {
    return dir.Write(relative, std::string(bytes.begin(), bytes.end()));
}

// A small PNG whose top-left pixel is the given colour.
inline std::string WritePng(const TempDir& dir, const std::string& relative, uint32_t topLeft) {
    Image image(2, 2, 0xFF808080u);
    image.At(0, 0) = topLeft;
    return WriteBytes(dir, relative, EncodePng(image, true));
}

} // namespace orv::test
