// Collision of moving actors with the level's triangles, the brushes of movers and the cylinders
// of blocking actors: the swept ellipsoid test, traces and the plain and sliding moves.
#pragma once

#include "core/Vector.h"

namespace orv {

struct Actor;
struct Mover;
struct World;
struct WorldTriangle;

// Upright cylinders (half heights, radii) overlap; touching counts as overlap.
bool CylindersOverlap(const Vector& locationA, float heightA, float radiusA, const Vector& locationB, float heightB,
                      float radiusB);

struct SweepResult {
    bool Found = false;
    float Distance = 0.0f; // in ellipsoid space: time times the velocity's length
    float Time = 0.0f;     // fraction of the move, 0..1
    Vector Point;          // the contact point, in ellipsoid space
};

// Whether an ellipsoid (horizontal radius, vertical half height) moving from start to end
// touches the triangle. Back faces never stop it. Double precision inside.
bool SweepEllipsoidTriangle(const Vector& start, const Vector& end, const Vector& p0, const Vector& p1,
                            const Vector& p2, float radius, float height, SweepResult* result = nullptr);

// The first solid triangle of the level's grid cells (in cell order, not the nearest) the move
// touches, or null.
const WorldTriangle* SweepWorld(const World& world, const Vector& start, const Vector& end, float radius, float height);
// The same against a mover's brush, placed by its brush transform, after a bounding-sphere test
// with BrushRadius. outNormal gets the hit triangle's normal turned into the world.
const WorldTriangle* SweepMover(const Actor& mover, const Vector& start, const Vector& end, float radius, float height,
                                Vector* outNormal = nullptr);

struct TraceResult {
    bool Hit = false;
    Actor* HitActor = nullptr; // null for the world
    Vector HitNormal;
};

// The world first, then movers and blocking actors in list order. A mover carrying or pushing
// a pawn is no obstacle to that pawn's own move: it passes itself as ignore.
TraceResult Trace(World& world, const Vector& start, const Vector& end, float radius, float height,
                  const Actor* ignore = nullptr);

// Moves any actor (projectiles, effects); HitWall tells it what it ran into.
void MoveActor(Actor& actor, const Vector& delta);

// The slide-and-step move of pawns: landing (with falling damage for the player), sliding along
// what it hits and stepping up 25 units against walls it walks into.
// carrier is the mover that carries or pushes the pawn by this move, which it passes through.
void MovePawn(Actor& pawn, const Vector& delta, int depth, const Actor* carrier = nullptr);

} // namespace orv
