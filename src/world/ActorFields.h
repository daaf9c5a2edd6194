// The rows that describe an engine class's record: for each field, the property that fills it
// (if any), how the property's text reads, and the member that holds it. One table per class
// (ClassFields.cpp) drives ApplyProperties and the --dump line, so a field is written once.
#pragma once

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
    Float,
    Int,         // 32-bit signed; also into a float or a byte field
    Byte,        // the integer kept in 8 bits
    Bool,        // "True", "False" or a number
    Enum,        // a value's name or number; anything else leaves the field unchanged
    Text,        // as written
    State,       // as written, less one pair of surrounding double quotes
    ClassRef,    // "Class'Package.Name'" reduced to Name
    TextureName, // a level texture; empty text, or a texture that falls back, leaves the field unchanged
    MeshName,    // a mesh by reference; empty text gives the fallback mesh
};

// The absent text of a row whose field keeps its value when the property is absent or empty.
inline constexpr char kUnchanged[] = "<unchanged>";

// Reading one value by syntax; false when the syntax does not fit the field's type.
bool ReadValue(float& field, Syntax how, std::string_view text, World& world);
bool ReadValue(int32_t& field, Syntax how, std::string_view text, World& world);
bool ReadValue(uint8_t& field, Syntax how, std::string_view text, World& world);
bool ReadValue(Vector& field, Syntax how, std::string_view text, World& world);
bool ReadValue(Rotator& field, Syntax how, std::string_view text, World& world);
bool ReadValue(std::string& field, Syntax how, std::string_view text, World& world);
bool ReadValue(Texture*& field, Syntax how, std::string_view text, World& world);
bool ReadValue(Mesh*& field, Syntax how, std::string_view text, World& world);
template <class T>
bool ReadValue(T&, Syntax, std::string_view, World&) {
    return false; // run-time state of a type that no property fills
}

// The names of each enumeration's values in property text, by number.
std::span<const char* const> EnumNames(EPhysics);
std::span<const char* const> EnumNames(EStyle);
std::span<const char* const> EnumNames(ELightType);
std::span<const char* const> EnumNames(ELightEffect);
bool ReadEnumValue(int32_t& value, Syntax how, std::string_view text, std::span<const char* const> names);

template <class E>
requires std::is_enum_v<E>
bool ReadValue(E& field, Syntax how, std::string_view text, World&) {
    if constexpr (requires { EnumNames(field); }) {
        int32_t value = field;
        const bool fits = ReadEnumValue(value, how, text, EnumNames(field));
        field = static_cast<E>(value);
        return fits;
    } else {
        return false;
    }
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

    // Filled from its property by syntax (Syntax::None: run-time state, dumped but never read).
    // An array member reads "Name(0)" .. "Name(N-1)". With absent text the property is read
    // through GetPropertyOr, else through GetProperty.
    template <class C, class M>
    Field(std::string_view name, M C::*member, Syntax syntax = Syntax::None, const char* absent = nullptr)
        : Name(name), How(syntax), Absent(absent) {
        Bind<C>(member);
    }
    template <class C, class M>
    Field(std::string_view name, M C::*member, Syntax syntax, Reader read) : Name(name), How(syntax), read_(read) {
        Bind<C>(member);
    }
    // A field that lies inside a member (one part of one entry of an array), reached through a
    // function that returns it.
    template <class C, class M>
    Field(std::string_view name, M& (*part)(C&), Syntax syntax) : Name(name), How(syntax) {
        Bind<C>(part);
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
    template <class C, class Get>
    void Bind(Get get) {
        // The record is only read through the const actor; the accessor wants it non-const.
        auto field = [get](const Actor& a) -> auto& {
            return std::invoke(get, static_cast<C&>(const_cast<Actor&>(a)));
        };
        using M = std::remove_reference_t<decltype(field(std::declval<const Actor&>()))>;
        if constexpr (std::is_array_v<M>) {
            Count = static_cast<int>(std::extent_v<M>);
        }
        assign_ = [field](Actor& a, int index, Syntax how, std::string_view text) {
            if constexpr (std::is_array_v<M>) {
                return ReadValue(field(a)[index], how, text, a.GetWorld());
            } else {
                return ReadValue(field(a), how, text, a.GetWorld());
            }
        };
        json_ = [field](const Actor& a) { return JsonValue(field(a)); };
        storage_ = [field](const Actor& a) {
            return std::span<const std::byte>(reinterpret_cast<const std::byte*>(&field(a)), sizeof(M));
        };
    }

    Reader read_ = nullptr;
    std::function<bool(Actor&, int, Syntax, std::string_view)> assign_;
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
