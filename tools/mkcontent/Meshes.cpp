// Writing the meshes and their skins, and holding the class scripts to them: every #exec line
// the generator would write for a mesh must be in the UnrealShare class scripts, so the
// sequences, notifies, scales and skins the player reads always match the files.
#include "ContentTree.h"
#include "Creatures.h"

#include "content/MeshFiles.h"
#include "core/Text.h"

#include <fstream>
#include <set>

namespace orv {

std::vector<MeshDefinition> AllMeshDefinitions() {
    std::vector<MeshDefinition> all;
    all.push_back(MakeBrute());
    all.push_back(MakeSkaarj());
    all.push_back(MakeManta());
    all.push_back(MakeTentacle());
    all.push_back(MakeDevilFish());
    all.push_back(MakeBird());
    all.push_back(MakeMedBox());
    all.push_back(MakeNaliFruit());
    all.push_back(MakePistolPickup());
    all.push_back(MakePistolView());
    return all;
}

namespace {

// Directive lines of every class script of a package, with blanks collapsed, upper-cased.
std::set<std::string> ScriptExecLines(const std::filesystem::path& classes) {
    std::set<std::string> lines;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(classes, error)) {
        if (!EndsWithText(entry.path().string(), ".uc")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            const std::string_view trimmed = TrimBlanks(line);
            if (StartsWithText(trimmed, "#exec")) {
                std::string collapsed;
                for (const char c : trimmed) {
                    if (!(c == ' ' || c == '\t') || (!collapsed.empty() && collapsed.back() != ' ')) {
                        collapsed += (c == '\t') ? ' ' : c;
                    }
                }
                lines.insert(ToUpperAscii(collapsed));
            }
        }
    }
    return lines;
}

void WriteMesh(GeneratorContext& c, const MeshDefinition& mesh) {
    BakedMesh baked;
    std::string error;
    if (!BakeMesh(mesh, baked, error)) {
        c.Out.Fail(error);
        return;
    }
    const std::string models = "System\\UnrealShare\\Models\\" + mesh.Name;
    c.Out.WriteBytes(models + "_a.3d", WriteMeshAnimationFile(baked.NumFrames, baked.VertexCount, baked.Frames));
    c.Out.WriteBytes(models + "_d.3d", WriteMeshDataFile(baked.VertexCount, mesh.Model.Triangles()));
    for (size_t i = 0; i < mesh.Skins.size(); ++i) {
        // UnrealShare.Skins.JBrute1 lies at Textures\UnrealShare\Textures\Skins\JBrute1.png.
        const std::vector<std::string_view> parts = SplitText(mesh.Skins[i], '.');
        c.Out.WritePng("Textures\\" + std::string(parts[0]) + "\\Textures\\" + std::string(parts[1]) + "\\" +
                           std::string(parts[2]) + ".png",
                       mesh.SkinImages[i], false);
    }
    const std::filesystem::path classes = c.SourceDir / "System" / "UnrealShare" / "Classes";
    const std::set<std::string> script = ScriptExecLines(classes);
    for (const std::string& line : MeshExecLines(mesh, baked)) {
        if (!script.count(ToUpperAscii(line))) {
            c.Out.Fail("the class scripts in " + classes.string() + " lack the line: " + line);
        }
    }
}

} // namespace

void AddMeshJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"meshes", kPartMeshes, [](GeneratorContext& c) {
                        for (const MeshDefinition& mesh : AllMeshDefinitions()) {
                            WriteMesh(c, mesh);
                        }
                        c.Out.WritePng("Textures\\UnrealShare\\Textures\\Skins\\JMedBox2.png", MakeSuperHealthSkin(), false);
                    }});
}

} // namespace orv
