// Splitting of package-qualified names ("Package.Group.Name"), shared by the texture, sound
// and mesh lookups.
#pragma once

#include <string>
#include <string_view>

namespace orv {

struct Resources;

struct PackageName {
    std::string Package;
    std::string Group; // empty when the name has none
    std::string Name;
};

// Splits a name (an object reference in single quotes is unwrapped first): three parts are
// package, group and name; two are package and name; one part takes defaultPackage. More than
// three parts writes the line "Bad name " + name and returns false.
bool SplitPackageName(std::string_view name, std::string_view defaultPackage, PackageName& out);

// The text after the last "." that follows the last "\" or "/", with its dot; empty when none.
std::string_view PathExtension(std::string_view path);

// The path with its extension (see PathExtension) replaced, or the extension appended.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

// Object references, and where a named texture or sound is in the content tree.
std::string StripObjectReference(std::string_view text);
std::string ResolveTexturePath(const Resources& res, std::string_view name, std::string_view defaultPackage);
std::string ResolveSoundPath(const Resources& res, std::string_view name, std::string_view defaultPackage);
std::string FindFileRecursive(std::string_view directory, std::string_view pattern);

} // namespace orv
