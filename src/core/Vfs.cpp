// Case-blind path resolution with cached, sorted directory listings.
#include "core/Vfs.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_map>

namespace fs = std::filesystem;

namespace orv {

namespace {

struct DirEntry {
    std::string Name;
    bool IsDirectory = false;
};

struct Listing {
    bool Exists = false;
    std::vector<DirEntry> Entries; // sorted ASCII case-blind
};

struct VfsCache {
    std::mutex Lock;
    std::unordered_map<std::string, Listing> Listings; // keyed by the real directory path
};

VfsCache& Cache() {
    static VfsCache cache;
    return cache;
}

const Listing& ListDirectoryLocked(VfsCache& cache, const std::string& dir) {
    auto found = cache.Listings.find(dir);
    if (found != cache.Listings.end()) {
        return found->second;
    }
    Listing listing;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
    if (!ec) {
        listing.Exists = true;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) {
                break;
            }
            std::error_code typeError;
            DirEntry entry;
            entry.Name = it->path().filename().string();
            entry.IsDirectory = it->is_directory(typeError);
            listing.Entries.push_back(std::move(entry));
        }
        std::sort(listing.Entries.begin(), listing.Entries.end(),
                  [](const DirEntry& a, const DirEntry& b) { return LessTextNoCase(a.Name, b.Name); });
    }
    return cache.Listings.emplace(dir, std::move(listing)).first->second;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

std::string JoinPath(const std::string& dir, std::string_view name) {
    if (dir.empty()) {
        return std::string(name);
    }
    if (dir.back() == '/') {
        return dir + std::string(name);
    }
    return dir + "/" + std::string(name);
}

// Finds one component in a directory: exact case first, then the first case-blind match.
const DirEntry* FindEntry(const Listing& listing, std::string_view name) {
    for (const DirEntry& e : listing.Entries) {
        if (e.Name == name) {
            return &e;
        }
    }
    for (const DirEntry& e : listing.Entries) {
        if (SameText(e.Name, name)) {
            return &e;
        }
    }
    return nullptr;
}

// Resolves every component of the path; isDirectory tells what the last one is.
std::optional<std::string> ResolveLocked(VfsCache& cache, std::string_view path, bool* isDirectory) {
    std::string real = (!path.empty() && (path[0] == '/')) ? "/" : "";
    bool dir = true;
    for (std::string_view part : SplitComponents(path)) {
        if (!dir) {
            return std::nullopt;
        }
        if (part == "." || part == "..") {
            real = JoinPath(real, part);
            continue;
        }
        const Listing& listing = ListDirectoryLocked(cache, real);
        const DirEntry* entry = FindEntry(listing, part);
        if (!entry) {
            return std::nullopt;
        }
        real = JoinPath(real, entry->Name);
        dir = entry->IsDirectory;
    }
    if (real.empty()) {
        real = ".";
    }
    if (isDirectory) {
        *isDirectory = dir;
    }
    return real;
}

std::vector<std::string> ListMatching(std::string_view pattern, bool wantDirectories) {
    std::vector<std::string> names;
    const size_t slash = pattern.find_last_of("\\/");
    const std::string_view dirPart = slash == std::string_view::npos ? std::string_view{} : pattern.substr(0, slash + 1);
    const std::string_view namePattern = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);

    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    bool isDirectory = false;
    std::optional<std::string> dir = dirPart.empty() ? std::optional<std::string>(".") : ResolveLocked(cache, dirPart, &isDirectory);
    if (!dir || (!dirPart.empty() && !isDirectory)) {
        return names;
    }
    const std::string key = dirPart.empty() ? std::string() : *dir;
    for (const DirEntry& e : ListDirectoryLocked(cache, key).Entries) {
        if (e.IsDirectory == wantDirectories && e.Name != "." && e.Name != ".." && WildcardMatch(namePattern, e.Name)) {
            names.push_back(e.Name);
        }
    }
    return names;
}

} // namespace

std::optional<std::string> ResolvePath(std::string_view path) {
    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    return ResolveLocked(cache, path, nullptr);
}

bool FileExists(std::string_view path) {
    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    bool isDirectory = true;
    return ResolveLocked(cache, path, &isDirectory).has_value() && !isDirectory;
}

bool DirectoryExists(std::string_view path) {
    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    bool isDirectory = false;
    return ResolveLocked(cache, path, &isDirectory).has_value() && isDirectory;
}

std::vector<std::string> ListFiles(std::string_view pattern) { return ListMatching(pattern, false); }

std::vector<std::string> ListDirectories(std::string_view pattern) { return ListMatching(pattern, true); }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative match with backtracking to the last "*".
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || SameByte(static_cast<unsigned char>(pattern[p]), static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool ReadWholeFile(std::string_view path, std::string& out) {
    out.clear();
    bool isDirectory = true;
    std::optional<std::string> real;
    {
        VfsCache& cache = Cache();
        std::lock_guard lock(cache.Lock);
        real = ResolveLocked(cache, path, &isDirectory);
    }
    if (!real || isDirectory) {
        return false;
    }
    std::ifstream in(*real, std::ios::binary);
    if (!in) {
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return false;
    }
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<size_t>(size));
    in.read(out.data(), size);
    out.resize(static_cast<size_t>(in.gcount()));
    return true;
}

bool ReadFileBytes(std::string_view path, std::vector<uint8_t>& out) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        out.clear();
        return false;
    }
    out.assign(text.begin(), text.end());
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find('\n', start);
        if (at == std::string_view::npos) {
            if (start < text.size() || lines.empty()) {
                std::string_view last = text.substr(start);
                if (!last.empty() && last.back() == '\r') {
                    last.remove_suffix(1);
                }
                lines.emplace_back(last);
            }
            return lines;
        }
        std::string_view line = text.substr(start, at - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = at + 1;
    }
}

bool ReadLines(std::string_view path, std::vector<std::string>& lines) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        lines.clear();
        return false;
    }
    lines = SplitLines(text);
    return true;
}

std::string ResolveForWrite(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string dir;
    if (slash != std::string_view::npos) {
        const std::string_view dirPart = path.substr(0, slash + 1);
        std::optional<std::string> realDir = ResolvePath(dirPart);
        if (realDir) {
            dir = *realDir;
        } else {
            dir = std::string(dirPart.substr(0, dirPart.size() - 1));
            std::replace(dir.begin(), dir.end(), '\\', '/');
            if (dir.empty()) {
                dir = "/";
            }
        }
    }
    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    const Listing& listing = ListDirectoryLocked(cache, dir);
    const DirEntry* existing = FindEntry(listing, name);
    return JoinPath(dir, existing ? std::string_view(existing->Name) : name);
}

bool WriteWholeFile(std::string_view path, std::string_view data) {
    const std::string real = ResolveForWrite(path);
    InvalidateVfsCache();
    std::FILE* f = std::fopen(real.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size(); // an empty view may hold no buffer
    return std::fclose(f) == 0 && ok;
}

bool DeleteFile(std::string_view path) {
    std::optional<std::string> real = ResolvePath(path);
    if (!real) {
        return false;
    }
    InvalidateVfsCache();
    return std::remove(real->c_str()) == 0;
}

bool RenameFile(std::string_view from, std::string_view to) {
    std::optional<std::string> real = ResolvePath(from);
    if (!real) {
        return false;
    }
    const std::string target = ResolveForWrite(to);
    InvalidateVfsCache();
    return std::rename(real->c_str(), target.c_str()) == 0;
}

bool CreateDirectories(std::string_view path) {
    std::string real = ResolveForWrite(path);
    InvalidateVfsCache();
    std::error_code ec;
    fs::create_directories(real, ec);
    return !ec && fs::is_directory(real, ec);
}

bool SetWorkingDirectory(std::string_view path) {
    std::optional<std::string> real = ResolvePath(path);
    if (!real) {
        return false;
    }
    std::error_code ec;
    fs::current_path(*real, ec);
    InvalidateVfsCache();
    return !ec;
}

void InvalidateVfsCache() {
    VfsCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    cache.Listings.clear();
}

} // namespace orv
