// Procedural vertex meshes: a skeleton of bones, primitives (ellipsoids, tapered limbs, cones,
// boxes) rigidly bound to the bones and mapped onto a 256 x 256 skin page, and animation
// sequences that pose the skeleton over time. Baking samples every sequence into the packed
// frames of the _a.3d file and the triangles of the _d.3d file.
#pragma once

#include "GenCommon.h"
#include "content/Resources.h"

#include <functional>
#include <string>
#include <vector>

namespace orv {

struct Mat3 {
    float M[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vector operator*(const Vector& v) const;
    Mat3 operator*(const Mat3& o) const;
};

// Rotation by angles in radians: roll about X, then pitch about Y, then yaw about Z. A positive
// pitch tips +X down toward -Z (a head nods, a spine leans forward) and swings a limb hanging
// along -Z backward; a negative one raises a hanging arm forward.
Mat3 EulerRotation(float pitch, float yaw, float roll);

// A bone's rotation relative to its parent, in radians (see EulerRotation).
struct BoneAngles {
    float Pitch = 0.0f;
    float Yaw = 0.0f;
    float Roll = 0.0f;
};

// One pose of the whole skeleton.
struct Pose {
    std::vector<BoneAngles> Bones;
    Vector RootOffset{0, 0, 0}; // moves the whole body (bobbing, lunging, falling)
    BoneAngles Root;            // turns the whole body about the root joint
};

// A rectangle of the skin page, in texels 0..255.
struct SkinRect {
    int U0 = 0, V0 = 0, U1 = 255, V1 = 255;
};

struct MeshSequenceSpec {
    std::string Name;
    int NumFrames = 1;
    int Rate = 15;
    std::function<Pose(float t)> Animate; // t in [0, 1) over the sequence
};

struct MeshNotifySpec {
    std::string Sequence;
    float Time = 0.5f;
    std::string Function;
};

class MeshModel {
public:
    // Returns the bone's index. offset: the joint's rest position in the parent's frame.
    int AddBone(const std::string& name, int parent, const Vector& offset);
    int BoneIndex(const std::string& name) const;
    int NumBones() const { return static_cast<int>(bones_.size()); }
    Pose RestPose() const;

    // Primitives in the bone's frame (its joint at the origin). rings/segments set the detail.
    void AddEllipsoid(int bone, const Vector& centre, const Vector& radii, const SkinRect& skin, int rings = 6,
                      int segments = 10, const Mat3& orientation = Mat3());
    // A tapered tube from a to b with radii ra and rb, closed at both ends.
    void AddLimb(int bone, const Vector& a, const Vector& b, float ra, float rb, const SkinRect& skin, int segments = 8);
    // A cone (teeth, claws, horns, spikes) from a base centre to a tip.
    void AddCone(int bone, const Vector& base, const Vector& tip, float radius, const SkinRect& skin, int segments = 5);
    // A box with half sizes, each face mapped onto the whole rect.
    void AddBox(int bone, const Vector& centre, const Vector& halfSize, const SkinRect& skin,
                const Mat3& orientation = Mat3());
    // A flat double-sided fan of points in the bone's frame (wings, fins): triangles (0, i, i + 1).
    void AddFan(int bone, const std::vector<Vector>& points, const std::vector<std::pair<float, float>>& uvs,
                const SkinRect& skin);

    // Triangle defaults for the primitives that follow.
    void SetTextureNum(uint8_t num) { textureNum_ = num; }
    void SetTriangleType(uint8_t type) { triangleType_ = type; }

    int NumVertices() const { return static_cast<int>(vertices_.size()); }
    const std::vector<MeshTriangle>& Triangles() const { return triangles_; }

    // Vertex positions of the model in a pose.
    std::vector<Vector> Posed(const Pose& pose) const;

private:
    struct Bone {
        std::string Name;
        int Parent = -1;
        Vector Offset;
    };
    struct BoundVertex {
        int Bone = 0;
        Vector Local;
    };
    uint16_t AddVertex(int bone, const Vector& local);
    void AddTriangle(uint16_t a, uint16_t b, uint16_t c, const SkinRect& skin, float u[3], float v[3]);

    std::vector<Bone> bones_;
    std::vector<BoundVertex> vertices_;
    std::vector<MeshTriangle> triangles_;
    uint8_t textureNum_ = 0;
    uint8_t triangleType_ = 0;
};

// Everything that makes one mesh of the tree, and what its class script must say about it.
struct MeshDefinition {
    std::string Name;          // mesh name and file stem: System\UnrealShare\Models\<Name>_a.3d
    Vector Scale{0.1f, 0.1f, 0.2f}; // the MESHMAP SCALE of the class script
    MeshModel Model;
    std::vector<MeshSequenceSpec> Sequences; // "Still" first
    std::vector<MeshNotifySpec> Notifies;
    std::vector<std::string> Skins;          // texture per skin number, package-qualified
    std::vector<Image> SkinImages;           // the pictures of those skins
};

struct BakedSequence {
    std::string Name;
    int StartFrame = 0;
    int NumFrames = 0;
    int Rate = 0;
};

struct BakedMesh {
    std::vector<uint32_t> Frames; // packed, frame after frame
    uint16_t NumFrames = 0;
    uint16_t VertexCount = 0;
    std::vector<BakedSequence> Sequences;
    Vector MinBounds, MaxBounds; // over every frame, in world units before the mesh scale
};

// Samples every sequence and packs the frames at the definition's scale. Fails (with the
// reason) when a posed vertex does not fit the packed ranges at that scale.
bool BakeMesh(const MeshDefinition& mesh, BakedMesh& out, std::string& error);

// The #exec lines a class script carries for the mesh, one per line, as the generator expects
// to find them (MESH IMPORT, ORIGIN, SEQUENCE, NOTIFY, MESHMAP SCALE, SETTEXTURE).
std::vector<std::string> MeshExecLines(const MeshDefinition& mesh, const BakedMesh& baked);

} // namespace orv
