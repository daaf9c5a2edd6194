// The per-frame step of the fire and water textures: only those drawn in the last frame move,
// and each one that moved is uploaded whole.
#pragma once

namespace orv {

struct Resources;
class TextureUploader;

// For every texture of the table marked used: a procedural one steps by one 60th of a second and
// its whole image goes to its OpenGL texture. Every mark is then cleared, for the coming frame's
// drawing to set again, so a texture out of sight stays as it was. The engine calls it before the
// world frame while "ProceduralTextures" is on; off, nothing steps. Returns how many stepped.
int AdvanceProceduralTextures(Resources& res, TextureUploader& uploader);

} // namespace orv
