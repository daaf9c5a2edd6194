// Class scripts: the engine takes each class's name, parent and defaultproperties block, and
// the #exec mesh directives, from the .uc files under System\<package>\Classes\; it never runs
// the scripts. The start-up scan also preloads every mesh of System\<package>\Models\.
#include "content/MeshFiles.h"
#include "content/Resources.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <vector>

namespace orv {

namespace {

// What starts a directive line; the directive is the rest of the line.
constexpr std::string_view kExec = "#exec";

// Names end at a blank, a tab or a semicolon.
std::string_view ParentIn(std::string_view line) {
    std::string_view parent = TextBetween(line, "extends ", "; \t");
    if (parent.empty()) {
        parent = TextBetween(line, "expands ", "; \t");
    }
    return parent;
}

struct ScriptState {
    bool InDefaults = false;
    bool AwaitingParent = false;
    std::unique_ptr<ClassRecord> Current;
};

void ReadExec(Resources& res, std::string_view line) {
    const std::string_view directive = TrimBlanks(line.substr(kExec.size()));
    if (!StartsWithText(directive, "mesh")) {
        return;
    }
    std::string_view meshName = TextBetween(directive, "mesh=", " ");
    if (meshName.empty()) {
        meshName = TextBetween(directive, "meshmap=", " ");
    }
    res.MeshDirectives.Add(MeshDirective{std::string(meshName), std::string(directive)});
}

void ReadOutsideDefaults(Resources& res, ScriptState& state, std::string_view line, std::string_view packageName) {
    if (StartsWithText(line, kExec)) {
        ReadExec(res, line);
        return;
    }
    if (!state.Current && StartsWithText(line, "class")) {
        state.Current = std::make_unique<ClassRecord>();
        state.Current->Package = packageName;
        state.Current->Name = TextBetween(line, "class ", "; \t");
        state.Current->ParentName = ParentIn(line);
        state.AwaitingParent = state.Current->ParentName.empty();
        return;
    }
    if (state.AwaitingParent && state.Current) {
        const std::string lower = ToLowerAscii(line);
        if (lower.starts_with("extends") || lower.starts_with("expands")) {
            state.Current->ParentName = ParentIn(line);
            state.AwaitingParent = false;
            return;
        }
    }
    if (line == "defaultproperties") {
        state.InDefaults = true;
    }
}

void ReadInsideDefaults(Resources& res, ScriptState& state, std::string_view line, std::string_view path) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        if (line != "}") {
            return;
        }
        if (state.Current && !state.Current->Name.empty()) {
            res.Classes.Add(std::move(state.Current));
        } else {
            Log("Warning: Can't find class name in " + std::string(path));
        }
        state = ScriptState();
        return;
    }
    if (line.front() == ';' || !state.Current) {
        return;
    }
    state.Current->Defaults.Append(TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)));
}

// True when record is on the chain that starts at start (following the links made so far).
bool OnChain(const ClassRecord* start, const ClassRecord* record) {
    for (const ClassRecord* r = start; r; r = r->Parent) {
        if (r == record) {
            return true;
        }
    }
    return false;
}

void LinkParents(Resources& res) {
    for (const std::unique_ptr<ClassRecord>& record : res.Classes) {
        record->Parent = nullptr;
    }
    for (const std::unique_ptr<ClassRecord>& record : res.Classes) {
        if (record->ParentName.empty()) {
            continue;
        }
        ClassRecord* parent = FindClass(res, record->ParentName);
        if (!parent) {
            continue;
        }
        // Links are made in list order, so refusing the one link that would close a loop keeps
        // every chain finite.
        if (OnChain(parent, record.get())) {
            Log("Warning: class " + record->Name + " would be its own ancestor through " + record->ParentName);
            continue;
        }
        record->Parent = parent;
    }
}

} // namespace

void ParseClassScript(Resources& res, std::string_view path, std::string_view packageName) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Can't open \"" + std::string(path) + "\": file not found.");
    }
    ParseClassScriptText(res, text, path, packageName);
}

void ParseClassScriptText(Resources& res, std::string_view text, std::string_view path, std::string_view packageName) {
    ScriptState state;
    for (const std::string& raw : SplitLines(text)) {
        if (raw.empty()) {
            continue;
        }
        const std::string_view line = TrimBlanks(raw);
        if (state.InDefaults) {
            ReadInsideDefaults(res, state, line, path);
        } else {
            ReadOutsideDefaults(res, state, line, packageName);
        }
    }
}

void LinkClassParents(Resources& res) { LinkParents(res); }

void LoadClassDefaults(Resources& res) {
    Log("Loading defaultproperties and meshes...");
    AddFallbackMesh(res);
    for (const std::string& package : ListDirectories("System\\*")) {
        const std::string classes = "System\\" + package + "\\Classes\\";
        for (const std::string& file : ListFiles(classes + "*.uc")) {
            ParseClassScript(res, classes + file, package);
        }
        // Each mesh once, by either of its two files (Name_a.3d, Name_d.3d).
        const size_t suffix = kMeshAnimationSuffix.size();
        for (const std::string& file : ListFiles("System\\" + package + "\\Models\\*.3d")) {
            if (file.size() > suffix) {
                LoadMesh(res, package + "." + file.substr(0, file.size() - suffix));
            }
        }
    }
    LinkParents(res);
}

ClassRecord* FindClass(const Resources& res, std::string_view className) {
    for (const std::unique_ptr<ClassRecord>& record : res.Classes) {
        if (SameText(record->Name, className)) {
            return record.get();
        }
    }
    return nullptr;
}

bool IsA(const Resources& res, std::string_view className, std::string_view baseName) {
    const ClassRecord* start = FindClass(res, className);
    int steps = res.Classes.Num();
    for (const ClassRecord* r = start; r && steps >= 0; r = r->Parent, --steps) {
        if (SameText(r->Name, baseName) || SameText(r->ParentName, baseName)) {
            return true;
        }
    }
    return false;
}

bool IsSameOrA(const Resources& res, std::string_view className, std::string_view baseName) {
    return SameText(className, baseName) || IsA(res, className, baseName);
}

ClassRecord* ApplyClassDefaults(const Resources& res, std::string_view className, PropertyList& properties) {
    ClassRecord* record = FindClass(res, className);
    if (!record) {
        return nullptr;
    }
    std::vector<const ClassRecord*> chain;
    for (const ClassRecord* r = record; r && chain.size() <= static_cast<size_t>(res.Classes.Num()); r = r->Parent) {
        chain.push_back(r);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const PropertyPair& pair : (*it)->Defaults.Pairs) {
            properties.Set(pair.Key, pair.Value);
        }
    }
    return record;
}

} // namespace orv
