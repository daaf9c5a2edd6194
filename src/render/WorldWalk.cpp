// The world walk: render bounds, view set-up, projection, box culling, polygon testing and
// queueing.
#include "render/WorldWalk.h"

#include "content/Resources.h"
#include "core/Log.h"
#include "render/Clip.h"
#include "world/Actor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

// Rotator units to radians in float arithmetic, as the walk has always turned them: units times
// 1 / 65536 times 2 pi, each factor rounded to a float (RotatorUnitsToRadians works in doubles).
float UnitsToRadians(int32_t units) { return static_cast<float>(units) * 1.5258789e-05f * 6.2831855f; }

using Matrix3 = double[3][3];

void Multiply(const Matrix3& a, const Matrix3& b, Matrix3& out) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    }
}

Plane InwardPlane(Vector normal, const RenderView& view) {
    normal = Normal(normal);
    if (Dot(normal, view.Forward) < 0.0f) {
        normal = -normal;
    }
    return {normal, Dot(normal, view.Location)};
}

bool CameraOutside(const RenderBound& box, const Vector& p) {
    return p.X < box.Min.X || p.Y < box.Min.Y || p.Z < box.Min.Z || p.X > box.Max.X || p.Y > box.Max.Y ||
           p.Z > box.Max.Z;
}

// Projects a clipped polygon into span-buffer coordinates (screen x, screen y halved).
int ToSpanPoints(const RenderView& view, const ClipPolygon& polygon, SpanPoint* out) {
    for (int i = 0; i < polygon.Num; ++i) {
        const Vector s = ProjectPoint(view, polygon.Points[i]);
        out[i] = {s.X, s.Y * kSpanRowsPerPixel};
    }
    return polygon.Num;
}

} // namespace

void PrepareRenderBounds(LevelRenderState& level, const LevelModel& model) {
    level.Nodes.assign(static_cast<size_t>(model.Nodes.Num()), NodeRenderState{});
    level.Bounds.clear();
    level.Frame = 0;
    if (model.Nodes.IsEmpty()) {
        return;
    }
    // Post-order walk with an explicit stack: compiled trees can be thousands of nodes deep. The
    // reader made sure that no node is reached twice.
    struct Step {
        int32_t Node;
        bool ChildrenDone;
    };
    std::vector<Step> stack{{0, false}};
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        const BspNode& node = model.Nodes[step.Node];
        const int32_t children[3] = {node.Back, node.Front, node.Coplanar};
        if (!step.ChildrenDone) {
            stack.push_back({step.Node, true});
            for (int32_t child : children) {
                if (child >= 0) {
                    stack.push_back({child, false});
                }
            }
            continue;
        }
        RenderBound box;
        box.Min = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
        box.Max = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                   -std::numeric_limits<float>::max()};
        auto include = [&box](const Vector& p) {
            box.Min = {std::min(box.Min.X, p.X), std::min(box.Min.Y, p.Y), std::min(box.Min.Z, p.Z)};
            box.Max = {std::max(box.Max.X, p.X), std::max(box.Max.Y, p.Y), std::max(box.Max.Z, p.Z)};
        };
        NodeRenderState& state = level.Nodes[static_cast<size_t>(step.Node)];
        state.DrawableCount = node.NumVertices > 2 ? 1 : 0;
        for (int32_t v = 0; v < node.NumVertices; ++v) {
            include(model.Points[model.VertexPool[node.FirstVertex + v]]);
        }
        for (int32_t child : children) {
            if (child < 0) {
                continue;
            }
            const NodeRenderState& c = level.Nodes[static_cast<size_t>(child)];
            state.DrawableCount += c.DrawableCount;
            if (c.Bound >= 0) {
                include(level.Bounds[static_cast<size_t>(c.Bound)].Min);
                include(level.Bounds[static_cast<size_t>(c.Bound)].Max);
            }
        }
        if (box.Min.X <= box.Max.X) {
            box.Count = state.DrawableCount;
            state.Bound = static_cast<int32_t>(level.Bounds.size());
            level.Bounds.push_back(box);
        }
    }
}

uint32_t MergedSurfaceFlags(const Surface& surface) {
    return surface.Flags | (surface.Tex ? surface.Tex->Flags & (kTextureMasked | kTextureAlphaBlend) : 0u);
}

void CameraAxes(int32_t pitch, int32_t yaw, int32_t roll, Vector& forward, Vector& right, Vector& up) {
    // The OpenGL camera turns world offsets by Roll about (0, -1, 0), Pitch about (1, 0, 0) and
    // Yaw + 90 degrees about (0, 0, -1); the axis swap then makes row 0 screen right, row 2 screen
    // up and minus row 1 the depth.
    const double r = UnitsToRadians(roll);
    const double p = UnitsToRadians(pitch);
    const double y = UnitsToRadians(yaw) + std::numbers::pi / 2;
    const Matrix3 aboutYaw = {{std::cos(y), std::sin(y), 0}, {-std::sin(y), std::cos(y), 0}, {0, 0, 1}};
    const Matrix3 aboutPitch = {{1, 0, 0}, {0, std::cos(p), -std::sin(p)}, {0, std::sin(p), std::cos(p)}};
    const Matrix3 aboutRoll = {{std::cos(r), 0, -std::sin(r)}, {0, 1, 0}, {std::sin(r), 0, std::cos(r)}};
    Matrix3 pitchYaw;
    Matrix3 m;
    Multiply(aboutPitch, aboutYaw, pitchYaw);
    Multiply(aboutRoll, pitchYaw, m);
    auto row = [&m](int i, double sign) {
        return Vector(static_cast<float>(m[i][0] * sign), static_cast<float>(m[i][1] * sign),
                      static_cast<float>(m[i][2] * sign));
    };
    right = row(0, 1.0);
    forward = row(1, -1.0);
    up = row(2, 1.0);
}

void SetUpView(RenderView& view, const LevelModel& model, LevelRenderState& level, int width, int height) {
    view.Model = &model;
    view.Level = &level;
    ++level.Frame;
    view.Width = width > 0 ? width : 1;
    view.Height = height > 0 ? height : 1;
    CameraAxes(view.Pitch, view.Yaw, view.Roll, view.Forward, view.Right, view.Up);
    view.Planes[0] = {view.Forward, Dot(view.Forward, view.Location) + view.NearClip};
    view.ProjScale = 1.0f / std::tan(view.FieldOfView * 0.5f);
    view.Aspect = static_cast<float>(view.Width) / static_cast<float>(view.Height);
    // A hair wider than the true half angle, so that polygon edges never crack.
    const float h = std::tan(view.FieldOfView / 1.9999f);
    const float v = h * static_cast<float>(view.Height) / static_cast<float>(view.Width);
    view.Planes[1] = InwardPlane(Cross(Normal(view.Forward - view.Right * h), view.Up), view);
    view.Planes[2] = InwardPlane(Cross(Normal(view.Forward + view.Right * h), view.Up), view);
    view.Planes[3] = InwardPlane(Cross(view.Right, Normal(view.Forward + view.Up * v)), view);
    view.Planes[4] = InwardPlane(Cross(view.Right, Normal(view.Forward - view.Up * v)), view);
    view.Spans.Reset(static_cast<float>(view.Width), view.Height);
    view.BucketCount = 0;
    view.TransparentCount = 0;
    view.LastFlags = 0;
}

Vector ProjectPoint(const RenderView& view, const Vector& p) {
    const Vector v = p - view.Location;
    const float depth = Dot(view.Forward, v);
    const float x = Dot(view.Right, v);
    const float y = Dot(view.Up, v);
    return {(x / depth * view.ProjScale * 0.5f + 0.5f) * static_cast<float>(view.Width),
            (-y / depth * view.ProjScale * view.Aspect * 0.5f + 0.5f) * static_cast<float>(view.Height), depth};
}

bool BoxVisible(RenderView& view, const RenderBound& box, bool inside, bool& fullyInside) {
    Vector corners[8];
    for (int i = 0; i < 8; ++i) {
        corners[i] = {(i & 1) ? box.Max.X : box.Min.X, (i & 2) ? box.Max.Y : box.Min.Y, (i & 4) ? box.Max.Z : box.Min.Z};
    }
    fullyInside = false;
    if (!inside) {
        bool allInside = true;
        for (int p = 1; p < 5; ++p) {
            int outside = 0;
            for (const Vector& c : corners) {
                outside += view.Planes[p].Distance(c) < 0.0f ? 1 : 0;
            }
            if (outside == 8) {
                return false;
            }
            allInside = allInside && outside == 0;
        }
        fullyInside = allInside;
    }
    static constexpr int kFaces[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                         {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    for (const auto& face : kFaces) {
        ClipPolygon polygon;
        polygon.Num = 4;
        for (int k = 0; k < 4; ++k) {
            polygon.Points[k] = corners[face[k]];
        }
        bool kept = true;
        for (int p = 0; p < 5 && kept; ++p) {
            kept = ClipToPlane(polygon, view.Planes[p]);
        }
        if (!kept) {
            continue;
        }
        SpanPoint points[kClipCapacity];
        const int n = ToSpanPoints(view, polygon, points);
        if (view.Spans.Test(points, n, true)) {
            return true;
        }
    }
    return false;
}

void DrawNodePolygon(RenderView& view, int32_t index, bool inside) {
    const LevelModel& model = *view.Model;
    const BspNode& node = model.Nodes[index];
    if (node.NumVertices < 3 || node.NumVertices > kMaxPolygonPoints) {
        return;
    }
    const Surface& surface = model.Surfaces[node.Surface];
    if (surface.Flags & PF_Invisible) {
        return;
    }
    const bool occluding = !(MergedSurfaceFlags(surface) & kNonOccludingFlags) || (surface.Flags & PF_Occlude);
    ClipPolygon polygon;
    polygon.Num = node.NumVertices;
    for (int v = 0; v < node.NumVertices; ++v) {
        polygon.Points[v] = model.Points[model.VertexPool[node.FirstVertex + v]];
    }
    if (!inside) {
        for (const Plane& plane : view.Planes) {
            if (!ClipToPlane(polygon, plane)) {
                return;
            }
        }
    }
    SpanPoint points[kClipCapacity];
    const int n = ToSpanPoints(view, polygon, points);
    int32_t& visibleFrames = view.Level->Nodes[static_cast<size_t>(index)].VisibleFrames;
    if (view.Spans.Test(points, n, !occluding)) {
        visibleFrames = kVisibleFramesAfterSeen;
    } else if (visibleFrames < 1) {
        return;
    }
    QueueNodePolygon(view, index);
    --visibleFrames;
}

void QueueNodePolygon(RenderView& view, int32_t index) {
    const LevelModel& model = *view.Model;
    const Surface& surface = model.Surfaces[model.Nodes[index].Surface];
    const uint32_t q = surface.Flags | (surface.Tex ? surface.Tex->Flags & kTextureAlphaBlend : 0u);
    if (q & kSeeThroughFlags) {
        if (view.TransparentCount >= kMaxTransparentPolygons) {
            Log("Ran out of transparent polygons");
            return;
        }
        view.Transparent[view.TransparentCount++] = index;
        return;
    }
    for (int b = 0; b < view.BucketCount; ++b) {
        if (view.Buckets[static_cast<size_t>(b)].Tex == surface.Tex) {
            view.Buckets[static_cast<size_t>(b)].Nodes.push_back(index);
            return;
        }
    }
    if (view.BucketCount == static_cast<int>(view.Buckets.size())) {
        view.Buckets.emplace_back();
    }
    TextureBucket& bucket = view.Buckets[static_cast<size_t>(view.BucketCount++)];
    bucket.Tex = surface.Tex;
    bucket.Nodes.clear();
    bucket.Nodes.push_back(index);
}

void WalkNode(RenderView& view, int32_t root, bool inside) {
    const LevelModel& model = *view.Model;
    LevelRenderState& level = *view.Level;
    std::vector<WalkTask>& stack = view.WalkStack;
    const size_t base = stack.size();
    stack.push_back({WalkTask::Walk, inside, root});
    while (stack.size() > base) {
        const WalkTask task = stack.back();
        stack.pop_back();
        const BspNode& node = model.Nodes[task.Node];
        NodeRenderState& state = level.Nodes[static_cast<size_t>(task.Node)];
        switch (task.What) {
        case WalkTask::MarkNegative:
            state.NegativeReached = level.Frame;
            continue;
        case WalkTask::MarkPositive:
            state.PositiveReached = level.Frame;
            continue;
        case WalkTask::Draw:
            DrawNodePolygon(view, task.Node, task.Inside);
            continue;
        case WalkTask::Walk:
            break;
        }
        bool in = task.Inside;
        if (state.DrawableCount > kBoxTestMinDrawables && state.Bound >= 0) {
            const RenderBound& box = level.Bounds[static_cast<size_t>(state.Bound)];
            if (CameraOutside(box, view.Location)) {
                bool fullyInside = false;
                if (!BoxVisible(view, box, in, fullyInside)) {
                    continue;
                }
                in = in || fullyInside;
            }
        }
        // Tasks run last pushed first, so each order below is pushed back to front.
        auto walk = [&](int32_t child) {
            if (child >= 0) {
                stack.push_back({WalkTask::Walk, in, child});
            }
        };
        auto then = [&](WalkTask::Kind what) { stack.push_back({what, in, task.Node}); };
        if (node.NodePlane.Distance(view.Location) < 0.0f) {
            // Behind the plane: back side first; one-sided polygons face away and are skipped.
            walk(node.Front);
            then(WalkTask::MarkPositive);
            walk(node.Coplanar);
            if (node.Surface >= 0 && (model.Surfaces[node.Surface].Flags & PF_TwoSided)) {
                then(WalkTask::Draw);
            }
            then(WalkTask::MarkNegative);
            walk(node.Back);
        } else {
            walk(node.Back);
            then(WalkTask::MarkNegative);
            walk(node.Coplanar);
            then(WalkTask::Draw);
            then(WalkTask::MarkPositive);
            walk(node.Front);
        }
    }
}

void WalkWorld(RenderView& view, const LevelModel& model, LevelRenderState& level, int width, int height) {
    SetUpView(view, model, level, width, height);
    view.WalkStack.clear();
    if (!model.Nodes.IsEmpty()) {
        WalkNode(view, 0, false);
    }
}

bool WalkReached(const LevelRenderState& level, const Actor& actor) {
    if (level.Frame == 0) {
        return false; // never walked: every mark is still the fresh 0
    }
    for (const auto& [node, side] : actor.RegisteredIn) {
        if (node < 0 || static_cast<size_t>(node) >= level.Nodes.size()) {
            continue;
        }
        const NodeRenderState& state = level.Nodes[static_cast<size_t>(node)];
        if ((side ? state.PositiveReached : state.NegativeReached) == level.Frame) {
            return true;
        }
    }
    return false;
}

} // namespace orv
