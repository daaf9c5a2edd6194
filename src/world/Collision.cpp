// Swept ellipsoids against triangles, traces and moves.
#include "world/Collision.h"

#include "content/BrushTransform.h"
#include "content/LevelModel.h"
#include "core/Log.h"
#include "world/ActorBrush.h"
#include "world/ActorClasses.h"
#include "world/Mover.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Lowest root of a x^2 + b x + c strictly inside (0, limit).
bool LowestRoot(double a, double b, double c, double limit, double& root) {
    const double det = b * b - 4.0 * a * c;
    if (det < 0.0 || a == 0.0) {
        return false;
    }
    const double s = std::sqrt(det);
    double r1 = (-b - s) / (2 * a), r2 = (-b + s) / (2 * a);
    if (r1 > r2) {
        std::swap(r1, r2);
    }
    if (r1 > 0 && r1 < limit) {
        root = r1;
        return true;
    }
    if (r2 > 0 && r2 < limit) {
        root = r2;
        return true;
    }
    return false;
}

bool PointInTriangle(const DVector& point, const DVector& p0, const DVector& p1, const DVector& p2) {
    const DVector e10 = p1 - p0, e20 = p2 - p0;
    const double a = Dot(e10, e10), b = Dot(e10, e20), c = Dot(e20, e20);
    const DVector vp = point - p0;
    const double d = Dot(vp, e10), e = Dot(vp, e20);
    const double x = d * c - e * b, y = e * a - d * b, z = x + y - (a * c - b * b);
    return z < 0 && !(x < 0) && !(y < 0);
}

} // namespace

bool CylindersOverlap(const Vector& locationA, float heightA, float radiusA, const Vector& locationB, float heightB,
                      float radiusB) {
    Vector d = locationA - locationB;
    d.Z = 0;
    return radiusA + radiusB >= Length(d) && locationB.Z + heightB >= locationA.Z - heightA &&
           locationA.Z + heightA >= locationB.Z - heightB;
}

bool SweepEllipsoidTriangle(const Vector& start, const Vector& end, const Vector& q0, const Vector& q1,
                            const Vector& q2, float radius, float height, SweepResult* result) {
    const double rx = radius, rz = height;
    auto toE = [&](const Vector& v) { return DVector{v.X / rx, v.Y / rx, v.Z / rz}; };
    const DVector base = toE(start), velocity = toE(end) - toE(start);
    const DVector p0 = toE(q0), p1 = toE(q1), p2 = toE(q2);
    const DVector rawNormal = Cross(p1 - p0, p2 - p0);
    // Back faces: the sign of normal . direction is that of the unnormalised vectors.
    if (Dot(rawNormal, velocity) > 0) {
        return false;
    }
    const DVector normal = Normalized(rawNormal);
    const double constant = -Dot(normal, p0);
    const double d = Dot(normal, base) + constant;
    const double nd = Dot(normal, velocity);
    bool embedded = false;
    double t0 = 0, t1 = 1;
    if (static_cast<float>(nd) == 0.0f) {
        if (std::fabs(d) >= 1.0) {
            return false;
        }
        embedded = true;
    } else {
        t0 = (-1.0 - d) / nd;
        t1 = (1.0 - d) / nd;
        if (t0 > t1) {
            std::swap(t0, t1);
        }
        if (t0 > 1.0 || t1 < 0.0) {
            return false;
        }
        t0 = std::clamp(t0, 0.0, 1.0);
    }
    bool found = false;
    double t = 1.0;
    DVector contact;
    if (!embedded) {
        const DVector planePoint = base - normal + velocity * t0;
        if (PointInTriangle(planePoint, p0, p1, p2)) {
            found = true;
            t = t0;
            contact = planePoint;
        }
    }
    if (!found) {
        const double velocitySq = Dot(velocity, velocity);
        double root = 0;
        for (const DVector& p : {p0, p1, p2}) {
            const double b = 2.0 * Dot(velocity, base - p);
            const double c = Dot(p - base, p - base) - 1.0;
            if (LowestRoot(velocitySq, b, c, t, root)) {
                t = root;
                found = true;
                contact = p;
            }
        }
        const DVector edges[3][2] = {{p0, p1}, {p1, p2}, {p2, p0}};
        for (const auto& edge : edges) {
            const DVector e = edge[1] - edge[0];
            const DVector baseToVertex = edge[0] - base;
            const double edgeSq = Dot(e, e);
            const double edgeDotVelocity = Dot(e, velocity);
            const double edgeDotBase = Dot(e, baseToVertex);
            const double a = edgeSq * -velocitySq + edgeDotVelocity * edgeDotVelocity;
            const double b = edgeSq * (2.0 * Dot(velocity, baseToVertex)) - 2.0 * edgeDotVelocity * edgeDotBase;
            const double c = edgeSq * (1.0 - Dot(baseToVertex, baseToVertex)) + edgeDotBase * edgeDotBase;
            if (edgeSq > 0 && LowestRoot(a, b, c, t, root)) {
                const double f = (edgeDotVelocity * root - edgeDotBase) / edgeSq;
                if (f >= 0.0 && f <= 1.0) {
                    t = root;
                    found = true;
                    contact = edge[0] + e * f;
                }
            }
        }
    }
    if (found && result) {
        const double distance = t * std::sqrt(Dot(velocity, velocity));
        if (!result->Found || distance < result->Distance) {
            result->Found = true;
            result->Distance = static_cast<float>(distance);
            result->Time = static_cast<float>(t);
            result->Point = contact.ToFloat();
        }
    }
    return found;
}

// A triangle or mover farther from a move's start than the move's length, the ellipsoid's larger
// radius and this margin cannot be touched; it is skipped before the exact sweep.
constexpr float kReachMargin = 10.0f;

// A pawn that sinks less than this into a blocking actor's top stands on it (the hit normal points
// up), less than this into its bottom hits it from below; any deeper overlap is a wall.
constexpr float kStandingMargin = 4.0f;

const WorldTriangle* SweepWorld(const World& world, const Vector& start, const Vector& end, float radius, float height) {
    const float reach = Length(end - start) + std::max(height, radius) + kReachMargin;
    const Vector extent{radius, radius, height};
    const Vector lo{std::min(start.X, end.X), std::min(start.Y, end.Y), std::min(start.Z, end.Z)};
    const Vector hi{std::max(start.X, end.X), std::max(start.Y, end.Y), std::max(start.Z, end.Z)};
    thread_local std::vector<const WorldTriangle*> candidates;
    world.CurrentLevel.Hash.QueryBox(lo - extent, hi + extent, candidates);
    for (const WorldTriangle* t : candidates) {
        const float limit = reach + t->Radius;
        if (LengthSquared(t->Centre - start) > limit * limit) {
            continue;
        }
        if (t->Flags & PF_NotSolid) {
            continue;
        }
        if (SweepEllipsoidTriangle(start, end, t->Vertices[0], t->Vertices[1], t->Vertices[2], radius, height)) {
            return t;
        }
    }
    return nullptr;
}

namespace {

// The brush's corners in the world, turned again only when the transform changed.
const Array<Vector>& BrushCornersInWorld(ActorBrush& brush, const BrushTransform& t) {
    const BrushTransform& c = brush.CornersFor;
    const bool same = c.Location == t.Location && c.Rotation == t.Rotation && c.PrePivot == t.PrePivot &&
                      c.MainScale == t.MainScale && c.PostScale == t.PostScale;
    if (!same || brush.WorldCorners.Num() != 3 * brush.Triangles.Num()) {
        brush.WorldCorners.Clear();
        for (const WorldTriangle& tri : brush.Triangles) {
            for (const Vector& v : tri.Vertices) {
                brush.WorldCorners.Add(BrushVertexToWorld(t, v));
            }
        }
        brush.CornersFor = t;
    }
    return brush.WorldCorners;
}

} // namespace

const WorldTriangle* SweepMover(const Actor& mover, const Vector& start, const Vector& end, float radius, float height,
                                Vector* outNormal) {
    if (!mover.Brush) {
        return nullptr;
    }
    const float reach = Length(end - start) + std::max(height, radius) + kReachMargin;
    if (Length(start - mover.Location) > reach + mover.BrushRadius) {
        return nullptr;
    }
    const BrushTransform transform = ActorBrushTransform(mover);
    const Array<Vector>& corners = BrushCornersInWorld(*mover.Brush, transform);
    for (int i = 0; i < mover.Brush->Triangles.Num(); ++i) {
        const WorldTriangle& t = mover.Brush->Triangles[i];
        if (t.Flags & PF_NotSolid) {
            continue;
        }
        if (SweepEllipsoidTriangle(start, end, corners[3 * i], corners[3 * i + 1], corners[3 * i + 2], radius,
                                   height)) {
            if (outNormal) {
                *outNormal = BrushNormalToWorld(transform, t.Normal);
            }
            return &t;
        }
    }
    return nullptr;
}

TraceResult Trace(World& world, const Vector& start, const Vector& end, float radius, float height,
                  const Actor* ignore) {
    TraceResult result;
    if (const WorldTriangle* t = SweepWorld(world, start, end, radius, height)) {
        result.Hit = true;
        result.HitNormal = t->Normal;
        return result;
    }
    for (const auto& owned : world.Actors) {
        Actor& actor = *owned;
        if (&actor == ignore) {
            continue;
        }
        if (actor.Brush) {
            Vector normal;
            if (SweepMover(actor, start, end, radius, height, &normal)) {
                if (!dynamic_cast<const Mover*>(&actor)) {
                    Log("Warning: Non-mover actor with act->Brush<>0");
                }
                result.Hit = true;
                result.HitActor = &actor;
                result.HitNormal = normal;
                return result;
            }
        } else if (actor.bBlockPlayers &&
                   CylindersOverlap(end, height, radius, actor.Location, actor.CollisionHeight, actor.CollisionRadius)) {
            result.Hit = true;
            result.HitActor = &actor;
            const float bottom = end.Z - height, top = end.Z + height;
            const float actorTop = actor.Location.Z + actor.CollisionHeight;
            const float actorBottom = actor.Location.Z - actor.CollisionHeight;
            if (actorTop - kStandingMargin < bottom) {
                result.HitNormal = {0, 0, 1};
            } else if (top - kStandingMargin < actorBottom) {
                result.HitNormal = {0, 0, -1};
            } else {
                Vector away = end - actor.Location;
                away.Z = 0;
                result.HitNormal = Normal(away);
            }
            return result;
        }
    }
    return result;
}

void MoveActor(Actor& actor, const Vector& delta) {
    MoveActorTo(actor, actor.Location + delta);
    if (!actor.bCollideWorld) {
        return;
    }
    const TraceResult hit =
        Trace(actor.GetWorld(), actor.Location - delta, actor.Location, actor.CollisionRadius, actor.CollisionHeight);
    if (!hit.Hit) {
        return;
    }
    if (hit.HitActor && !hit.HitActor->Brush) {
        return;
    }
    actor.HitWall(hit.HitNormal, hit.HitActor);
}

} // namespace orv
