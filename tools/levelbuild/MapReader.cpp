// The T3D line classifier of the level compiler.
#include "MapReader.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <optional>

namespace orv {

namespace {

class MapParser {
public:
    explicit MapParser(std::string_view path) { map_.Path = std::string(path); }

    MapFile Parse(std::string_view text);

private:
    [[noreturn]] void Fail(std::string_view message) {
        Log("In " + map_.Path + ", line " + std::to_string(lineNumber_) + ": " + std::string(line_));
        FatalError(message);
    }
    [[noreturn]] void BadLine() {
        FatalError("Parse error: bad line " + std::to_string(lineNumber_) + " of " + map_.Path + ": " +
                   std::string(line_));
    }

    void ParseLine();
    bool PolygonLine(std::string_view lower);
    Vector VectorLine() {
        Vector v;
        if (ParseVectorLine(line_, v) < 3) {
            BadLine();
        }
        return v;
    }

    MapFile map_;
    std::optional<MapActor> actor_;
    std::optional<MapPolygon> polygon_;
    std::string_view line_;
    int lineNumber_ = 0;
};

bool StartsWith(std::string_view lower, std::string_view keyword) { return lower.substr(0, keyword.size()) == keyword; }

MapFile MapParser::Parse(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++lineNumber_;
        line_ = TrimBlanks(text.substr(start, end - start));
        ParseLine();
        start = end + 1;
    }
    return std::move(map_);
}

void MapParser::ParseLine() {
    const std::string lower = ToLowerAscii(line_);
    if (StartsWith(lower, ";")) {
        return;
    }
    if (StartsWith(lower, "begin actor")) {
        if (actor_) {
            Fail("Parse error: 'Begin Actor' in the middle of another actor.");
        }
        if (lower.find("name=") == std::string::npos || TextBetween(line_, "class=", " ").empty()) {
            BadLine();
        }
        MapActor actor;
        actor.Class = std::string(TextBetween(line_, "class=", " "));
        actor.Name = std::string(TextAfter(line_, "name="));
        actor.Line = lineNumber_;
        actor_ = std::move(actor);
        return;
    }
    const size_t equals = line_.find('=');
    if (equals != std::string_view::npos && line_.substr(0, equals).find(' ') == std::string_view::npos) {
        if (actor_) {
            actor_->Properties.Set(line_.substr(0, equals), TextAfter(line_, "="));
        }
        return;
    }
    if (lower == "end actor") {
        if (actor_) {
            map_.Actors.push_back(std::move(*actor_));
            actor_.reset();
        }
        return;
    }
    if (StartsWith(lower, "begin polygon")) {
        if (polygon_) {
            Fail("Parse error: 'Begin Polygon' in the middle of another polygon");
        }
        MapPolygon polygon;
        polygon.Line = lineNumber_;
        if (lower.find("texture=") != std::string::npos) {
            polygon.Texture = std::string(TextBetween(line_, "Texture=", " "));
        }
        if (lower.find("flags=") != std::string::npos) {
            // Editor exports write the flags signed; the bits are what count.
            polygon.Flags = static_cast<uint32_t>(static_cast<int64_t>(ParseDouble(TextBetween(line_, "Flags=", " "))));
        }
        polygon_ = std::move(polygon);
        return;
    }
    if (!polygon_) {
        if (lower == "end polygon") {
            Fail("Parse error: 'End Polygon' without matching 'Begin Polygon'");
        }
        return;
    }
    PolygonLine(lower);
}

bool MapParser::PolygonLine(std::string_view lower) {
    MapPolygon& p = *polygon_;
    if (StartsWith(lower, "origin")) {
        p.Origin = VectorLine();
    } else if (StartsWith(lower, "normal")) {
        p.Normal = VectorLine();
    } else if (StartsWith(lower, "textureu")) {
        p.TextureU = VectorLine();
    } else if (StartsWith(lower, "texturev")) {
        p.TextureV = VectorLine();
    } else if (StartsWith(lower, "pan")) {
        p.PanU = ParseInt(TextBetween(line_, "u=", " "));
        p.PanV = ParseInt(TextAfter(line_, "v="));
    } else if (StartsWith(lower, "vertex")) {
        p.Vertices.push_back(VectorLine());
    } else if (lower == "end polygon") {
        if (actor_) {
            actor_->Polygons.push_back(std::move(p));
        }
        polygon_.reset();
    } else {
        return false;
    }
    return true;
}

} // namespace

MapFile ParseMap(std::string_view text, std::string_view path) { return MapParser(path).Parse(text); }

MapFile ReadMapFile(std::string_view path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Cannot read map file " + std::string(path));
    }
    return ParseMap(text, path);
}

} // namespace orv
