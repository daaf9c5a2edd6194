// Vertex meshes on screen: the triangles of one frame that belong to a pass, batched by skin and
// triangle type.
#pragma once

#include "content/Mesh.h"
#include "render/Renderer.h"
#include "world/Actor.h"

#include <cstdint>

namespace orv {

// Whether a triangle with this type byte is drawn in the pass: translucent triangles in the
// translucent pass, modulated ones in the see-through pass, every other type in the opaque pass;
// those flagged hidden in none.
bool MeshTriangleInPass(uint8_t typeByte, DrawPass pass);

// The frame an actor's mesh shows: AnimFrame (0 .. 1) spread over its sequence's frames, the
// nearest one taken (frames are not blended). Frame 0 without a sequence.
int32_t MeshFrameOf(const Actor& actor);

// Draws the pass's triangles of one frame (taken modulo the mesh's frames) in the current
// model-view, through the mesh's own import transform (rotation, scale, origin). A MultiSkins
// entry that is set replaces the mesh's skin of the same slot; an empty slot draws untextured.
// The colour and the render mode of normal triangles are the caller's.
void DrawMesh(Renderer& renderer, const Mesh& mesh, int32_t frame, DrawPass pass,
              Texture* const (&multiSkins)[kMultiSkins]);

} // namespace orv
