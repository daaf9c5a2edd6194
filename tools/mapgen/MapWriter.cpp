// T3D text for actors and brushes.
#include "MapWriter.h"

#include "core/Text.h"

#include <cmath>
#include <cstdio>

namespace orv::mapgen {

namespace {

// Faces tilted less than about 45 degrees from level take floor axes; steeper ones wall axes.
constexpr float kFloorNormalZ = 0.7f;

// The editor's number format: a sign, five integer digits and six decimals ("+00128.000000").
std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%+013.6f", static_cast<double>(value) + 0.0);
    return text;
}

// A polygon line as the editor indents it, the numbers in a column after the longest keyword.
std::string VectorLine(const char* keyword, const Vector& v) {
    char pad[16];
    std::snprintf(pad, sizeof(pad), "%-9s", keyword);
    return std::string("             ") + pad + Number(v.X) + "," + Number(v.Y) + "," + Number(v.Z) + "\n";
}

Vector FaceNormal(const Face& face) {
    // Newell's normal: right for any convex polygon, whatever its first corners.
    Vector n;
    for (size_t i = 0; i < face.Points.size(); ++i) {
        const Vector& a = face.Points[i];
        const Vector& b = face.Points[(i + 1) % face.Points.size()];
        n.X += (a.Y - b.Y) * (a.Z + b.Z);
        n.Y += (a.Z - b.Z) * (a.X + b.X);
        n.Z += (a.X - b.X) * (a.Y + b.Y);
    }
    return Normal(n);
}

} // namespace

void FaceAxes(const Vector& normal, float texelSize, Vector& u, Vector& v) {
    const float inverse = 1.0f / texelSize;
    if (std::fabs(normal.Z) > kFloorNormalZ) {
        // Floors, ceilings and gentle slopes: U is X pressed into the face.
        const Vector along = Normal(Vector{1, 0, 0} - normal * normal.X);
        u = along * inverse;
        v = Normal(Cross(along, normal)) * inverse;
        return;
    }
    const Vector level = Normal(Cross({0, 0, 1}, normal)); // along the face, horizontal
    u = level * inverse;
    v = Normal(Cross(level, normal)) * inverse; // in the face, pointing down
    if (v.Z > 0) {
        v = -v;
    }
}

std::string VectorValue(const Vector& v) {
    return "(X=" + FormatFloat(v.X) + ",Y=" + FormatFloat(v.Y) + ",Z=" + FormatFloat(v.Z) + ")";
}

std::string RotatorValue(int pitch, int yaw, int roll) {
    return "(Pitch=" + std::to_string(pitch) + ",Yaw=" + std::to_string(yaw) + ",Roll=" + std::to_string(roll) + ")";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string MapWriter::NextName(const std::string& className) {
    for (auto& [name, count] : counters_) {
        if (name == className) {
            return className + std::to_string(count++);
        }
    }
    counters_.emplace_back(className, 1);
    return className + "0";
}

void MapWriter::Comment(const std::string& text) { body_ += "; " + text + "\n"; }

std::string MapWriter::Actor(const std::string& className, const Vector& location, Properties properties) {
    std::string name;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (it->first == "Name") {
            name = it->second;
            properties.erase(it);
            break;
        }
    }
    if (name.empty()) {
        name = NextName(className);
    }
    body_ += "Begin Actor Class=" + className + " Name=" + name + "\n";
    body_ += "    Location=" + VectorValue(location) + "\n";
    for (const auto& [key, value] : properties) {
        body_ += "    " + key + "=" + value + "\n";
    }
    body_ += "    Name=" + Quoted(name) + "\nEnd Actor\n";
    return name;
}

std::string MapWriter::BrushBlock(const std::string& name, const Vector& location, const Faces& faces) const {
    std::string text = "    Begin Brush Name=Model" + name + "\n       Begin PolyList\n";
    for (const Face& face : faces) {
        const Vector n = FaceNormal(face);
        Vector u, v;
        FaceAxes(n, face.TexelSize, u, v);
        // The texture origin: the world's origin pressed onto the face's plane, so that textures
        // line up across brushes; in brush space, like the corners.
        const float distance = Dot(n, face.Points[0]);
        const Vector origin = n * distance - location;
        text +=
            "          Begin Polygon Texture=" + face.Texture + " Flags=" + std::to_string(face.Flags) + " Link=0\n";
        text += VectorLine("Origin", origin);
        text += VectorLine("Normal", n);
        text += VectorLine("TextureU", u);
        text += VectorLine("TextureV", v);
        for (const Vector& p : face.Points) {
            text += VectorLine("Vertex", p - location);
        }
        text += "          End Polygon\n";
    }
    return text + "       End PolyList\n    End Brush\n";
}

std::string MapWriter::Brush(const std::string& csgOper, const Faces& faces, uint32_t polyFlags) {
    const std::string name = NextName("Brush");
    // The brush sits at the middle of its corners, as the editor leaves it after building.
    Vector min = faces[0].Points[0], max = min;
    for (const Face& face : faces) {
        for (const Vector& p : face.Points) {
            min = {std::fmin(min.X, p.X), std::fmin(min.Y, p.Y), std::fmin(min.Z, p.Z)};
            max = {std::fmax(max.X, p.X), std::fmax(max.Y, p.Y), std::fmax(max.Z, p.Z)};
        }
    }
    const Vector location = (min + max) * 0.5f;
    body_ += "Begin Actor Class=Brush Name=" + name + "\n";
    body_ += "    CsgOper=" + csgOper + "\n";
    if (polyFlags != 0) {
        body_ += "    PolyFlags=" + std::to_string(polyFlags) + "\n";
    }
    body_ += "    Location=" + VectorValue(location) + "\n";
    body_ += BrushBlock(name, location, faces);
    body_ += "    Name=" + Quoted(name) + "\nEnd Actor\n";
    return name;
}

std::string MapWriter::Mover(const Vector& location, const Faces& faces, Properties properties) {
    const std::string name = NextName("Mover");
    body_ += "Begin Actor Class=Mover Name=" + name + "\n";
    body_ += "    Location=" + VectorValue(location) + "\n";
    for (const auto& [key, value] : properties) {
        body_ += "    " + key + "=" + value + "\n";
    }
    body_ += BrushBlock(name, location, faces);
    body_ += "    Name=" + Quoted(name) + "\nEnd Actor\n";
    return name;
}

std::string MapWriter::Text() const { return "Begin Map\n" + body_ + "End Map\n"; }

} // namespace orv::mapgen
