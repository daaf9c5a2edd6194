// Reading, looking up and writing back the settings table.
#include "core/ConfigFile.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orv {

namespace {

// The lines of the text: a line ends at LF, CR LF or a lone CR (old Mac editors), so that a file
// with CR-only line ends is not one long line whose first key swallows every other setting. A
// final line break does not start another line; empty text is one empty line.
std::vector<std::string_view> ConfigLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    if (start < text.size() || lines.empty()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// Reads at most limit + 1 bytes, so that a huge file (or an endless device) costs no more memory
// than that. False when the file does not exist or is a folder.
bool ReadAtMost(std::string_view path, size_t limit, std::string& out) {
    out.clear();
    const std::optional<std::string> real = ResolvePath(path);
    if (!real || DirectoryExists(path)) {
        return false;
    }
    std::ifstream in(*real, std::ios::binary);
    if (!in) {
        return false;
    }
    out.resize(limit + 1);
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    out.resize(static_cast<size_t>(in.gcount()));
    return true;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes the rename itself durable: the folder's entry is flushed too.
bool SyncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool ConfigKeysMatch(std::string_view a, std::string_view b) { return SameText(a, b); }

void ConfigParse(ConfigTable& table, std::string_view text) {
    table.Entries.Clear();
    for (const std::string_view rawLine : ConfigLines(text)) {
        const std::string_view line = TrimSpaces(rawLine);
        ConfigEntry entry;
        const size_t equals = line.find('=');
        if (!line.empty() && line.front() == ';') {
            entry.Value = std::string(line);
        } else if (equals != std::string_view::npos) {
            entry.Key = std::string(line.substr(0, equals));
            entry.Value = std::string(line.substr(equals + 1));
        } else {
            entry.Value = std::string(line);
        }
        table.Entries.Add(std::move(entry));
    }
}

bool ConfigRead(ConfigTable& table, std::string_view fileName) {
    std::string text;
    if (!ReadAtMost(fileName, kMaxConfigBytes, text)) {
        table.Entries.Clear();
        return false;
    }
    if (text.size() > kMaxConfigBytes) {
        text.resize(kMaxConfigBytes);
        Log(std::string(fileName) + ": more than " + std::to_string(kMaxConfigBytes) + " bytes; only the first " +
            std::to_string(kMaxConfigBytes) + " are read.");
    }
    ConfigParse(table, text);
    return true;
}

void ConfigLoad(ConfigTable& table, std::string_view fileName) {
    if (!ConfigRead(table, fileName)) {
        FatalError("Can't open \"" + std::string(fileName) + "\": file not found.");
    }
}

const std::string* ConfigFind(const ConfigTable& table, std::string_view key) {
    for (const ConfigEntry& e : table.Entries) {
        if (!e.Key.empty() && ConfigKeysMatch(e.Key, key)) {
            return &e.Value;
        }
    }
    return nullptr;
}

std::string ConfigGet(const ConfigTable& table, std::string_view key) {
    const std::string* value = ConfigFind(table, key);
    return value ? *value : std::string();
}

void ConfigSet(ConfigTable& table, std::string_view key, std::string_view value) {
    for (ConfigEntry& e : table.Entries) {
        if (!e.Key.empty() && ConfigKeysMatch(e.Key, key)) {
            e.Value = std::string(value);
            return;
        }
    }
    table.Entries.Add(ConfigEntry{std::string(key), std::string(value)});
}

bool ConfigSave(const ConfigTable& table, std::string_view fileName) {
    std::string text;
    for (const ConfigEntry& e : table.Entries) {
        if (!e.Key.empty()) {
            text += e.Key;
            text += '=';
        }
        text += e.Value;
        text += "\r\n";
    }
    // The whole text goes to a file beside it and onto the disk first; the rename then replaces
    // the old file in one step and the folder is flushed after it: a save killed at any moment,
    // or a power cut, leaves the old settings or the new ones, never half a file and never none.
    const std::string real = ResolveForWrite(fileName);
    const std::string tempName = real + ".tmp";
    InvalidateVfsCache();
    ::unlink(tempName.c_str()); // a killed save's leftover, whatever its permissions
    const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    if (::stat(real.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777); // the new file keeps the old one's permissions
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempName.c_str(), real.c_str()) != 0) {
        ::unlink(tempName.c_str());
        return false;
    }
    return SyncFolderOf(real);
}

float ConfigGetFloat(const ConfigTable& table, std::string_view key) { return ParseFloat(ConfigGet(table, key)); }

int ConfigGetInt(const ConfigTable& table, std::string_view key) { return ParseInt(ConfigGet(table, key)); }

bool ConfigGetBool(const ConfigTable& table, std::string_view key) { return ParseBool(ConfigGet(table, key)); }

} // namespace orv
