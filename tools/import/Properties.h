// Tagged properties of package objects: the list every object begins with, ending at "None", and
// the text the engine's T3D reader takes for each value.
#pragma once

#include "Package.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

enum class PropertyType : uint8_t {
    Byte = 1,
    Int = 2,
    Bool = 3,
    Float = 4,
    Object = 5,
    Name = 6,
    String = 7, // fixed-size, zero-terminated
    Class = 8,
    Array = 9,
    Struct = 10,
    Vector = 11,
    Rotator = 12,
    Str = 13, // length-prefixed
    Map = 14,
    FixedArray = 15,
};

struct PropertyTag {
    std::string Name;
    PropertyType Type = PropertyType::Byte;
    std::string StructName; // for Struct
    int32_t ArrayIndex = 0;
    bool BoolValue = false;
    size_t ValueOffset = 0; // where the value's bytes begin in the file
    size_t Size = 0;        // and how many there are
};

class PropertyList {
public:
    // Reads tags up to and including "None"; the reader ends just after it.
    static PropertyList Read(ObjectReader& reader);

    const std::vector<PropertyTag>& Tags() const { return tags_; }
    const PropertyTag* Find(std::string_view name, int32_t arrayIndex = 0) const;

    // Typed values; nothing when the property is absent. A value of the wrong type or size is an
    // ImportError at its offset.
    std::optional<int32_t> Int(const Package& package, std::string_view name) const;
    std::optional<float> Float(const Package& package, std::string_view name) const;
    std::optional<uint8_t> Byte(const Package& package, std::string_view name) const;
    bool Bool(std::string_view name, bool otherwise = false) const;
    std::optional<int32_t> Object(const Package& package, std::string_view name) const;
    std::optional<std::string> NameValue(const Package& package, std::string_view name) const;

private:
    std::vector<PropertyTag> tags_;
    std::string context_;
};

// A reader over one tag's value bytes.
ObjectReader ValueReader(const Package& package, const PropertyTag& tag);

// An object reference as the editor writes it: Class'Package.Group.Name', or None.
std::string ObjectRefText(const Package& package, int32_t ref);

// The value as T3D text (numbers, True/False, quoted names and strings, object references,
// (X=...) structs); nothing for values the engine has no syntax for (dynamic arrays, maps,
// unknown structs).
std::optional<std::string> PropertyText(const Package& package, const PropertyTag& tag);

} // namespace orv
