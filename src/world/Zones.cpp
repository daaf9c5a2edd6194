// Zone lookup.
#include "world/Zones.h"

#include "world/ActorClasses.h"
#include "world/World.h"

#include <cmath>

namespace orv {

namespace {

bool DynamicZoneContains(const DynamicZoneInfo& zone, const Vector& p) {
    if (zone.bBoxShape) {
        const Vector lo = zone.Location + zone.BoxMin, hi = zone.Location + zone.BoxMax;
        return p.X > lo.X && p.X < hi.X && p.Y > lo.Y && p.Y < hi.Y && p.Z > lo.Z && p.Z < hi.Z;
    }
    const float dx = p.X - zone.Location.X, dy = p.Y - zone.Location.Y;
    return std::fabs(p.Z - zone.Location.Z) < zone.CollisionHeight && std::sqrt(dx * dx + dy * dy) < zone.CollisionRadius;
}

} // namespace

Actor* FindZoneAt(const World& world, const Vector& location) {
    const Level& level = world.CurrentLevel;
    for (int i = level.DynamicZones.Num() - 1; i >= 0; --i) {
        if (DynamicZoneContains(*level.DynamicZones[i], location)) {
            return level.DynamicZones[i];
        }
    }
    Actor* fallback = level.Info;
    const LevelModel& model = level.Model;
    if (model.Nodes.IsEmpty()) {
        return fallback;
    }
    int32_t index = 0;
    // A tree is at most as deep as it has nodes; the bound guards against a looping file.
    for (int steps = 0; steps <= model.Nodes.Num(); ++steps) {
        const BspNode& node = model.Nodes[index];
        const bool front = node.NodePlane.Distance(location) >= 0;
        const int32_t child = front ? node.Front : node.Back;
        if (child < 0) {
            Actor* zone = level.ZoneActor(front ? node.SecondZone : node.FirstZone);
            return zone ? zone : fallback;
        }
        index = child;
    }
    return fallback;
}

} // namespace orv
