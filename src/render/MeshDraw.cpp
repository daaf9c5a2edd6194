// Mesh drawing: the frame's corners are laid out first, batch by batch, then each batch is bound
// and drawn from the arrays in one call.
#include "render/MeshDraw.h"

#include "content/MeshFiles.h"
#include "core/Rotator.h"

#include <GL/gl.h>

#include <chrono>
#include <cmath>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

static_assert(kMultiSkins == kMeshSkinSlots, "an actor's MultiSkins cover the mesh's skin slots one for one");

// A triangle's (U, V) bytes address a 256 x 256 texel page spread over the whole skin.
constexpr float kSkinPageTexels = 256.0f;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Masked, translucent and modulated triangles set their mode; the others draw in the mode they
// find (the actor's draw starts opaque).
void SetModeForType(uint8_t type) {
    switch (type & kMeshTypeMask) {
    case kMeshMasked: SetRenderMode(RenderMode::Masked); break;
    case kMeshTranslucent: SetRenderMode(RenderMode::Translucent); break;
    case kMeshModulated: SetRenderMode(RenderMode::Modulated); break;
    default: break;
    }
}

// Turns the model-view from the actor's space into the mesh's own: the import rotation, the
// import scale, then the origin.
void ApplyImportTransform(const Mesh& mesh) {
    glRotated(RotatorUnitsToDegrees(mesh.RotOrigin.Yaw), 0.0, 0.0, 1.0);
    glRotated(RotatorUnitsToDegrees(mesh.RotOrigin.Pitch), 0.0, -1.0, 0.0);
    glRotated(RotatorUnitsToDegrees(mesh.RotOrigin.Roll), -1.0, 0.0, 0.0);
    glScalef(mesh.Scale.X, mesh.Scale.Y, mesh.Scale.Z);
    glTranslatef(-mesh.Origin.X, -mesh.Origin.Y, -mesh.Origin.Z);
}

// Lays out the pass's triangles of one frame into the state's arrays, cut into batches where
// the skin or the type byte changes. Returns the triangles laid out.
int LayOutFrame(ActorDrawState& s, const Mesh& mesh, const uint32_t* packed, DrawPass pass) {
    s.Positions.clear();
    s.TexCoords.clear();
    s.Batches.clear();
    bool unpacked = false;
    int count = 0;
    for (const MeshTriangle& t : mesh.Triangles) {
        if (!MeshTriangleInPass(t.Type, pass)) {
            continue;
        }
        if (!unpacked) { // a pass that draws nothing of the mesh unpacks nothing
            s.FrameVertices.resize(static_cast<size_t>(mesh.NumVertices()));
            for (size_t v = 0; v < s.FrameVertices.size(); ++v) {
                s.FrameVertices[v] = UnpackMeshVertex(packed[v]);
            }
            unpacked = true;
        }
        if (s.Batches.empty() || s.Batches.back().Skin != t.TextureNum || s.Batches.back().Type != t.Type) {
            s.Batches.push_back({3 * count, 0, t.TextureNum, t.Type});
        }
        for (int c = 0; c < 3; ++c) {
            const Vector& p = s.FrameVertices[t.Vertex[c]];
            s.Positions.insert(s.Positions.end(), {p.X, p.Y, p.Z});
            s.TexCoords.insert(s.TexCoords.end(), {static_cast<float>(t.Tex[c][0]) / kSkinPageTexels,
                                                   1.0f - static_cast<float>(t.Tex[c][1]) / kSkinPageTexels});
        }
        s.Batches.back().Count += 3;
        ++count;
    }
    return count;
}

} // namespace

bool MeshTriangleInPass(uint8_t typeByte, DrawPass pass) {
    if (typeByte & kMeshTriangleHidden) {
        return false;
    }
    const uint8_t type = typeByte & kMeshTypeMask;
    switch (pass) {
    case DrawPass::Opaque: return type != kMeshTranslucent && type != kMeshModulated;
    case DrawPass::SeeThrough: return type == kMeshModulated;
    case DrawPass::Translucent: return type == kMeshTranslucent;
    }
    return false;
}

int32_t MeshFrameOf(const Actor& actor) {
    const MeshSequence* sequence = actor.CurrentSequence;
    if (!sequence) {
        return 0;
    }
    const float spread = static_cast<float>(sequence->NumFrames - 1) * actor.AnimFrame;
    return static_cast<int32_t>(std::lround(spread + static_cast<float>(sequence->StartFrame)));
}

void DrawMesh(Renderer& renderer, const Mesh& mesh, int32_t frame, DrawPass pass,
              Texture* const (&multiSkins)[kMultiSkins]) {
    const int vertices = mesh.NumVertices();
    if (mesh.NumFrames == 0 || vertices == 0) {
        return;
    }
    int32_t f = frame % mesh.NumFrames;
    f = f < 0 ? f + mesh.NumFrames : f;
    if (static_cast<int64_t>(f + 1) * vertices > mesh.Frames.Num()) {
        return; // a mesh read without all its frames: nothing to draw from
    }
    ActorDrawState& s = renderer.Actors;
    const Clock::time_point start = Clock::now();
    const int triangles = LayOutFrame(s, mesh, mesh.Frames.Data() + static_cast<size_t>(f) * vertices, pass);
    s.Timings.MeshSeconds += Seconds(Clock::now() - start);
    s.Timings.MeshTriangles += triangles;
    if (triangles == 0) {
        return;
    }

    glPushMatrix();
    ApplyImportTransform(mesh);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, s.Positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, s.TexCoords.data());
    for (const MeshBatch& batch : s.Batches) {
        const int slot = batch.Skin % kMeshSkinSlots;
        BindTexture(renderer.Cache, multiSkins[slot] ? multiSkins[slot] : mesh.Skins[slot]);
        SetModeForType(batch.Type);
        glDrawArrays(GL_TRIANGLES, batch.First, batch.Count);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
}

} // namespace orv
