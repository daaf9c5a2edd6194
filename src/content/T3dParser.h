// The T3D map reader, the one the engine and the level compiler share: a flat line classifier over
// the editor's text export. It reports actor blocks, their key=value lines and every polygon to a
// sink; each sink keeps what it needs (the engine's actor builder only mover brushes, the compiler
// the editor's brushes too).
#pragma once

#include "content/WorldTriangle.h"

#include <cstdint>
#include <string_view>

namespace orv {

class T3dSink {
public:
    virtual ~T3dSink() = default;
    // "Begin Actor Class=... Name=...": the class and name as written (the class empty when the
    // line has no "Class="), and the line's number in the file (from 1).
    virtual void BeginActor(std::string_view className, std::string_view name, int line) = 0;
    // A key=value line of the current actor (value everything after the first "=", untrimmed).
    virtual void Property(std::string_view key, std::string_view value) = 0;
    // The same with the line's number in the file; a sink that reports bad values overrides it.
    virtual void PropertyAt(std::string_view key, std::string_view value, int /*line*/) { Property(key, value); }
    // Every polygon of the current actor, those of Brush blocks and sky portals (flag 0x80)
    // included, with its texture named (TextureName) but not resolved; the sink may keep it.
    virtual void Polygon(T3dPolygon&& polygon) = 0;
    // "End Actor" of the current actor.
    virtual void EndActor() = 0;
};

// Polygon flags as editors write them, signed ("-1073741696") or unsigned ("3221225472"): both
// spellings give the same 32 bits. Reads the leading integer; anything else reads as 0.
uint32_t ParseT3dFlags(std::string_view text);

// Reads a T3D file (the caller has checked it exists). Syntax errors are fatal with the texts
// "Parse error: 'Begin Actor' in the middle of another actor.", "Parse error: 'Begin Polygon' in
// the middle of another polygon" and "Parse error: 'End Polygon' without matching 'Begin
// Polygon'", each after a log line "In FILE, line N: TEXT" naming the place, and
// "Parse error: bad line N of FILE: TEXT" for a vector line with fewer than three finite numbers
// or a "Begin Actor" line without "Name=". Vector components are clamped to +-kWorldMax.
void ParseT3D(std::string_view path, T3dSink& sink);
void ParseT3DText(std::string_view fileName, std::string_view text, T3dSink& sink);

} // namespace orv
