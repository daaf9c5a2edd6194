// Helpers for the content tests: an uploader that keeps every call, and binary files written
// into a test tree.
#pragma once

#include "content/Resources.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

// Keeps every upload with its image and mode; hands out texture names from 1 upward.
class RecordingUploader final : public TextureUploader {
public:
    struct Upload {
        Image Pixels;
        int Mode = 0;          // the mode bits of UploadTexture; -1 for a generated image
        bool Generated = false;
        bool NearestFilter = false;
        uint32_t Name = 0;
    };

    uint32_t UploadTexture(const Image& image, int mode) override {
        Uploads.push_back({image, mode, false, false, ++nextName_});
        return nextName_;
    }
    uint32_t UploadGeneratedImage(const Image& image, bool nearestFilter) override {
        Uploads.push_back({image, -1, true, nearestFilter, ++nextName_});
        return nextName_;
    }
    void UploadTextureRegion(const Texture&, int, int, int, int) override {}
    void DeleteTexture(uint32_t glTexture) override { Deleted.push_back(glTexture); }

    std::vector<Upload> Uploads;
    std::vector<uint32_t> Deleted;

private:
    uint32_t nextName_ = 0;
};

// A test that runs inside a fresh content tree (its working directory), with a resource table
// that uploads through a RecordingUploader.
class ContentTree : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Write(const std::string& relative, const std::string& contents) { return Dir.Write(relative, contents); }

    TempDir Dir;
    RecordingUploader Uploader;
    Resources Res;

private:
    std::filesystem::path oldDirectory_;
};

inline std::string WriteBytes(const TempDir& dir, const std::string& relative, const std::vector<uint8_t>& bytes) {
    return dir.Write(relative, std::string(bytes.begin(), bytes.end()));
}

// A small PNG whose top-left pixel is the given colour.
std::string WritePng(const TempDir& dir, const std::string& relative, uint32_t topLeft, int width = 2, int height = 2);

} // namespace orv::test
