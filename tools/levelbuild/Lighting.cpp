// Lightmaps, light lists and shadow bits, traced against the compiled BSP on every core.
#include "Lighting.h"

#include "Lightmaps.h"

#include "core/Log.h"
#include "core/Text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace orv {

namespace {

// Where a texel's ray starts when the texel itself sits over solid (the grid reaches an eighth of
// a unit past the polygons, so the texels along a wall foot lie just inside the wall): the nearest
// point of the surface's polygons, pulled this far toward the polygon's middle.
constexpr double kEdgePull = 1.0;

// U x V within about 6 degrees of the surface's plane gives no usable direction to the surface
// point drawn with a texel; the plane's normal stands in.
constexpr double kMinAlongSine = 0.1;

// Progress is reported in tenths of the texels, polled this often.
constexpr int kProgressSteps = 10;
constexpr std::chrono::milliseconds kProgressPoll{100};

struct SurfaceGeometry {
    std::vector<const Winding*> Polygons;
    DPlane Plane; // normal toward the side the surface is seen from
};

struct SurfaceResult {
    LightmapRecord Record;
    std::vector<int> Lights; // indices into the map's lights, in list order
    std::vector<uint8_t> Bits;
    long long Rays = 0;
};

struct TreeLookup {
    const BspTree& Tree;
    const std::vector<bool>& LightInSolid;
};

DVector ClosestPointOnSegment(const DVector& p, const DVector& a, const DVector& b) {
    const DVector ab = b - a;
    const double len2 = Dot(ab, ab);
    const double t = len2 > 0.0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return a + ab * t;
}

// The nearest point of a convex polygon to a point on its plane.
DVector ClosestPointOnPolygon(const DVector& p, const Winding& w, const DVector& normal) {
    bool inside = true;
    for (size_t k = 0; k < w.size() && inside; ++k) {
        const DVector& a = w[k];
        const DVector& b = w[(k + 1) % w.size()];
        inside = Dot(Cross(normal, b - a), p - a) >= 0.0;
    }
    if (inside) {
        return p;
    }
    DVector best = w[0];
    double bestDist = std::numeric_limits<double>::max();
    for (size_t k = 0; k < w.size(); ++k) {
        const DVector q = ClosestPointOnSegment(p, w[k], w[(k + 1) % w.size()]);
        const double d = Dot(q - p, q - p);
        if (d < bestDist) {
            bestDist = d;
            best = q;
        }
    }
    return best;
}

// Ray starts of every texel (given on the surface's plane) for one side of the surface; none where
// even the pulled-in point lies in solid.
std::vector<std::optional<DVector>> RayStarts(const std::vector<DVector>& texels, const SurfaceGeometry& geometry,
                                              double side, const BspTree& tree) {
    const DVector n = geometry.Plane.Normal;
    const DVector lift = n * (side * kShadowRayLift);
    std::vector<std::optional<DVector>> starts(texels.size());
    for (size_t t = 0; t < texels.size(); ++t) {
        const DVector start = texels[t] + lift;
        if (!tree.IsSolid(start)) {
            starts[t] = start;
            continue;
        }
        const DVector& onPlane = texels[t];
        DVector nearest = onPlane;
        const Winding* owner = nullptr;
        double nearestDist = std::numeric_limits<double>::max();
        for (const Winding* w : geometry.Polygons) {
            const DVector q = ClosestPointOnPolygon(onPlane, *w, n);
            const double d = Dot(q - onPlane, q - onPlane);
            if (d < nearestDist) {
                nearestDist = d;
                nearest = q;
                owner = w;
            }
        }
        if (!owner) {
            continue;
        }
        const DVector toMiddle = WindingCentre(*owner) - nearest;
        const double len = Length(toMiddle);
        const DVector pulled = len > 0.0 ? nearest + toMiddle * (std::min(kEdgePull, len * 0.5) / len) : nearest;
        if (!tree.IsSolid(pulled + lift)) {
            starts[t] = pulled + lift;
        }
    }
    return starts;
}

// The distance from a point to a box (0 inside it).
double DistanceToBox(const DVector& p, const Bounds& box) {
    const double dx = std::max({box.Min.X - p.X, 0.0, p.X - box.Max.X});
    const double dy = std::max({box.Min.Y - p.Y, 0.0, p.Y - box.Max.Y});
    const double dz = std::max({box.Min.Z - p.Z, 0.0, p.Z - box.Max.Z});
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Which lights may light the surface at all, and from which side.
struct Candidate {
    int Light;
    double Side;
};

std::vector<Candidate> CandidateLights(const Surface& surface, const SurfaceGeometry& geometry, const Bounds& grid,
                                       const std::vector<MapLight>& lights, const TreeLookup& lookup) {
    const bool specialLit = (surface.Flags & PF_SpecialLit) != 0;
    const bool bothSides = (surface.Flags & (PF_TwoSided | PF_ZonePortal)) != 0;
    std::vector<Candidate> out;
    for (size_t l = 0; l < lights.size(); ++l) {
        const MapLight& light = lights[l];
        if (light.SpecialLit != specialLit || lookup.LightInSolid[l]) {
            continue;
        }
        const double d = geometry.Plane.Distance(light.Location);
        if (d < -kBehindTolerance && !bothSides) {
            continue;
        }
        if (DistanceToBox(light.Location, grid) > light.Reach()) {
            continue;
        }
        out.push_back({static_cast<int>(l), bothSides && d < 0.0 ? -1.0 : 1.0});
    }
    return out;
}

SurfaceResult LightSurface(const Surface& surface, const SurfaceGeometry& geometry, const LightmapRecord& record,
                           const std::vector<MapLight>& lights, const TreeLookup& lookup) {
    SurfaceResult result;
    result.Record = record;
    const TexelMapper mapper(surface, record);
    if (!mapper.Valid()) {
        return result; // no point of the plane has texel coordinates: ambient light only
    }
    const int width = record.Width, height = record.Height;
    const int rowBits = LightmapAtlasWidth(width);
    // The engine measures distances from the texel's own point, which lies off the surface when
    // the texture origin or axes do; its shadow is that of the surface point drawn with it: the
    // one with the same texture coordinates, along U x V.
    const DVector n = geometry.Plane.Normal;
    DVector along = Cross(DVector(surface.UAxis), DVector(surface.VAxis));
    if (std::fabs(Dot(along, n)) < kMinAlongSine * Length(along)) {
        along = n;
    }
    std::vector<DVector> texels, onSurface;
    texels.reserve(static_cast<size_t>(width) * height);
    onSurface.reserve(texels.capacity());
    Bounds grid;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            const DVector p = mapper.Position(i, j);
            texels.push_back(p);
            onSurface.push_back(p - along * (geometry.Plane.Distance(p) / Dot(along, n)));
            grid.Add(p);
        }
    }
    const std::vector<Candidate> candidates = CandidateLights(surface, geometry, grid, lights, lookup);
    std::optional<std::vector<std::optional<DVector>>> starts[2];
    const size_t planeBytes = static_cast<size_t>(rowBits) * height / 8;
    std::vector<uint8_t> plane;
    for (const Candidate& c : candidates) {
        auto& sideStarts = starts[c.Side > 0 ? 0 : 1];
        if (!sideStarts) {
            sideStarts = RayStarts(onSurface, geometry, c.Side, lookup.Tree);
        }
        const MapLight& light = lights[static_cast<size_t>(c.Light)];
        const double reach2 = light.Reach() * light.Reach();
        plane.assign(planeBytes, 0);
        bool lit = false;
        for (int j = 0; j < height; ++j) {
            for (int i = 0; i < width; ++i) {
                const size_t t = static_cast<size_t>(j) * width + i;
                const DVector toLight = light.Location - texels[t];
                const std::optional<DVector>& start = (*sideStarts)[t];
                if (Dot(toLight, toLight) > reach2 || !start) {
                    continue;
                }
                ++result.Rays;
                if (!lookup.Tree.TraceSolid(*start, light.Location)) {
                    const size_t bit = static_cast<size_t>(j) * rowBits + i;
                    plane[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
                    lit = true;
                }
            }
        }
        if (lit) {
            result.Lights.push_back(c.Light);
            result.Bits.insert(result.Bits.end(), plane.begin(), plane.end());
        }
    }
    return result;
}

// Runs the jobs on `threads` threads (the calling one only watches), reporting progress by the
// share of texels done.
template <typename Job>
void RunJobs(const std::vector<int>& order, const std::vector<long long>& weight, int threads, bool progress,
             const Job& job) {
    long long total = 0;
    for (int j : order) {
        total += weight[static_cast<size_t>(j)];
    }
    std::atomic<size_t> next{0};
    std::atomic<long long> done{0};
    std::atomic<int> running{threads};
    std::mutex mutex;
    std::condition_variable finished;
    auto work = [&] {
        for (size_t k = next++; k < order.size(); k = next++) {
            job(order[k]);
            done += weight[static_cast<size_t>(order[k])];
        }
        if (--running == 0) {
            std::lock_guard<std::mutex> lock(mutex);
            finished.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back(work);
    }
    int reported = 0;
    auto report = [&](int upTo) {
        for (; reported < upTo; ++reported) {
            if (progress) {
                Log("Lighting: " + std::to_string((reported + 1) * 100 / kProgressSteps) + "%");
            }
        }
    };
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, kProgressPoll);
            report(total > 0 ? static_cast<int>(done * kProgressSteps / total) : 0);
        }
    }
    for (std::thread& t : pool) {
        t.join();
    }
    report(kProgressSteps);
}

class ActorRefs {
public:
    explicit ActorRefs(LevelModel& model) : model_(model) {
        for (int i = 0; i < model.ActorRefs.Num(); ++i) {
            refs_.emplace(Key(model.ActorRefs[i].ClassName, model.ActorRefs[i].Name), i + 1);
        }
    }
    // The 1-based reference of an actor, added on first use.
    int32_t Of(const MapActor& actor) {
        const auto [it, added] = refs_.emplace(Key(actor.Class, actor.Name), model_.ActorRefs.Num() + 1);
        if (added) {
            model_.ActorRefs.Add({actor.Class, actor.Name});
        }
        return it->second;
    }

private:
    static std::pair<std::string, std::string> Key(const std::string& className, const std::string& name) {
        return {ToLowerAscii(className), ToLowerAscii(name)};
    }
    LevelModel& model_;
    std::map<std::pair<std::string, std::string>, int32_t> refs_;
};

int ThreadCount(int requested) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// Lights inside solid space would only be traced to find nothing: they are reported and left out.
std::vector<bool> LightsInSolid(const BspTree& tree, const MapFile& map, const std::vector<MapLight>& lights) {
    std::vector<bool> inSolid(lights.size());
    for (size_t l = 0; l < lights.size(); ++l) {
        inSolid[l] = tree.IsSolid(lights[l].Location);
        if (inSolid[l]) {
            const MapActor& actor = map.Actors[static_cast<size_t>(lights[l].Actor)];
            Log("Warning: " + actor.Class + " " + actor.Name + " lies in solid space and lights nothing");
        }
    }
    return inSolid;
}

// Every surface's node polygons, its plane and all their corners.
void GatherSurfaces(const BspTree& tree, int surfaceCount, std::vector<SurfaceGeometry>& geometry,
                    std::vector<std::vector<DVector>>& points) {
    geometry.assign(static_cast<size_t>(surfaceCount), {});
    points.assign(static_cast<size_t>(surfaceCount), {});
    for (const TreeNode& node : tree.Nodes) {
        if (node.Surface < 0 || node.Surface >= surfaceCount) {
            continue;
        }
        SurfaceGeometry& g = geometry[static_cast<size_t>(node.Surface)];
        if (g.Polygons.empty()) {
            g.Plane = node.Plane;
        }
        g.Polygons.push_back(&node.Points);
        auto& p = points[static_cast<size_t>(node.Surface)];
        p.insert(p.end(), node.Points.begin(), node.Points.end());
    }
}

// Appends a surface's record, bits and list to the model.
void AddLightmap(LevelModel& model, Surface& surface, const SurfaceResult& result, const MapFile& map,
                 const std::vector<MapLight>& lights, ActorRefs& refs) {
    LightmapRecord record = result.Record;
    record.ShadowOffset = model.ShadowBits.Num();
    for (uint8_t byte : result.Bits) {
        model.ShadowBits.Add(byte);
    }
    record.FirstLight = -1;
    if (!result.Lights.empty()) {
        record.FirstLight = model.LightIndices.Num();
        for (int l : result.Lights) {
            model.LightIndices.Add(refs.Of(map.Actors[static_cast<size_t>(lights[static_cast<size_t>(l)].Actor)]));
        }
        model.LightIndices.Add(0);
    }
    surface.LightmapIndex = model.Lightmaps.Add(std::move(record));
}

} // namespace

LightingStats BuildLighting(LevelModel& model, const BspTree& tree, const MapFile& map,
                            const std::vector<MapLight>& lights, const LightingOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    LightingStats stats;
    stats.Lights = static_cast<int>(lights.size());
    model.Lightmaps.Clear();
    model.LightIndices.Clear();
    model.ShadowBits.Clear();
    const std::vector<bool> lightInSolid = LightsInSolid(tree, map, lights);
    const int surfaceCount = model.Surfaces.Num();
    std::vector<SurfaceGeometry> geometry;
    std::vector<std::vector<DVector>> points;
    GatherSurfaces(tree, surfaceCount, geometry, points);

    // Every grid is laid out first, so that the biggest jobs can go first.
    std::vector<int> jobs;
    std::vector<long long> weight(static_cast<size_t>(surfaceCount), 0);
    std::vector<LightmapRecord> layouts(static_cast<size_t>(surfaceCount));
    for (int s = 0; s < surfaceCount; ++s) {
        model.Surfaces[s].LightmapIndex = -1;
        const size_t k = static_cast<size_t>(s);
        if (SurfaceGetsLightmap(model.Surfaces[s].Flags) && !geometry[k].Polygons.empty()) {
            layouts[k] = LayoutLightmap(model.Surfaces[s], points[k]);
            weight[k] = static_cast<long long>(layouts[k].Width) * layouts[k].Height;
            jobs.push_back(s);
        }
    }
    std::vector<int> order = jobs;
    std::stable_sort(order.begin(), order.end(), [&weight](int a, int b) {
        return weight[static_cast<size_t>(a)] > weight[static_cast<size_t>(b)];
    });

    std::vector<SurfaceResult> results(static_cast<size_t>(surfaceCount));
    const TreeLookup lookup{tree, lightInSolid};
    RunJobs(order, weight, ThreadCount(options.Threads), options.Progress, [&](int s) {
        const size_t k = static_cast<size_t>(s);
        results[k] = LightSurface(model.Surfaces[s], geometry[k], layouts[k], lights, lookup);
    });

    // Written in surface order, whatever order the jobs finished in.
    ActorRefs refs(model);
    for (int s : jobs) {
        const SurfaceResult& r = results[static_cast<size_t>(s)];
        AddLightmap(model, model.Surfaces[s], r, map, lights, refs);
        stats.Texels += weight[static_cast<size_t>(s)];
        stats.ListEntries += static_cast<int>(r.Lights.size());
        stats.Rays += r.Rays;
    }
    stats.Lightmaps = model.Lightmaps.Num();
    stats.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return stats;
}

} // namespace orv
