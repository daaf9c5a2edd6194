// The mesh table: meshes found by package-qualified name under System\<package>\Models\, read
// once and kept until exit, with their placement, skins, sequences and notifies taken from the
// #exec directives of the class scripts. Entry 0 is the empty mesh that stands in for any mesh
// that cannot be found.
#include "content/MeshFiles.h"
#include "content/PackageNames.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <cmath>

namespace orv {

namespace {

constexpr std::string_view kBlankTab = " \t";
// Directive angles count 256 to the turn, rotators 65536.
constexpr float kRotatorUnitsPerDirectiveUnit = 256.0f;

std::string_view FileNameOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

float ReadNumber(std::string_view text, std::string_view key) { return ParseFloat(TextBetween(text, key, kBlankTab)); }

void ApplyOrigin(Mesh& mesh, std::string_view text) {
    mesh.Origin = {ReadNumber(text, "x="), ReadNumber(text, "y="), ReadNumber(text, "z=")};
    auto units = [&](std::string_view key) {
        return static_cast<int32_t>(std::lrint(ReadNumber(text, key) * kRotatorUnitsPerDirectiveUnit));
    };
    mesh.RotOrigin = {units("pitch="), units("yaw="), units("roll=")};
}

void ApplyScale(Mesh& mesh, std::string_view text) {
    float* components[3] = {&mesh.Scale.X, &mesh.Scale.Y, &mesh.Scale.Z};
    const std::string_view keys[3] = {"x=", "y=", "z="};
    for (int i = 0; i < 3; ++i) {
        const std::string_view value = TextBetween(text, keys[i], kBlankTab);
        if (!value.empty()) {
            *components[i] = ParseFloat(value);
        }
    }
}

void ApplySetTexture(Resources& res, Mesh& mesh, std::string_view text, std::string_view meshName,
                     std::string_view package) {
    const int32_t num = ParseInt(TextBetween(text, "num=", kBlankTab));
    if (num < 0 || num >= kMeshSkinSlots) {
        Log("Warning: bad texture number " + std::to_string(num) + " in MESHMAP SETTEXTURE for " + std::string(meshName));
        return;
    }
    const std::string_view texture = TextBetween(text, "texture=", kBlankTab);
    mesh.Skins[num] = texture.empty() ? GetFallbackTexture(res) : LoadTexture(res, texture, false, package);
}

void ApplySequence(Mesh& mesh, std::string_view text) {
    MeshSequence sequence;
    sequence.Name = TextBetween(text, "seq=", kBlankTab);
    sequence.StartFrame = ParseInt(TextBetween(text, "startframe=", kBlankTab));
    sequence.NumFrames = ParseInt(TextBetween(text, "numframes=", kBlankTab));
    const std::string_view rate = TextBetween(text, "rate=", " ");
    sequence.Rate = rate.empty() ? kDefaultSequenceRate : static_cast<float>(ParseInt(rate));
    mesh.Sequences.Add(std::move(sequence));
}

void ApplyNotify(Mesh& mesh, std::string_view text) {
    MeshNotify notify;
    notify.Sequence = TextBetween(text, "seq=", kBlankTab);
    notify.Time = ReadNumber(text, "time=");
    notify.Function = TextBetween(text, "function=", kBlankTab);
    mesh.Notifies.Add(std::move(notify));
}

void ApplyDirective(Resources& res, Mesh& mesh, std::string_view text, std::string_view meshName,
                    std::string_view package) {
    text = TrimSpaces(text);
    if (StartsWithText(text, "mesh origin ")) {
        ApplyOrigin(mesh, text);
    } else if (StartsWithText(text, "meshmap scale ")) {
        ApplyScale(mesh, text);
    } else if (StartsWithText(text, "MESHMAP SETTEXTURE ")) {
        ApplySetTexture(res, mesh, text, meshName, package);
    } else if (StartsWithText(text, "MESH SEQUENCE ")) {
        ApplySequence(mesh, text);
    } else if (StartsWithText(text, "MESH NOTIFY ")) {
        ApplyNotify(mesh, text);
    }
}

BinaryReader OpenMeshFile(std::string_view path) {
    std::optional<BinaryReader> reader = BinaryReader::OpenFile(path);
    if (!reader) {
        FatalError("Can't open \"" + std::string(path) + "\": file not found.");
    }
    return std::move(*reader);
}

} // namespace

void AddFallbackMesh(Resources& res) {
    if (res.Meshes.IsEmpty()) {
        res.Meshes.Add(std::make_unique<Mesh>());
    }
}

Mesh* FindMesh(Resources& res, std::string_view fullName) {
    AddFallbackMesh(res);
    if (fullName.empty()) {
        return res.FallbackMesh();
    }
    return LoadMesh(res, fullName);
}

Mesh* LoadMesh(Resources& res, std::string_view fullName) {
    AddFallbackMesh(res);
    PackageName parts;
    if (!SplitPackageName(fullName, {}, parts)) {
        return res.FallbackMesh();
    }
    for (const std::unique_ptr<Mesh>& mesh : res.Meshes) {
        if (SameText(mesh->Name, parts.Name) && (parts.Package.empty() || SameText(mesh->Package, parts.Package))) {
            return mesh.get();
        }
    }
    if (parts.Package.empty() || parts.Name.empty()) {
        return res.FallbackMesh();
    }
    const std::string stem = "System\\" + parts.Package + "\\Models\\" + parts.Name;
    const std::string animationPath = stem + std::string(kMeshAnimationSuffix);
    const std::string dataPath = stem + std::string(kMeshDataSuffix);
    if (!FileExists(animationPath) || !FileExists(dataPath)) {
        return res.FallbackMesh();
    }
    auto mesh = std::make_unique<Mesh>();
    ReadMesh(res, *mesh, animationPath, dataPath, parts.Package);
    mesh->Package = parts.Package;
    mesh->Name = parts.Name;
    Mesh* loaded = mesh.get();
    res.Meshes.Add(std::move(mesh));
    return loaded;
}

void ReadMesh(Resources& res, Mesh& mesh, std::string_view animationPath, std::string_view dataPath,
              std::string_view package) {
    mesh = Mesh();
    std::string_view directiveName = FileNameOf(animationPath);
    directiveName.remove_suffix(std::min(directiveName.size(), kMeshAnimationSuffix.size()));

    BinaryReader animation = OpenMeshFile(animationPath);
    ReadMeshAnimationFile(animation, mesh);
    BinaryReader data = OpenMeshFile(dataPath);
    ReadMeshDataFile(data, mesh);

    for (const MeshDirective& directive : res.MeshDirectives) {
        if (SameText(directive.MeshName, directiveName)) {
            ApplyDirective(res, mesh, directive.Text, directiveName, package);
        }
    }
    // Animation keeps one fired bit per notify in 64 bits; later notifies can never fire.
    if (mesh.Notifies.Num() > kMaxMeshNotifies) {
        Log("Warning: " + std::string(directiveName) + " has " + std::to_string(mesh.Notifies.Num()) +
            " notifies; those past the " + std::to_string(kMaxMeshNotifies) + "th never fire");
    }
}

Vector GetMeshVertex(const Mesh& mesh, uint16_t frame, uint16_t vertex) {
    if (mesh.NumFrames == 0) {
        return {};
    }
    const int index = (frame % mesh.NumFrames) * mesh.NumVertices() + vertex;
    return UnpackMeshVertex(mesh.Frames[index]);
}

} // namespace orv
