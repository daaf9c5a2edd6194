// Small T3D maps for the level compiler's tests, written the way the editor exports them, and the
// checks every compiled level must pass.
#pragma once

#include "LevelBuild.h"

#include "core/Vector.h"

#include <string>
#include <vector>

namespace orv::test {

using Polygon = std::vector<Vector>;

// The six faces of an axis-aligned box, wound so that (V1 - V0) x (V2 - V0) points out of it; the
// floor comes last.
std::vector<Polygon> BoxFaces(const Vector& min, const Vector& max);

// A Brush actor whose polygons all carry texture and flags (texture axes along each polygon's
// first edge); properties are whole lines such as "Location=(X=1,Y=2,Z=3)".
std::string BrushText(const std::string& name, const std::string& csgOper, const std::vector<Polygon>& polygons,
                      const std::vector<std::string>& properties = {},
                      const std::string& texture = "Orvane.Walls.Plain", uint32_t flags = 0);
std::string BoxBrush(const std::string& name, const std::string& csgOper, const Vector& min, const Vector& max,
                     const std::vector<std::string>& properties = {}, const std::string& texture = "Orvane.Walls.Plain",
                     uint32_t flags = 0);
std::string ActorText(const std::string& className, const std::string& name, const Vector& location,
                      const std::vector<std::string>& properties = {});
std::string MapText(const std::vector<std::string>& actors);

// Compiles and lights a map without a content tree; the level must pass ExpectSoundLevel.
CompiledLevel Compile(const std::string& t3d, int samples = 0);

// The engine's own zone lookup on a loaded model: down the tree from node 0, front where the
// plane distance is >= 0, then the zone byte of the side where the walk ends.
int ModelZoneAt(const LevelModel& model, const Vector& p);

// Every node polygon on its plane, convex, at most 32 corners, wound with its plane and never
// overlapping another on its plane facing the same way; stored surface normals opposite the
// planes; and at `samples` random points away from brush planes the tree, the written zone bytes
// and the brushes agree on solid and empty.
void ExpectSoundLevel(const CompiledLevel& level, int samples);

} // namespace orv::test
