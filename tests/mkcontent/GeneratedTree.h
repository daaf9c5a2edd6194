// The content tree the build generated in the game folder (orvane-mkcontent, run as the build runs
// it), for the tests that check what the generator made, and the authored sources it reads.
#pragma once

#include "ContentTree.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test {

inline std::filesystem::path ContentSourceDir() { return SourceDir() / "content"; }

// A test that runs inside the game folder, where the engine's relative content paths resolve.
class GameTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(GameDir() / "System")) << GameDir() << " holds no generated content";
        oldDirectory_ = std::filesystem::current_path();
        std::filesystem::current_path(GameDir());
        InvalidateVfsCache();
    }
    void TearDown() override {
        if (!oldDirectory_.empty()) {
            std::filesystem::current_path(oldDirectory_);
            InvalidateVfsCache();
        }
    }

private:
    std::filesystem::path oldDirectory_;
};

} // namespace orv::test
