// Texture names for the Level Model. Names the map already qualifies ("Package.Group.Name") are
// written as they stand; bare names, which real exports contain, are looked up in the texture
// folders of the content tree (Textures\*\Textures\** first, then System\*\Textures\**, case-blind,
// any of .png .jpg .bmp .firet .wett). Names found nowhere are kept as written and listed.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TextureNames {
public:
    explicit TextureNames(std::string contentDir) : contentDir_(std::move(contentDir)) {}

    std::string Qualify(std::string_view name);

    // Bare names not found in the content tree, each once, in the order first met.
    const std::vector<std::string>& Unresolved() const { return unresolved_; }

private:
    void BuildIndex();
    void IndexFolder(const std::string& folder, const std::string& package, const std::string& group, int depth);

    std::string contentDir_;
    bool indexed_ = false;
    std::map<std::string, std::string> index_; // lower-case bare name -> qualified name
    std::vector<std::string> unresolved_;
};

} // namespace orv
