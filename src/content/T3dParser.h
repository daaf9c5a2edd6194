// The T3D map reader: a flat line classifier over the editor's text export. It reports actor
// blocks, their key=value lines and their kept polygons to a sink, which builds the actors.
#pragma once

#include "content/LevelModel.h"
#include "content/WorldTriangle.h"

#include <string_view>

namespace orv {

class T3dSink {
public:
    virtual ~T3dSink() = default;
    // "Begin Actor Class=... Name=...": the class and name as written.
    virtual void BeginActor(std::string_view className, std::string_view name) = 0;
    // A key=value line of the current actor (value everything after the first "=", untrimmed).
    virtual void Property(std::string_view key, std::string_view value) = 0;
    // A polygon of the current actor that is kept: not flagged 0x80, not inside a Brush block.
    virtual void Polygon(const T3dPolygon& polygon) = 0;
    // "End Actor" of the current actor.
    virtual void EndActor() = 0;
};

// Reads a T3D file (the caller has checked it exists). Syntax errors are fatal with the texts
// "Parse error: 'Begin Actor' in the middle of another actor.", "Parse error: 'Begin Polygon' in
// the middle of another polygon", "Parse error: 'End Polygon' without matching 'Begin Polygon'",
// and "Parse error: bad line N of FILE: TEXT" for a vector line with fewer than three numbers or
// a "Begin Actor" line without "Name=". Polygon textures go through resolve (an empty
// "Texture=" passes empty text, which stands for the fallback texture).
void ParseT3D(std::string_view path, T3dSink& sink, const TextureResolver& resolve);
void ParseT3DText(std::string_view fileName, std::string_view text, T3dSink& sink, const TextureResolver& resolve);

} // namespace orv
