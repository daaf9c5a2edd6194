// Class defaults and the light actors of a map.
#include "LightSources.h"

#include "content/PropertyValues.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <filesystem>
#include <utility>

namespace orv {

namespace {

struct BuiltInClass {
    const char* Name;
    const char* Parent;
    std::vector<std::pair<const char*, const char*>> Defaults;
};

// The defaults of the editor's light classes, for content trees without their scripts.
const std::vector<BuiltInClass>& BuiltInLightClasses() {
    static const std::vector<BuiltInClass> classes = {
        {"Light",
         "Actor",
         {{"bStatic", "True"},
          {"LightType", "LT_Steady"},
          {"LightBrightness", "64"},
          {"LightSaturation", "255"},
          {"LightRadius", "64"}}},
        {"Spotlight", "Light", {{"LightEffect", "LE_Spotlight"}, {"LightCone", "128"}}},
        {"TriggerLight", "Light", {{"bStatic", "False"}}},
    };
    return classes;
}

// Parents by name, refusing any link that would close a loop.
void LinkParents(Resources& res) {
    for (const auto& record : res.Classes) {
        record->Parent = nullptr;
    }
    for (const auto& record : res.Classes) {
        ClassRecord* parent = record->ParentName.empty() ? nullptr : FindClass(res, record->ParentName);
        for (const ClassRecord* p = parent; p; p = p->Parent) {
            if (p == record.get()) {
                parent = nullptr;
                break;
            }
        }
        record->Parent = parent;
    }
}

} // namespace

ClassDefaults::ClassDefaults(const std::string& contentDir) {
    if (!contentDir.empty()) {
        const std::string system = (std::filesystem::path(contentDir) / "System").string();
        for (const std::string& package : ListDirectories(system + "/*")) {
            const std::string classes = system + "/" + package + "/Classes/";
            for (const std::string& file : ListFiles(classes + "*.uc")) {
                ParseClassScript(res_, classes + file, package);
                ++scripts_;
            }
        }
    }
    for (const BuiltInClass& builtIn : BuiltInLightClasses()) {
        if (FindClass(res_, builtIn.Name)) {
            continue;
        }
        auto record = std::make_unique<ClassRecord>();
        record->Name = builtIn.Name;
        record->ParentName = builtIn.Parent;
        for (const auto& [key, value] : builtIn.Defaults) {
            record->Defaults.Append(key, value);
        }
        res_.Classes.Add(std::move(record));
    }
    LinkParents(res_);
}

PropertyList ClassDefaults::Merged(const MapActor& actor) const {
    PropertyList merged;
    ApplyClassDefaults(res_, actor.Class, merged);
    for (const PropertyPair& pair : actor.Properties.Pairs) {
        merged.Set(pair.Key, pair.Value);
    }
    return merged;
}

std::vector<MapLight> FindLights(const MapFile& map, const ClassDefaults& defaults) {
    std::vector<MapLight> lights;
    for (size_t a = 0; a < map.Actors.size(); ++a) {
        const MapActor& actor = map.Actors[a];
        if (SameText(actor.Class, "Brush")) {
            continue;
        }
        const PropertyList p = defaults.Merged(actor);
        int32_t type = 0;
        ParseEnumValue(p.Get("LightType"), kLightTypeNames, type);
        MapLight light;
        light.Brightness = ParseByte(p.Get("LightBrightness"));
        if (type <= 0 || light.Brightness == 0) {
            continue;
        }
        light.Actor = static_cast<int>(a);
        light.Location = DVector(ParseVectorValue(p.Get("Location")));
        light.Radius = ParseByte(p.Get("LightRadius"));
        light.SpecialLit = ParseBool(p.Get("bSpecialLit"));
        lights.push_back(light);
    }
    return lights;
}

} // namespace orv
