// Brush shapes and level pieces.
#include "Shapes.h"

#include "core/Text.h"

#include <algorithm>
#include <functional>

namespace orv::mapgen {

namespace {

Vector Centre(const std::vector<Vector>& points) {
    Vector sum;
    for (const Vector& p : points) {
        sum += p;
    }
    return sum / static_cast<float>(points.size());
}

Vector NewellNormal(const std::vector<Vector>& points) {
    Vector n;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vector& a = points[i];
        const Vector& b = points[(i + 1) % points.size()];
        n.X += (a.Y - b.Y) * (a.Z + b.Z);
        n.Y += (a.Z - b.Z) * (a.X + b.X);
        n.Z += (a.X - b.X) * (a.Y + b.Y);
    }
    return n;
}

// Winds every face of a convex brush so that it faces away from the inside point.
void FaceOutwards(Faces& faces, const Vector& inside) {
    for (Face& face : faces) {
        if (Dot(NewellNormal(face.Points), Centre(face.Points) - inside) < 0) {
            std::reverse(face.Points.begin(), face.Points.end());
        }
    }
}

Face MakeFace(std::vector<Vector> points, const std::string& texture, uint32_t flags, float texelSize) {
    Face face;
    face.Points = std::move(points);
    face.Texture = texture;
    face.Flags = flags;
    face.TexelSize = texelSize;
    return face;
}

std::string Number(float value) { return FormatFloat(value); }

} // namespace

Skin Plain(const std::string& texture, uint32_t flags) {
    return Skin{texture, texture, texture, flags, flags, flags, 1.0f};
}

Faces BoxFaces(const Vector& min, const Vector& max, const Skin& skin) {
    const Vector c = (min + max) * 0.5f, h = (max - min) * 0.5f;
    const Vector x{h.X, 0, 0}, y{0, h.Y, 0}, z{0, 0, h.Z};
    // Centre offset and two in-face half axes u, v with u x v pointing out.
    const Vector sides[6][3] = {{x, y, z}, {-x, z, y}, {y, z, x}, {-y, x, z}, {z, x, y}, {-z, y, x}};
    Faces faces;
    for (int k = 0; k < 6; ++k) {
        const Vector centre = c + sides[k][0], u = sides[k][1], v = sides[k][2];
        const bool top = k == 4, bottom = k == 5;
        const std::string& texture = top ? skin.Ceiling : (bottom ? skin.Floor : skin.Walls);
        const uint32_t flags = top ? skin.CeilingFlags : (bottom ? skin.FloorFlags : skin.WallFlags);
        faces.push_back(
            MakeFace({centre - u - v, centre + u - v, centre + u + v, centre - u + v}, texture, flags, skin.TexelSize));
    }
    return faces;
}

Faces WedgeFaces(const Vector& min, const Vector& max, Rise rise, const Skin& skin) {
    // a runs 0..1 along the rise, b 0..1 across it, h 0..1 up.
    const std::function<Vector(float, float, float)> at = [&](float a, float b, float h) {
        float fx = 0, fy = 0;
        switch (rise) {
        case Rise::PlusX:
            fx = a, fy = b;
            break;
        case Rise::MinusX:
            fx = 1 - a, fy = b;
            break;
        case Rise::PlusY:
            fx = b, fy = a;
            break;
        case Rise::MinusY:
            fx = b, fy = 1 - a;
            break;
        }
        return Vector{min.X + (max.X - min.X) * fx, min.Y + (max.Y - min.Y) * fy, min.Z + (max.Z - min.Z) * h};
    };
    const float s = skin.TexelSize;
    Faces faces = {
        MakeFace({at(0, 0, 0), at(1, 0, 0), at(1, 1, 0), at(0, 1, 0)}, skin.Floor, skin.FloorFlags, s),
        MakeFace({at(0, 0, 0), at(1, 0, 1), at(1, 1, 1), at(0, 1, 0)}, skin.Ceiling, skin.CeilingFlags, s),
        MakeFace({at(1, 0, 0), at(1, 1, 0), at(1, 1, 1), at(1, 0, 1)}, skin.Walls, skin.WallFlags, s),
        MakeFace({at(0, 0, 0), at(1, 0, 0), at(1, 0, 1)}, skin.Walls, skin.WallFlags, s),
        MakeFace({at(0, 1, 0), at(1, 1, 1), at(1, 1, 0)}, skin.Walls, skin.WallFlags, s),
    };
    FaceOutwards(faces, at(0.7f, 0.5f, 0.3f)); // under the slope, which rises to 0.7 there
    return faces;
}

Face SheetFace(const Vector& min, const Vector& max, bool faceBack, const std::string& texture, uint32_t flags) {
    std::vector<Vector> points;
    if (min.Z == max.Z) {
        points = {{min.X, min.Y, min.Z}, {max.X, min.Y, min.Z}, {max.X, max.Y, min.Z}, {min.X, max.Y, min.Z}};
    } else if (min.Y == max.Y) {
        points = {{min.X, min.Y, min.Z}, {min.X, min.Y, max.Z}, {max.X, min.Y, max.Z}, {max.X, min.Y, min.Z}};
    } else {
        points = {{min.X, min.Y, min.Z}, {min.X, max.Y, min.Z}, {min.X, max.Y, max.Z}, {min.X, min.Y, max.Z}};
    }
    if (faceBack) {
        std::reverse(points.begin(), points.end());
    }
    return MakeFace(std::move(points), texture, flags, 1.0f);
}

void Room(MapWriter& map, const Vector& min, const Vector& max, const Skin& skin) {
    map.Brush("CSG_Subtract", BoxFaces(min, max, skin));
}

void Block(MapWriter& map, const Vector& min, const Vector& max, const Skin& skin) {
    map.Brush("CSG_Add", BoxFaces(min, max, skin));
}

void Ramp(MapWriter& map, const Vector& min, const Vector& max, Rise rise, const Skin& skin) {
    map.Brush("CSG_Add", WedgeFaces(min, max, rise, skin));
}

void StairsUpX(MapWriter& map, const Vector& start, int steps, float run, float rise, float width, float headroom,
               const Skin& skin) {
    for (int k = 0; k < steps; ++k) {
        const Vector min{start.X + run * k, start.Y, start.Z + rise * k};
        Room(map, min, {min.X + run, min.Y + width, min.Z + headroom}, skin);
    }
}

void Sheet(MapWriter& map, const Face& face, uint32_t polyFlags) { map.Brush("CSG_Add", {face}, polyFlags); }

std::string Door(MapWriter& map, const DoorSpec& door) {
    Properties p = {{"InitialState", door.InitialState}, {"KeyPos(1)", VectorValue({0, 0, door.Lift})}};
    if (!door.Tag.empty()) {
        p.emplace_back("Tag", door.Tag);
    }
    return map.Mover((door.Min + door.Max) * 0.5f, BoxFaces(door.Min, door.Max, Plain(door.Texture)), p);
}

std::string Lift(MapWriter& map, const Vector& min, const Vector& max, float travel, float moveTime,
                 const std::string& texture) {
    const Properties p = {{"InitialState", "StandOpenTimed"},
                          {"KeyPos(1)", VectorValue({0, 0, travel})},
                          {"MoveTime", Number(moveTime)},
                          {"StayOpenTime", "3"},
                          {"OpeningSound", "Sound'Orvane.Doors.LiftStart'"},
                          {"OpenedSound", "Sound'Orvane.Doors.LiftStop'"},
                          {"ClosingSound", "Sound'Orvane.Doors.LiftStart'"},
                          {"ClosedSound", "Sound'Orvane.Doors.LiftStop'"}};
    return map.Mover((min + max) * 0.5f, BoxFaces(min, max, Plain(texture)), p);
}

std::string Pool(MapWriter& map, const PoolSpec& pool) {
    Room(map, pool.Min, pool.Max, pool.Basin);
    const float surface = pool.Max.Z - pool.SurfaceDrop;
    const float margin = 16.0f; // past the basin's walls on every side, trimmed by the compile
    Sheet(map,
          SheetFace({pool.Min.X - margin, pool.Min.Y - margin, surface},
                    {pool.Max.X + margin, pool.Max.Y + margin, surface}, false, pool.SurfaceTexture,
                    pool.SurfaceFlags | kTwoSided),
          kNotSolid | kZonePortal);
    const Vector middle = (pool.Min + pool.Max) * 0.5f;
    return map.Actor(pool.ZoneClass, {middle.X, middle.Y, (pool.Min.Z + surface) * 0.5f}, pool.ZoneProperties);
}

void Window(MapWriter& map, const Vector& min, const Vector& max, const Skin& frame, const std::string& pane,
            uint32_t paneFlags) {
    Room(map, min, max, frame);
    const Vector mid = (min + max) * 0.5f;
    const bool acrossX = (max.X - min.X) < (max.Y - min.Y);
    const Face face = acrossX
                          ? SheetFace({mid.X, min.Y, min.Z}, {mid.X, max.Y, max.Z}, false, pane, paneFlags | kTwoSided)
                          : SheetFace({min.X, mid.Y, min.Z}, {max.X, mid.Y, max.Z}, false, pane, paneFlags | kTwoSided);
    Sheet(map, face);
}

std::string Light(MapWriter& map, const std::string& className, const Vector& at, int brightness, int hue,
                  int saturation, int radius, Properties more) {
    Properties p = {{"LightBrightness", std::to_string(brightness)},
                    {"LightHue", std::to_string(hue)},
                    {"LightSaturation", std::to_string(saturation)},
                    {"LightRadius", std::to_string(radius)}};
    p.insert(p.end(), more.begin(), more.end());
    return map.Actor(className, at, p);
}

} // namespace orv::mapgen
