// An original package file: header and tables read, a map's level converted to a T3D and a Level
// Model, and every texture, sound and music object written out as content files.
#include "FuzzSupport.h"

#include "Assets.h"
#include "MapImport.h"
#include "Package.h"

#include <filesystem>

namespace {

// Runs one stage; a refusal (a fatal error or the importer's own) ends only that stage.
template <typename Fn>
void Stage(Fn&& fn) {
    orv::fuzz::Guarded([&] {
        try {
            fn();
        } catch (const orv::ImportError&) {
        }
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    const std::filesystem::path root = fuzz::ScratchDir() + "/import";
    Stage([&] {
        const Package package = Package::FromBytes("Fuzz.unr", std::vector<uint8_t>(data, data + size));
        Stage([&] { ConvertMap(package); });
        AssetStats stats;
        Stage([&] { ImportAssets(package, root, stats); });
    });
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return 0;
}
