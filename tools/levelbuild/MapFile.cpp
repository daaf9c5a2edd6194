// The level compiler's T3D sink: it keeps every actor and every polygon.
#include "MapFile.h"

#include "content/T3dParser.h"
#include "core/Fatal.h"
#include "core/Vfs.h"

#include <optional>

namespace orv {

namespace {

class MapBuilder final : public T3dSink {
public:
    explicit MapBuilder(MapFile& map) : map_(map) {}

    void BeginActor(std::string_view className, std::string_view name, int line) override {
        actor_.emplace();
        actor_->Class = std::string(className);
        actor_->Name = std::string(name);
        actor_->Line = line;
    }
    void Property(std::string_view key, std::string_view value) override { actor_->Properties.Set(key, value); }
    void Polygon(T3dPolygon&& polygon) override { actor_->Polygons.push_back(std::move(polygon)); }
    void EndActor() override {
        map_.Actors.push_back(std::move(*actor_));
        actor_.reset();
    }

private:
    MapFile& map_;
    std::optional<MapActor> actor_; // an actor still open at the end of the file is not kept
};

} // namespace

MapFile ParseMap(std::string_view text, std::string_view path) {
    MapFile map;
    map.Path = std::string(path);
    MapBuilder builder(map);
    ParseT3DText(path, text, builder);
    return map;
}

MapFile ReadMapFile(std::string_view path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Cannot read map file " + std::string(path));
    }
    return ParseMap(text, path);
}

} // namespace orv
