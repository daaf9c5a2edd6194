// Skeleton posing, primitive generation and frame baking.
#include "MeshModel.h"

#include "content/MeshFiles.h"
#include "core/Text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {
namespace {

constexpr float kTau = 2.0f * std::numbers::pi_v<float>;

uint8_t TexelOf(int lo, int hi, float t) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(lo + (hi - lo) * Clamp01(t))), 0, 255));
}

// Any two unit vectors perpendicular to an axis, for building tubes around it.
void Perpendiculars(const Vector& axis, Vector& p, Vector& q) {
    const Vector helper = std::fabs(axis.Z) < 0.9f ? Vector{0, 0, 1} : Vector{1, 0, 0};
    p = Normal(Cross(axis, helper));
    q = Cross(axis, p);
}

} // namespace

Vector Mat3::operator*(const Vector& v) const {
    return {M[0][0] * v.X + M[0][1] * v.Y + M[0][2] * v.Z, M[1][0] * v.X + M[1][1] * v.Y + M[1][2] * v.Z,
            M[2][0] * v.X + M[2][1] * v.Y + M[2][2] * v.Z};
}

Mat3 Mat3::operator*(const Mat3& o) const {
    Mat3 r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r.M[i][j] = M[i][0] * o.M[0][j] + M[i][1] * o.M[1][j] + M[i][2] * o.M[2][j];
        }
    }
    return r;
}

Mat3 EulerRotation(float pitch, float yaw, float roll) {
    Mat3 rx, ry, rz;
    const float cr = std::cos(roll), sr = std::sin(roll);
    rx.M[1][1] = cr; rx.M[1][2] = -sr; rx.M[2][1] = sr; rx.M[2][2] = cr;
    // Pitch tips +X toward -Z: a rotation about Y by -pitch in the right-handed sense.
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    ry.M[0][0] = cp; ry.M[0][2] = sp; ry.M[2][0] = -sp; ry.M[2][2] = cp;
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    rz.M[0][0] = cy; rz.M[0][1] = -sy; rz.M[1][0] = sy; rz.M[1][1] = cy;
    return rz * ry * rx;
}

int MeshModel::AddBone(const std::string& name, int parent, const Vector& offset) {
    bones_.push_back({name, parent, offset});
    return static_cast<int>(bones_.size()) - 1;
}

int MeshModel::BoneIndex(const std::string& name) const {
    for (size_t i = 0; i < bones_.size(); ++i) {
        if (bones_[i].Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Pose MeshModel::RestPose() const {
    Pose pose;
    pose.Bones.resize(bones_.size());
    return pose;
}

uint16_t MeshModel::AddVertex(int bone, const Vector& local) {
    vertices_.push_back({bone, local});
    return static_cast<uint16_t>(vertices_.size() - 1);
}

void MeshModel::AddTriangle(uint16_t a, uint16_t b, uint16_t c, const SkinRect& skin, float u[3], float v[3]) {
    MeshTriangle t;
    t.Vertex[0] = a;
    t.Vertex[1] = b;
    t.Vertex[2] = c;
    for (int i = 0; i < 3; ++i) {
        t.Tex[i][0] = TexelOf(skin.U0, skin.U1, u[i]);
        t.Tex[i][1] = TexelOf(skin.V0, skin.V1, v[i]);
    }
    t.TextureNum = textureNum_;
    t.Type = triangleType_;
    triangles_.push_back(t);
}

void MeshModel::AddEllipsoid(int bone, const Vector& centre, const Vector& radii, const SkinRect& skin, int rings,
                             int segments, const Mat3& orientation) {
    // Rows of vertices from the top pole to the bottom one; longitude 0 faces +X and sits in
    // the middle of the rect, so a painted face is never cut by the seam.
    const uint16_t top = AddVertex(bone, centre + orientation * Vector{0, 0, radii.Z});
    std::vector<uint16_t> grid;
    for (int r = 1; r < rings; ++r) {
        const float lat = std::numbers::pi_v<float> * r / rings;
        for (int s = 0; s < segments; ++s) {
            const float lon = kTau * s / segments - std::numbers::pi_v<float>;
            const Vector p{std::sin(lat) * std::cos(lon) * radii.X, std::sin(lat) * std::sin(lon) * radii.Y,
                           std::cos(lat) * radii.Z};
            grid.push_back(AddVertex(bone, centre + orientation * p));
        }
    }
    const uint16_t bottom = AddVertex(bone, centre + orientation * Vector{0, 0, -radii.Z});
    auto at = [&](int r, int s) { return grid[static_cast<size_t>(r - 1) * segments + (s % segments)]; };
    for (int s = 0; s < segments; ++s) {
        const float u0 = static_cast<float>(s) / segments, u1 = static_cast<float>(s + 1) / segments;
        const float v1 = 1.0f / rings, vn = 1.0f - 1.0f / rings;
        float tu[3] = {(u0 + u1) * 0.5f, u0, u1}, tv[3] = {0.0f, v1, v1};
        AddTriangle(top, at(1, s), at(1, s + 1), skin, tu, tv);
        float bu[3] = {u0, (u0 + u1) * 0.5f, u1}, bv[3] = {vn, 1.0f, vn};
        AddTriangle(at(rings - 1, s), bottom, at(rings - 1, s + 1), skin, bu, bv);
        for (int r = 1; r < rings - 1; ++r) {
            const float va = static_cast<float>(r) / rings, vb = static_cast<float>(r + 1) / rings;
            float au[3] = {u0, u0, u1}, av[3] = {va, vb, va};
            AddTriangle(at(r, s), at(r + 1, s), at(r, s + 1), skin, au, av);
            float cu[3] = {u1, u0, u1}, cv[3] = {va, vb, vb};
            AddTriangle(at(r, s + 1), at(r + 1, s), at(r + 1, s + 1), skin, cu, cv);
        }
    }
}

void MeshModel::AddLimb(int bone, const Vector& a, const Vector& b, float ra, float rb, const SkinRect& skin,
                        int segments) {
    const Vector axis = Normal(b - a);
    Vector p, q;
    Perpendiculars(axis, p, q);
    // Rings at the ends and two rounded shoulders, so joints do not show hard edges.
    const float ts[4] = {0.0f, 0.12f, 0.88f, 1.0f};
    const float scale[4] = {0.75f, 1.0f, 1.0f, 0.75f};
    std::vector<uint16_t> ring;
    for (int k = 0; k < 4; ++k) {
        const Vector centre = a + (b - a) * ts[k];
        const float radius = (ra + (rb - ra) * ts[k]) * scale[k];
        for (int s = 0; s < segments; ++s) {
            const float angle = kTau * s / segments;
            ring.push_back(AddVertex(bone, centre + (p * std::cos(angle) + q * std::sin(angle)) * radius));
        }
    }
    const uint16_t capA = AddVertex(bone, a - axis * (ra * 0.3f));
    const uint16_t capB = AddVertex(bone, b + axis * (rb * 0.3f));
    auto at = [&](int k, int s) { return ring[static_cast<size_t>(k) * segments + (s % segments)]; };
    for (int s = 0; s < segments; ++s) {
        const float u0 = static_cast<float>(s) / segments, u1 = static_cast<float>(s + 1) / segments;
        for (int k = 0; k < 3; ++k) {
            float au[3] = {u0, u0, u1}, av[3] = {ts[k], ts[k + 1], ts[k]};
            AddTriangle(at(k, s), at(k + 1, s), at(k, s + 1), skin, au, av);
            float bu[3] = {u1, u0, u1}, bv[3] = {ts[k], ts[k + 1], ts[k + 1]};
            AddTriangle(at(k, s + 1), at(k + 1, s), at(k + 1, s + 1), skin, bu, bv);
        }
        float cu[3] = {(u0 + u1) * 0.5f, u0, u1}, cv[3] = {0.0f, 0.0f, 0.0f};
        AddTriangle(capA, at(0, s), at(0, s + 1), skin, cu, cv);
        float du[3] = {(u0 + u1) * 0.5f, u1, u0}, dv[3] = {1.0f, 1.0f, 1.0f};
        AddTriangle(capB, at(3, s + 1), at(3, s), skin, du, dv);
    }
}

void MeshModel::AddCone(int bone, const Vector& base, const Vector& tip, float radius, const SkinRect& skin,
                        int segments) {
    const Vector axis = Normal(tip - base);
    Vector p, q;
    Perpendiculars(axis, p, q);
    const uint16_t apex = AddVertex(bone, tip);
    const uint16_t centre = AddVertex(bone, base);
    std::vector<uint16_t> ring;
    for (int s = 0; s < segments; ++s) {
        const float angle = kTau * s / segments;
        ring.push_back(AddVertex(bone, base + (p * std::cos(angle) + q * std::sin(angle)) * radius));
    }
    for (int s = 0; s < segments; ++s) {
        const float u0 = static_cast<float>(s) / segments, u1 = static_cast<float>(s + 1) / segments;
        float au[3] = {(u0 + u1) * 0.5f, u0, u1}, av[3] = {0.0f, 1.0f, 1.0f};
        AddTriangle(apex, ring[s], ring[(s + 1) % segments], skin, au, av);
        float bu[3] = {0.5f, u1, u0}, bv[3] = {1.0f, 1.0f, 1.0f};
        AddTriangle(centre, ring[(s + 1) % segments], ring[s], skin, bu, bv);
    }
}

void MeshModel::AddBox(int bone, const Vector& centre, const Vector& h, const SkinRect& skin, const Mat3& orientation) {
    // Six faces of four vertices each, so every face gets the whole rect.
    static constexpr int kFaces[6][4][3] = {
        {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},     {{-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}},
        {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}},     {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
        {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},     {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}}};
    for (const auto& face : kFaces) {
        uint16_t v[4];
        for (int i = 0; i < 4; ++i) {
            v[i] = AddVertex(bone, centre + orientation * Vector{face[i][0] * h.X, face[i][1] * h.Y, face[i][2] * h.Z});
        }
        float au[3] = {0, 1, 1}, av[3] = {1, 1, 0};
        AddTriangle(v[0], v[1], v[2], skin, au, av);
        float bu[3] = {0, 1, 0}, bv[3] = {1, 0, 0};
        AddTriangle(v[0], v[2], v[3], skin, bu, bv);
    }
}

void MeshModel::AddFan(int bone, const std::vector<Vector>& points, const std::vector<std::pair<float, float>>& uvs,
                       const SkinRect& skin) {
    std::vector<uint16_t> ids;
    for (const Vector& p : points) {
        ids.push_back(AddVertex(bone, p));
    }
    for (size_t i = 1; i + 1 < ids.size(); ++i) {
        float u[3] = {uvs[0].first, uvs[i].first, uvs[i + 1].first};
        float v[3] = {uvs[0].second, uvs[i].second, uvs[i + 1].second};
        AddTriangle(ids[0], ids[i], ids[i + 1], skin, u, v);
    }
}

std::vector<Vector> MeshModel::Posed(const Pose& pose) const {
    std::vector<Mat3> rotation(bones_.size());
    std::vector<Vector> origin(bones_.size());
    const Mat3 root = EulerRotation(pose.Root.Pitch, pose.Root.Yaw, pose.Root.Roll);
    for (size_t i = 0; i < bones_.size(); ++i) {
        const Bone& bone = bones_[i];
        const BoneAngles& a = i < pose.Bones.size() ? pose.Bones[i] : BoneAngles{};
        const Mat3 local = EulerRotation(a.Pitch, a.Yaw, a.Roll);
        if (bone.Parent < 0) {
            rotation[i] = root * local;
            origin[i] = root * bone.Offset + pose.RootOffset;
        } else {
            rotation[i] = rotation[bone.Parent] * local;
            origin[i] = origin[bone.Parent] + rotation[bone.Parent] * bone.Offset;
        }
    }
    std::vector<Vector> out;
    out.reserve(vertices_.size());
    for (const BoundVertex& v : vertices_) {
        out.push_back(origin[v.Bone] + rotation[v.Bone] * v.Local);
    }
    return out;
}

bool BakeMesh(const MeshDefinition& mesh, BakedMesh& out, std::string& error) {
    out = BakedMesh();
    out.VertexCount = static_cast<uint16_t>(mesh.Model.NumVertices());
    out.MinBounds = {1e9f, 1e9f, 1e9f};
    out.MaxBounds = {-1e9f, -1e9f, -1e9f};
    int frame = 0;
    for (const MeshSequenceSpec& seq : mesh.Sequences) {
        out.Sequences.push_back({seq.Name, frame, seq.NumFrames, seq.Rate});
        for (int f = 0; f < seq.NumFrames; ++f, ++frame) {
            const std::vector<Vector> posed = mesh.Model.Posed(seq.Animate(static_cast<float>(f) / seq.NumFrames));
            for (const Vector& p : posed) {
                out.MinBounds = {std::min(out.MinBounds.X, p.X), std::min(out.MinBounds.Y, p.Y),
                                 std::min(out.MinBounds.Z, p.Z)};
                out.MaxBounds = {std::max(out.MaxBounds.X, p.X), std::max(out.MaxBounds.Y, p.Y),
                                 std::max(out.MaxBounds.Z, p.Z)};
                const Vector units{p.X / mesh.Scale.X, p.Y / mesh.Scale.Y, p.Z / mesh.Scale.Z};
                if (std::fabs(units.X) > 1023.0f || std::fabs(units.Y) > 1023.0f || std::fabs(units.Z) > 511.0f) {
                    error = mesh.Name + ": sequence " + seq.Name + " leaves the packed range at this scale";
                    return false;
                }
                out.Frames.push_back(PackMeshVertex(units));
            }
        }
    }
    out.NumFrames = static_cast<uint16_t>(frame);
    return true;
}

std::vector<std::string> MeshExecLines(const MeshDefinition& mesh, const BakedMesh& baked) {
    const std::string& n = mesh.Name;
    std::vector<std::string> lines;
    lines.push_back("#exec MESH IMPORT MESH=" + n + " ANIVFILE=MODELS\\" + n + "_a.3d DATAFILE=MODELS\\" + n + "_d.3d");
    lines.push_back("#exec MESH ORIGIN MESH=" + n + " X=0 Y=0 Z=0 YAW=0");
    for (const BakedSequence& s : baked.Sequences) {
        lines.push_back("#exec MESH SEQUENCE MESH=" + n + " SEQ=" + s.Name + " STARTFRAME=" + std::to_string(s.StartFrame) +
                        " NUMFRAMES=" + std::to_string(s.NumFrames) + " RATE=" + std::to_string(s.Rate));
    }
    for (const MeshNotifySpec& notify : mesh.Notifies) {
        lines.push_back("#exec MESH NOTIFY MESH=" + n + " SEQ=" + notify.Sequence + " TIME=" + FormatFloat(notify.Time) +
                        " FUNCTION=" + notify.Function);
    }
    lines.push_back("#exec MESHMAP SCALE MESHMAP=" + n + " X=" + FormatFloat(mesh.Scale.X) +
                    " Y=" + FormatFloat(mesh.Scale.Y) + " Z=" + FormatFloat(mesh.Scale.Z));
    for (size_t i = 0; i < mesh.Skins.size(); ++i) {
        lines.push_back("#exec MESHMAP SETTEXTURE MESHMAP=" + n + " NUM=" + std::to_string(i) + " TEXTURE=" + mesh.Skins[i]);
    }
    return lines;
}

} // namespace orv
