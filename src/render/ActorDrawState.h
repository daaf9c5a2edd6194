// What the actor drawing keeps in the renderer from frame to frame: the storage its mesh batches
// are laid out in, the brushes it has already reported, and its timing figures.
#pragma once

#include "core/Vector.h"

#include <cstdint>
#include <vector>

namespace orv {

struct Actor;

// Seconds spent drawing actors, summed over the frames drawn.
struct ActorDrawTimings {
    double MeshSeconds = 0.0;     // unpacking mesh frames and laying out each batch's corners
    double LightingSeconds = 0.0; // ComputeActorLight, its traces included
    double TotalSeconds = 0.0;    // every actor's Draw in every pass
    int64_t MeshTriangles = 0;    // mesh triangles drawn

    // What is neither mesh layout nor lighting: the OpenGL calls.
    double SubmitSeconds() const { return TotalSeconds - MeshSeconds - LightingSeconds; }
};

// A run of mesh triangles drawn with one skin and one type: corners First .. First + Count - 1
// of the laid-out arrays.
struct MeshBatch {
    int32_t First = 0;
    int32_t Count = 0;
    uint8_t Skin = 0;
    uint8_t Type = 0;
};

struct ActorDrawState {
    // One mesh draw's corners, three per triangle: X, Y, Z and S, T, and its batches.
    std::vector<float> Positions;
    std::vector<float> TexCoords;
    std::vector<MeshBatch> Batches;
    // The drawn frame's vertices, unpacked once per mesh draw.
    std::vector<Vector> FrameVertices;
    // Movers whose brush lacks its back reference, reported once each per level.
    std::vector<const Actor*> ReportedBrushes;
    ActorDrawTimings Timings;
};

} // namespace orv
