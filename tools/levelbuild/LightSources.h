// The lights of a map. Exports write only the properties that differ from the class's defaults
// (a plain Light carries no LightType line), so each actor's lines are laid over its class
// chain's default properties, read from the class scripts of the content tree; the standard
// light classes keep built-in defaults for trees that lack their scripts.
#pragma once

#include "BuildMath.h"
#include "MapFile.h"

#include "content/Resources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class ClassDefaults {
public:
    // Reads every System\<package>\Classes\*.uc under contentDir (none when it is empty or has no
    // System folder); the built-in light classes fill in for missing scripts.
    explicit ClassDefaults(const std::string& contentDir);

    // The actor's properties as the engine gives them: class defaults first, then its own lines.
    PropertyList Merged(const MapActor& actor) const;

    int ScriptCount() const { return scripts_; }

private:
    Resources res_;
    int scripts_ = 0;
};

struct MapLight {
    int Actor = 0; // index into the map's actors
    DVector Location;
    uint8_t Brightness = 0;
    uint8_t Radius = 0;
    bool SpecialLit = false;

    // How far the light can reach a texel: (LightRadius + 1) x 25 units, one radius step more
    // than the LightRadius x 25 units the engine lights around it, to spare.
    double Reach() const { return (Radius + 1.0) * 25.0; }
};

// The actors whose LightType and LightBrightness are both above 0, in map order.
std::vector<MapLight> FindLights(const MapFile& map, const ClassDefaults& defaults);

} // namespace orv
