// Package-qualified names to files of the content tree: the shared trees under System\ and
// Textures\ (or Sounds\), then the current level's own folder under Maps\, then a recursive
// search below the package's folder.
#include "content/PackageNames.h"

#include "content/Resources.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <array>
#include <vector>

namespace orv {

namespace {

// Folders nested deeper than this are not searched, so a link loop cannot recurse forever.
constexpr int kMaxSearchDepth = 32;

struct ResourceKind {
    std::string_view SharedBase;  // "Textures\" or "Sounds\"
    std::string_view PackageSub;  // "\Textures\" or "\Sounds\"
    const std::string_view* Extensions;
    size_t ExtensionCount;
};

constexpr std::array<std::string_view, 5> kTextureExtensions = {".png", ".jpg", ".bmp", ".firet", ".wett"};
constexpr std::array<std::string_view, 2> kSoundExtensions = {".wav", ".ogg"};

constexpr ResourceKind kTextureKind{"Textures\\", "\\Textures\\", kTextureExtensions.data(), kTextureExtensions.size()};
constexpr ResourceKind kSoundKind{"Sounds\\", "\\Sounds\\", kSoundExtensions.data(), kSoundExtensions.size()};

// A texture's settings file shares its name; the recursive search must not mistake it for the
// picture (in a sorted listing "Name.ini" comes before "Name.png").
bool IsSettingsFile(std::string_view fileName) { return SameText(PathExtension(fileName), ".ini"); }

std::string SearchDirectory(std::string_view directory) {
    std::string dir(directory);
    if (!dir.empty() && dir.back() == '*') {
        dir.pop_back();
    } else if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) {
        dir += '\\';
    }
    return dir;
}

std::string FindRecursive(std::string_view directory, std::string_view pattern, bool skipSettingsFiles, int depth) {
    const std::string dir = SearchDirectory(directory);
    for (const std::string& file : ListFiles(dir + std::string(pattern))) {
        if (!skipSettingsFiles || !IsSettingsFile(file)) {
            return dir + file;
        }
    }
    if (depth >= kMaxSearchDepth) {
        return {};
    }
    for (const std::string& sub : ListDirectories(dir + "*")) {
        std::string found = FindRecursive(dir + sub, pattern, skipSettingsFiles, depth + 1);
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

std::string ResolvePackagePath(const Resources& res, std::string_view name, std::string_view defaultPackage,
                               const ResourceKind& kind) {
    PackageName parts;
    if (!SplitPackageName(name, defaultPackage, parts) || parts.Name.empty()) {
        return {};
    }
    std::vector<std::string> bases = {"System\\", std::string(kind.SharedBase)};
    if (!res.CurrentLevelName.empty()) {
        bases.push_back("Maps\\" + res.CurrentLevelName + "\\");
    }
    std::string tail = std::string(kind.PackageSub);
    if (!parts.Group.empty()) {
        tail += parts.Group + "\\";
    }
    tail += parts.Name;
    for (const std::string& base : bases) {
        const std::string stem = base + parts.Package + tail;
        for (size_t e = 0; e < kind.ExtensionCount; ++e) {
            std::string candidate = stem + std::string(kind.Extensions[e]);
            if (FileExists(candidate)) {
                return candidate;
            }
        }
    }
    return FindRecursive("System\\" + parts.Package + std::string(kind.PackageSub), parts.Name + ".*", true, 0);
}

} // namespace

std::string StripObjectReference(std::string_view text) {
    if (text.empty() || text.back() != '\'') {
        return std::string(text);
    }
    const size_t first = text.find('\'');
    const size_t last = text.size() - 1;
    if (first == last) {
        return {};
    }
    return std::string(text.substr(first + 1, last - first - 1));
}

bool SplitPackageName(std::string_view name, std::string_view defaultPackage, PackageName& out) {
    out = PackageName();
    const std::string bare = StripObjectReference(name);
    const std::vector<std::string_view> parts = SplitText(bare, '.');
    switch (parts.size()) { // Package.Group.Name, Package.Name or a bare Name
    case 3:
        out.Package = parts[0];
        out.Group = parts[1];
        out.Name = parts[2];
        return true;
    case 2:
        out.Package = parts[0];
        out.Name = parts[1];
        return true;
    case 1:
        out.Package = defaultPackage;
        out.Name = parts[0];
        return true;
    default:
        Log("Bad name " + std::string(name));
        return false;
    }
}

std::string_view PathExtension(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return path.substr(dot);
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    const std::string_view current = PathExtension(path);
    return std::string(path.substr(0, path.size() - current.size())) + std::string(extension);
}

std::string ResolveTexturePath(const Resources& res, std::string_view name, std::string_view defaultPackage) {
    return ResolvePackagePath(res, name, defaultPackage, kTextureKind);
}

std::string ResolveSoundPath(const Resources& res, std::string_view name, std::string_view defaultPackage) {
    return ResolvePackagePath(res, name, defaultPackage, kSoundKind);
}

std::string FindFileRecursive(std::string_view directory, std::string_view pattern) {
    return FindRecursive(directory, pattern, false, 0);
}

} // namespace orv
