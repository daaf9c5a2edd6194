// How a field row reads its property's text and writes its value as JSON.
#include "world/ActorFields.h"

#include "content/Mesh.h"
#include "content/Texture.h"
#include "core/JsonLine.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/World.h"

namespace orv {

// The value tables of content/PropertyValues are the enumerations' names, by number.
static_assert(std::size(kPhysicsNames) == phys_trailer + 1);
static_assert(std::size(kStyleNames) == sty_alphablend + 1);
static_assert(std::size(kLightTypeNames) == lt_texturepaletteloop + 1);
static_assert(std::size(kLightEffectNames) == le_sunlight + 1);

void ReadValue(float& field, Syntax how, std::string_view text, World&) {
    field = ClampToWorld(how == Syntax::Int ? static_cast<float>(ParseInt(text)) : ParseFloat(text));
}

void ReadValue(int32_t& field, Syntax, std::string_view text, World&) { field = ParseInt(text); }

void ReadValue(uint8_t& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::Bool) {
        field = ParseBool(text) ? 1 : 0;
    } else if (how == Syntax::Byte) {
        field = ParseByte(text);
    } else {
        field = static_cast<uint8_t>(ParseInt(text));
    }
}

void ReadValue(Vector& field, Syntax how, std::string_view text, World&) {
    field = ClampToWorld(how == Syntax::XyzOrCurrent ? ParseVectorOrCurrent(text, field) : ParseVectorValue(text));
}

void ReadValue(Rotator& field, Syntax, std::string_view text, World&) { field = ParseRotatorValue(text); }

void ReadValue(std::string& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::State) {
        field = ParseStateValue(text);
    } else if (how == Syntax::ClassRef) {
        field = ParseClassRefValue(text);
    } else {
        field = std::string(text);
    }
}

void ReadValue(Texture*& field, Syntax, std::string_view text, World& world) {
    if (!text.empty()) {
        Texture* texture = LoadTexture(world.Res, text, true);
        if (texture != world.Res.FallbackTexture()) {
            field = texture;
        }
    }
}

void ReadValue(Mesh*& field, Syntax, std::string_view text, World& world) {
    field = FindMesh(world.Res, ParseClassRefValue(text));
}

std::string JsonValue(uint8_t value) { return std::to_string(value); }
std::string JsonValue(int32_t value) { return std::to_string(value); }
std::string JsonValue(uint32_t value) { return std::to_string(value); }
std::string JsonValue(uint64_t value) { return std::to_string(value); }
std::string JsonValue(float value) { return JsonLine::Number(value, true); }

std::string JsonValue(const Vector& value) {
    return "[" + JsonValue(value.X) + "," + JsonValue(value.Y) + "," + JsonValue(value.Z) + "]";
}

std::string JsonValue(const Rotator& value) {
    return "[" + JsonValue(value.Pitch) + "," + JsonValue(value.Yaw) + "," + JsonValue(value.Roll) + "]";
}

std::string JsonValue(const std::string& value) { return JsonLine::Quote(value); }

std::string JsonValue(const Texture* texture) { return texture ? JsonLine::Quote(texture->Name) : "null"; }

std::string JsonValue(const Mesh* mesh) {
    if (!mesh) {
        return "null";
    }
    return JsonLine::Quote(mesh->Package.empty() ? mesh->Name : mesh->Package + "." + mesh->Name);
}

std::string JsonValue(const MeshSequence* sequence) { return sequence ? JsonLine::Quote(sequence->Name) : "null"; }

std::string JsonValue(const Actor* actor) { return actor ? JsonLine::Quote(actor->Name) : "null"; }

std::string JsonValue(const std::unique_ptr<ActorBrush>& brush) { return brush ? "true" : "false"; }

std::string JsonValue(const Array<Particle>& particles) { return JsonValue(particles.Num()); }

std::string Field::Key(int index) const {
    std::string key(Name);
    return Count > 1 ? key + "(" + std::to_string(index) + ")" : key;
}

std::string Field::Text(const Actor& actor, int index) const {
    if (Absent && Absent != kUnchanged) {
        return actor.GetPropertyOr(Key(index), Absent);
    }
    return actor.GetProperty(Key(index));
}

void Field::Read(Actor& actor) const {
    if (read_) {
        read_(actor, *this);
        return;
    }
    if (!assign_) {
        return;
    }
    for (int i = 0; i < Count; ++i) {
        const std::string text = Text(actor, i);
        if (Absent != kUnchanged || !text.empty()) {
            assign_(actor, i, text);
        }
    }
}

void ForEachField(const Actor& actor, const std::function<void(const Field&)>& visit) {
    auto walk = [&](const ClassFields& fields, auto& self) -> void {
        if (fields.Parent) {
            self(*fields.Parent, self);
        }
        for (const Field& row : fields.Rows) {
            visit(row);
        }
    };
    walk(FieldsOf(actor.GetEngineClass()), walk);
}

void Actor::ApplyProperties() {
    ForEachField(*this, [this](const Field& row) { row.Read(*this); });
}

} // namespace orv
