// Class scripts: the class records (name, parent, default properties) and the mesh directives
// read from every package's "Classes\*.uc", and the class-tree tests built on them.
#pragma once

#include "content/PropertyList.h"

#include <string>
#include <string_view>

namespace orv {

struct Resources;

struct ClassRecord {
    std::string Package;
    std::string Name;
    std::string ParentName;
    ClassRecord* Parent = nullptr;
    PropertyList Defaults; // a key may occur more than once, in file order
};

struct MeshDirective {
    std::string MeshName;
    std::string Text; // the directive after "#exec", trimmed
};

void LoadClassDefaults(Resources& res);
void ParseClassScript(Resources& res, std::string_view path, std::string_view packageName);
// The same over text already read; path names the file in messages.
void ParseClassScriptText(Resources& res, std::string_view text, std::string_view path, std::string_view packageName);
// Links every record to its parent's record (LoadClassDefaults does this after reading them all).
void LinkClassParents(Resources& res);
ClassRecord* FindClass(const Resources& res, std::string_view className);
// True when a record on className's parent chain, or the parent name stored in one, is baseName.
bool IsA(const Resources& res, std::string_view className, std::string_view baseName);
// True when the names are equal, else IsA.
bool IsSameOrA(const Resources& res, std::string_view className, std::string_view baseName);
// Merges the class chain's defaults into the list, root first; returns the class's record or null.
ClassRecord* ApplyClassDefaults(const Resources& res, std::string_view className, PropertyList& properties);

} // namespace orv
