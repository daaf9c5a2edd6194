// Content paths as the engine writes them ("Textures\Zelkor\Textures\Logo.png"), resolved on
// Linux case-blind, component by component, against the real tree. Directory listings are
// cached and dropped whenever the program itself writes, renames or deletes a file.
// Both "\" and "/" separate components; a path starting with "/" is absolute, any other is
// relative to the working directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The real path of an existing file or directory, or nothing. An exact-case match of a
// component wins over a case-blind one; among case-blind matches the first in sorted order.
std::optional<std::string> ResolvePath(std::string_view path);

bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);

// Names (as on disk, without the folder) of the files, or of the subdirectories, that match a
// pattern such as "System\*" or "Maps\*.t3d": "*" and "?" in the last component, matched
// case-blind. Sorted ASCII case-blind; "." and ".." are never listed.
std::vector<std::string> ListFiles(std::string_view pattern);
std::vector<std::string> ListDirectories(std::string_view pattern);

// Case-blind wildcard match of one name against a pattern with "*" and "?".
bool WildcardMatch(std::string_view pattern, std::string_view name);

bool ReadWholeFile(std::string_view path, std::string& out);
bool ReadFileBytes(std::string_view path, std::vector<uint8_t>& out);

// Splits text into lines at LF, dropping a CR before it. A final line break does not start
// another line; empty text is one empty line.
std::vector<std::string> SplitLines(std::string_view text);
bool ReadLines(std::string_view path, std::vector<std::string>& lines);

// The real path a new file of this name would get: the folders resolved case-blind (missing
// ones kept as written), the last component matched to an existing file when there is one.
std::string ResolveForWrite(std::string_view path);

// Writing creates or truncates; the folders must exist (CreateDirectories makes them).
bool WriteWholeFile(std::string_view path, std::string_view data);
bool DeleteFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);
bool CreateDirectories(std::string_view path);

// Changes the working directory that relative paths start from (the cache is keyed by it).
bool SetWorkingDirectory(std::string_view path);

// Forgets every cached listing (for files made behind the engine's back, as tests do).
void InvalidateVfsCache();

} // namespace orv
