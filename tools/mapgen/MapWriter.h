// Writing T3D maps the way the editor exports them: actors with their property lines, and brushes
// (CSG brushes and movers) as polygon lists in brush space around the brush's location, each
// polygon with its texture, flags, texture origin and axes.
#pragma once

#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv::mapgen {

// One polygon of a brush in world space, wound so that (P1 - P0) x (P2 - P0) points out of the
// brush (for a sheet: toward the side it is seen from).
struct Face {
    std::vector<Vector> Points;
    std::string Texture; // "Package.Group.Name"
    uint32_t Flags = 0;
    float TexelSize = 1.0f; // world units per texel
};

using Faces = std::vector<Face>;

// Texture axes for a face, both in its plane: on walls U level along the face and V down it; on
// floors, ceilings and slopes U follows X. Scaled to texelSize world units per texel.
void FaceAxes(const Vector& normal, float texelSize, Vector& u, Vector& v);

using Properties = std::vector<std::pair<std::string, std::string>>;

// Property values as the editor writes them.
std::string VectorValue(const Vector& v);
std::string RotatorValue(int pitch, int yaw, int roll);
std::string Quoted(const std::string& text);

class MapWriter {
public:
    // An actor named after its class and a running number (Light0, Light1, ...), unless the
    // properties hold a "Name" to use instead. Returns the name.
    std::string Actor(const std::string& className, const Vector& location, Properties properties = {});

    // A CSG brush: "CSG_Add" or "CSG_Subtract", with the brush's PolyFlags (0 for a solid brush).
    std::string Brush(const std::string& csgOper, const Faces& faces, uint32_t polyFlags = 0);

    // A mover whose brush is the faces, placed at `location` (the faces are given where the mover
    // rests at its first key position).
    std::string Mover(const Vector& location, const Faces& faces, Properties properties);

    // A comment line before the next actor, for whoever reads the file.
    void Comment(const std::string& text);

    std::string Text() const;

private:
    std::string NextName(const std::string& className);
    std::string BrushBlock(const std::string& name, const Vector& location, const Faces& faces) const;

    std::vector<std::pair<std::string, int>> counters_;
    std::string body_;
};

} // namespace orv::mapgen
