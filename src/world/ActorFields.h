// The rows that describe an engine class's record: for each field, the property that fills it
// (if any), how the property's text reads, and the member that holds it. One table per class
// (ClassFields.cpp) drives ApplyProperties and the --dump line, so a field is written once.
#pragma once

#include "content/PropertyValues.h"
#include "core/Array.h"
#include "world/Actor.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace orv {

struct Particle;

// How a property's text becomes a field's value. A property that is absent reads as empty text
// unless its row gives a text of its own for that case.
enum class Syntax : uint8_t {
    None,         // run-time state: no property fills it
    Xyz,          // "(X=1,Y=2,Z=3)"; components not given are 0
    XyzOrCurrent, // "x=", "y=", "z=" anywhere in the text; components not given keep their value
    PitchYawRoll, // "(Pitch=..,Yaw=..,Roll=..)"; components not given are 0
    Float,        // single precision
    Int,          // 32-bit signed; also into a float or a byte field
    Byte,         // the integer kept in 8 bits
    Bool,         // "True", "False" or a number
    Enum,         // a value's name or number; anything else leaves the field unchanged
    Text,         // as written
    State,        // as written, less one pair of surrounding double quotes
    ClassRef,     // "Class'Package.Name'" reduced to Name
    TextureName,  // a level texture; empty text, or a texture that falls back, leaves the field unchanged
    MeshName,     // a mesh by reference; empty text gives the fallback mesh
};

// The absent text of a row whose field keeps its value when the property is absent or empty.
inline constexpr char kUnchanged[] = "<unchanged>";

// The names of each enumeration's values in property text, by number.
inline std::span<const char* const> EnumNames(EPhysics) { return kPhysicsNames; }
inline std::span<const char* const> EnumNames(EStyle) { return kStyleNames; }
inline std::span<const char* const> EnumNames(ELightType) { return kLightTypeNames; }
inline std::span<const char* const> EnumNames(ELightEffect) { return kLightEffectNames; }

// Whether a syntax can fill a field of type M (or the entries of an array M).
template <class M, Syntax S>
constexpr bool Fits() {
    using E = std::remove_extent_t<M>;
    switch (S) {
    case Syntax::None: return true;
    case Syntax::Xyz:
    case Syntax::XyzOrCurrent: return std::is_same_v<E, Vector>;
    case Syntax::PitchYawRoll: return std::is_same_v<E, Rotator>;
    case Syntax::Float: return std::is_same_v<E, float>;
    case Syntax::Int: return std::is_same_v<E, int32_t> || std::is_same_v<E, float> || std::is_same_v<E, uint8_t>;
    case Syntax::Byte:
    case Syntax::Bool: return std::is_same_v<E, uint8_t>;
    case Syntax::Enum: return requires(E e) { EnumNames(e); };
    case Syntax::Text:
    case Syntax::State:
    case Syntax::ClassRef: return std::is_same_v<E, std::string>;
    case Syntax::TextureName: return std::is_same_v<E, Texture*>;
    case Syntax::MeshName: return std::is_same_v<E, Mesh*>;
    }
    return false;
}

// The syntaxes as the rows of the tables name them, so that a row whose syntax does not fit its
// field does not compile.
template <Syntax S>
struct SyntaxTag {};

namespace syntax {
inline constexpr SyntaxTag<Syntax::None> None;
inline constexpr SyntaxTag<Syntax::Xyz> Xyz;
inline constexpr SyntaxTag<Syntax::XyzOrCurrent> XyzOrCurrent;
inline constexpr SyntaxTag<Syntax::PitchYawRoll> PitchYawRoll;
inline constexpr SyntaxTag<Syntax::Float> Float;
inline constexpr SyntaxTag<Syntax::Int> Int;
inline constexpr SyntaxTag<Syntax::Byte> Byte;
inline constexpr SyntaxTag<Syntax::Bool> Bool;
inline constexpr SyntaxTag<Syntax::Enum> Enum;
inline constexpr SyntaxTag<Syntax::Text> Text;
inline constexpr SyntaxTag<Syntax::State> State;
inline constexpr SyntaxTag<Syntax::ClassRef> ClassRef;
inline constexpr SyntaxTag<Syntax::TextureName> TextureName;
inline constexpr SyntaxTag<Syntax::MeshName> MeshName;
} // namespace syntax

// Reading one value by syntax (one that fits the field's type).
void ReadValue(float& field, Syntax how, std::string_view text, World& world);
void ReadValue(int32_t& field, Syntax how, std::string_view text, World& world);
void ReadValue(uint8_t& field, Syntax how, std::string_view text, World& world);
void ReadValue(Vector& field, Syntax how, std::string_view text, World& world);
void ReadValue(Rotator& field, Syntax how, std::string_view text, World& world);
void ReadValue(std::string& field, Syntax how, std::string_view text, World& world);
void ReadValue(Texture*& field, Syntax how, std::string_view text, World& world);
void ReadValue(Mesh*& field, Syntax how, std::string_view text, World& world);

template <class E>
requires std::is_enum_v<E>
void ReadValue(E& field, Syntax, std::string_view text, World&) {
    int32_t value = field;
    ParseEnumValue(text, EnumNames(field), value);
    field = static_cast<E>(value);
}

// A field's value as JSON: numbers, strings, [x,y,z], references by name (null when unset),
// arrays as arrays.
std::string JsonValue(uint8_t value);
std::string JsonValue(int32_t value);
std::string JsonValue(uint32_t value);
std::string JsonValue(uint64_t value);
std::string JsonValue(float value);
std::string JsonValue(const Vector& value);
std::string JsonValue(const Rotator& value);
std::string JsonValue(const std::string& value);
std::string JsonValue(const Texture* texture);
std::string JsonValue(const Mesh* mesh);
std::string JsonValue(const MeshSequence* sequence);
std::string JsonValue(const Actor* actor);
std::string JsonValue(const std::unique_ptr<ActorBrush>& brush); // whether there is one
std::string JsonValue(const Array<Particle>& particles);         // how many are alive or dead

template <class E>
requires std::is_enum_v<E> std::string JsonValue(E value) { return JsonValue(static_cast<int32_t>(value)); }

template <class T>
std::string JsonList(std::span<const T> values) {
    std::string out = "[";
    for (const T& value : values) {
        out += (out.size() > 1 ? "," : "") + JsonValue(value);
    }
    return out + "]";
}

template <class T, size_t N>
std::string JsonValue(const T (&values)[N]) {
    return JsonList(std::span<const T>(values, N));
}

template <class T>
std::string JsonValue(const Array<T>& values) {
    return JsonList(std::span<const T>(values.Data(), static_cast<size_t>(values.Num())));
}

class Field {
public:
    // A field's own reading, where its syntax does not say it all (Location moves the actor, the
    // mesh is read only once) or where it is computed from fields read before it.
    using Reader = void (*)(Actor& actor, const Field& row);

    // Run-time state that no property fills: dumped, never read.
    template <class C, class M>
    Field(std::string_view name, M C::*member) : Name(name) {
        Bind<C, Syntax::None>(member);
    }
    // Filled from its property by syntax; an array member from "Name(0)" .. "Name(N-1)". With
    // absent text the property is read through GetPropertyOr, else through GetProperty.
    template <class C, class M, Syntax S>
    Field(std::string_view name, M C::*member, SyntaxTag<S>, const char* absent = nullptr)
        : Name(name), How(S), Absent(absent) {
        Bind<C, S>(member);
    }
    template <class C, class M, Syntax S>
    Field(std::string_view name, M C::*member, SyntaxTag<S>, Reader read) : Name(name), How(S), read_(read) {
        Bind<C, S>(member);
    }
    // A field that lies inside a member (one part of one entry of an array), reached through a
    // function that returns it.
    template <class C, class M, Syntax S>
    Field(std::string_view name, M& (*part)(C&), SyntaxTag<S>) : Name(name), How(S) {
        Bind<C, S>(part);
    }

    std::string_view Name; // the property's name and the dump's key
    Syntax How = Syntax::None;
    const char* Absent = nullptr; // the text when the property is absent, or kUnchanged
    int Count = 1;                // entries of an array member

    // "Name" for a single field, "Name(i)" for an entry of an array.
    std::string Key(int index) const;
    // The property's text for one entry, absent text applied.
    std::string Text(const Actor& actor, int index = 0) const;
    void Read(Actor& actor) const;
    // The field's value as JSON.
    std::string Json(const Actor& actor) const { return json_(actor); }
    // Where the field lies in the actor's record.
    std::span<const std::byte> Storage(const Actor& actor) const { return storage_(actor); }

private:
    template <class C, Syntax S, class Get>
    void Bind(Get get) {
        // The record is only read through the const actor; the accessor wants it non-const.
        auto field = [get](const Actor& a) -> auto& {
            return std::invoke(get, static_cast<C&>(const_cast<Actor&>(a)));
        };
        using M = std::remove_reference_t<decltype(field(std::declval<const Actor&>()))>;
        static_assert(Fits<M, S>(), "the row's syntax cannot fill its field");
        if constexpr (std::is_array_v<M>) {
            Count = static_cast<int>(std::extent_v<M>);
        }
        if constexpr (S != Syntax::None) {
            assign_ = [field](Actor& a, int index, std::string_view text) {
                if constexpr (std::is_array_v<M>) {
                    ReadValue(field(a)[index], S, text, a.GetWorld());
                } else {
                    ReadValue(field(a), S, text, a.GetWorld());
                }
            };
        }
        json_ = [field](const Actor& a) { return JsonValue(field(a)); };
        storage_ = [field](const Actor& a) {
            return std::span<const std::byte>(reinterpret_cast<const std::byte*>(&field(a)), sizeof(M));
        };
    }

    Reader read_ = nullptr;
    std::function<void(Actor&, int, std::string_view)> assign_; // empty for run-time state
    std::function<std::string(const Actor&)> json_;
    std::function<std::span<const std::byte>(const Actor&)> storage_;
};

// One engine class's fields: its parent class's, then its own rows, read in that order.
struct ClassFields {
    const ClassFields* Parent = nullptr;
    std::span<const Field> Rows;
};

const ClassFields& FieldsOf(EngineClass engineClass);

// Every row of the actor's class, parent classes first: the order of reading and of the dump.
void ForEachField(const Actor& actor, const std::function<void(const Field&)>& visit);

} // namespace orv
