// Qualifying bare texture names against the content tree.
#include "TextureNames.h"

#include "core/Text.h"
#include "core/Vfs.h"

namespace orv {

namespace {

constexpr std::string_view kTextureExtensions[] = {".png", ".jpg", ".bmp", ".firet", ".wett"};

std::string Join(const std::string& folder, std::string_view name) {
    if (folder.empty()) {
        return std::string(name);
    }
    return folder + "\\" + std::string(name);
}

} // namespace

void TextureNames::IndexFolder(const std::string& folder, const std::string& package, const std::string& group,
                               int depth) {
    for (const std::string& file : ListFiles(Join(folder, "*"))) {
        const size_t dot = file.rfind('.');
        if (dot == std::string::npos) {
            continue;
        }
        bool texture = false;
        for (std::string_view ext : kTextureExtensions) {
            texture |= SameText(std::string_view(file).substr(dot), ext);
        }
        if (!texture) {
            continue;
        }
        const std::string stem = file.substr(0, dot);
        // A file directly in the package's folder or one group deep has a name the engine resolves
        // directly; deeper ones are found by its recursive search from the package name alone.
        const std::string qualified = depth == 1 ? package + "." + group + "." + stem : package + "." + stem;
        index_.emplace(ToLowerAscii(stem), qualified);
    }
    for (const std::string& sub : ListDirectories(Join(folder, "*"))) {
        IndexFolder(Join(folder, sub), package, depth == 0 ? sub : group, depth + 1);
    }
}

void TextureNames::BuildIndex() {
    indexed_ = true;
    for (const char* base : {"Textures", "System"}) {
        const std::string root = Join(contentDir_, base);
        if (!DirectoryExists(root)) {
            continue;
        }
        for (const std::string& package : ListDirectories(Join(root, "*"))) {
            const std::string folder = Join(Join(root, package), "Textures");
            if (DirectoryExists(folder)) {
                IndexFolder(folder, package, "", 0);
            }
        }
    }
}

std::string TextureNames::Qualify(std::string_view name) {
    if (name.empty() || name.find('.') != std::string_view::npos) {
        return std::string(name);
    }
    if (!indexed_) {
        BuildIndex();
    }
    const auto found = index_.find(ToLowerAscii(name));
    if (found != index_.end()) {
        return found->second;
    }
    bool listed = false;
    for (const std::string& u : unresolved_) {
        listed |= SameText(u, name);
    }
    if (!listed) {
        unresolved_.emplace_back(name);
    }
    return std::string(name);
}

} // namespace orv
