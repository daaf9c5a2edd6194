// Building the level's actors from the T3D reader's blocks.
#include "content/PropertyValues.h"
#include "core/Log.h"
#include "core/Text.h"
#include "world/ActorBrush.h"
#include "world/LevelLoader.h"
#include "world/World.h"

namespace orv {

namespace {

class ActorBuilder final : public T3dSink {
public:
    ActorBuilder(World& world, std::string_view fileName)
        : world_(world), fileName_(fileName), resolve_(LevelTextureResolver(world)) {}

    void BeginActor(std::string_view className, std::string_view name, int) override {
        current_ = CreateActor(world_, className);
        current_->Name = std::string(name);
        ApplyClassDefaults(*current_);
        // The editor's brushes are not geometry here: the world comes from the Level Model.
        brushBlock_ = SameText(className, "Brush");
    }

    void Property(std::string_view key, std::string_view value) override {
        if (current_) {
            current_->SetProperty(key, value);
        }
    }

    // A number that is not finite is refused where it enters: the property keeps its default.
    void PropertyAt(std::string_view key, std::string_view value, int line) override {
        if (current_ && HasNonFiniteNumber(value)) {
            Log("Warning: " + std::string(fileName_) + ", line " + std::to_string(line) + ": " + std::string(key) +
                "=" + std::string(value) + " is not a finite number; the property is ignored");
            return;
        }
        Property(key, value);
    }

    // Sky portals (flag 0x80) are dropped with the Brush blocks; an empty texture name gives the
    // fallback texture and no "Texture=" no texture.
    void Polygon(T3dPolygon&& polygon) override {
        if (!current_ || brushBlock_ || (polygon.Flags & PF_FakeBackdrop) != 0) {
            return;
        }
        if (!current_->Brush) {
            current_->Brush = std::make_unique<ActorBrush>();
            current_->Brush->Owner = current_.get();
        }
        polygon.Tex = polygon.TextureName ? resolve_(*polygon.TextureName) : nullptr;
        TriangulatePolygon(current_->Brush->Triangles, polygon);
    }

    void EndActor() override {
        if (!current_) {
            return;
        }
        const bool mover = SameText(current_->Class, "Mover") || IsSameOrA(world_.Res, current_->Class, "Mover");
        if (mover && !current_->Brush) {
            Log("Warning: Mesh Movers are not supported.");
            current_.reset();
            return;
        }
        current_->ApplyProperties();
        world_.Actors.Add(std::move(current_));
    }

private:
    World& world_;
    std::string_view fileName_;
    TextureResolver resolve_;
    std::unique_ptr<Actor> current_;
    bool brushBlock_ = false;
};

} // namespace

TextureResolver LevelTextureResolver(World& world) {
    return [&world](std::string_view name) -> Texture* {
        if (name.empty()) {
            return world.Res.FallbackTexture();
        }
        return LoadTexture(world.Res, name, true);
    };
}

void ParseT3DActors(World& world, std::string_view path) {
    ActorBuilder builder(world, path);
    ParseT3D(path, builder);
}

void ParseT3DActorsText(World& world, std::string_view fileName, std::string_view text) {
    ActorBuilder builder(world, fileName);
    ParseT3DText(fileName, text, builder);
}

} // namespace orv
