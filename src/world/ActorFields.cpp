// How a field row reads its property's text and writes its value as JSON.
#include "world/ActorFields.h"

#include "content/Mesh.h"
#include "content/PropertyValues.h"
#include "content/Texture.h"
#include "core/Fatal.h"
#include "core/JsonLine.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/World.h"

namespace orv {

// The value tables of content/PropertyValues are the enumerations' names, by number.
static_assert(std::size(kPhysicsNames) == phys_trailer + 1);
static_assert(std::size(kStyleNames) == sty_alphablend + 1);
static_assert(std::size(kLightTypeNames) == lt_texturepaletteloop + 1);
static_assert(std::size(kLightEffectNames) == le_sunlight + 1);

std::span<const char* const> EnumNames(EPhysics) { return kPhysicsNames; }
std::span<const char* const> EnumNames(EStyle) { return kStyleNames; }
std::span<const char* const> EnumNames(ELightType) { return kLightTypeNames; }
std::span<const char* const> EnumNames(ELightEffect) { return kLightEffectNames; }

bool ReadEnumValue(int32_t& value, Syntax how, std::string_view text, std::span<const char* const> names) {
    if (how != Syntax::Enum) {
        return false;
    }
    ParseEnumValue(text, names, value);
    return true;
}

bool ReadValue(float& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::Float) {
        field = ParseFloat(text);
    } else if (how == Syntax::Int) {
        field = static_cast<float>(ParseInt(text));
    } else {
        return false;
    }
    return true;
}

bool ReadValue(int32_t& field, Syntax how, std::string_view text, World&) {
    if (how != Syntax::Int) {
        return false;
    }
    field = ParseInt(text);
    return true;
}

bool ReadValue(uint8_t& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::Bool) {
        field = ParseBool(text) ? 1 : 0;
    } else if (how == Syntax::Byte) {
        field = ParseByte(text);
    } else if (how == Syntax::Int) {
        field = static_cast<uint8_t>(ParseInt(text));
    } else {
        return false;
    }
    return true;
}

bool ReadValue(Vector& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::Xyz) {
        field = ParseVectorValue(text);
    } else if (how == Syntax::XyzOrCurrent) {
        field = ParseVectorOrCurrent(text, field);
    } else {
        return false;
    }
    return true;
}

bool ReadValue(Rotator& field, Syntax how, std::string_view text, World&) {
    if (how != Syntax::PitchYawRoll) {
        return false;
    }
    field = ParseRotatorValue(text);
    return true;
}

bool ReadValue(std::string& field, Syntax how, std::string_view text, World&) {
    if (how == Syntax::Text) {
        field = std::string(text);
    } else if (how == Syntax::State) {
        field = ParseStateValue(text);
    } else if (how == Syntax::ClassRef) {
        field = ParseClassRefValue(text);
    } else {
        return false;
    }
    return true;
}

bool ReadValue(Texture*& field, Syntax how, std::string_view text, World& world) {
    if (how != Syntax::TextureName) {
        return false;
    }
    if (!text.empty()) {
        Texture* texture = LoadTexture(world.Res, text, true);
        if (texture != world.Res.FallbackTexture()) {
            field = texture;
        }
    }
    return true;
}

bool ReadValue(Mesh*& field, Syntax how, std::string_view text, World& world) {
    if (how != Syntax::MeshName) {
        return false;
    }
    field = FindMesh(world.Res, ParseClassRefValue(text));
    return true;
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
    if (How == Syntax::None) {
        return;
    }
    for (int i = 0; i < Count; ++i) {
        const std::string text = Text(actor, i);
        if (Absent == kUnchanged && text.empty()) {
            continue;
        }
        if (!assign_(actor, i, How, text)) {
            FatalError("The field " + std::string(Name) + " of " + EngineClassName(actor.GetEngineClass()) +
                       " cannot be read with its syntax.");
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
