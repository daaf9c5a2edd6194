// A content tree made for one test: only the parts it looks at, in a temporary folder.
#pragma once

#include "ContentTree.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace orv::test {

inline std::filesystem::path ContentSourceDir() {
    const char* source = std::getenv("ORV_SOURCE_DIR");
    return std::filesystem::path(source ? source : ORV_TEST_SOURCE_DIR) / "content";
}

class GeneratedTree {
public:
    explicit GeneratedTree(unsigned parts, int threads = 2) {
        ContentOptions options;
        options.OutDir = dir_.Path();
        options.SourceDir = ContentSourceDir();
        options.Parts = parts;
        options.Threads = threads;
        errors_ = GenerateContent(options);
    }
    const std::vector<std::string>& Errors() const { return errors_; }
    const std::filesystem::path& Path() const { return dir_.Path(); }

private:
    TempDir dir_;
    std::vector<std::string> errors_;
};

} // namespace orv::test
