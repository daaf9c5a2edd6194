// Reading property tags and writing their values as T3D text.
#include "Properties.h"

#include "core/Text.h"

#include <cstdio>

namespace orv {

namespace {

// Size codes 0 to 4 of a tag's info byte; 5, 6 and 7 say a byte, a word or an int follows.
constexpr size_t kFixedSizes[5] = {1, 2, 4, 12, 16};
constexpr uint8_t kTypeMask = 0x0F;
constexpr uint8_t kArrayFlag = 0x80;

std::string FloatText(float f) {
    char text[64];
    std::snprintf(text, sizeof(text), "%f", static_cast<double>(f));
    return text;
}

std::string VectorText(ObjectReader& r) {
    const Vector v = r.Vec();
    return "(X=" + FloatText(v.X) + ",Y=" + FloatText(v.Y) + ",Z=" + FloatText(v.Z) + ")";
}

std::string RotatorText(ObjectReader& r) {
    const int32_t pitch = r.I32(), yaw = r.I32(), roll = r.I32();
    return "(Pitch=" + std::to_string(pitch) + ",Yaw=" + std::to_string(yaw) + ",Roll=" + std::to_string(roll) + ")";
}

std::string QuotedText(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
        }
        quoted.push_back(c);
    }
    return quoted + "\"";
}

std::optional<std::string> StructText(const Package& package, const PropertyTag& tag, ObjectReader& r) {
    const std::string& s = tag.StructName;
    if (SameText(s, "Vector") && tag.Size == 12) {
        return VectorText(r);
    }
    if (SameText(s, "Rotator") && tag.Size == 12) {
        return RotatorText(r);
    }
    if (SameText(s, "Color") && tag.Size == 4) {
        const uint8_t red = r.U8(), green = r.U8(), blue = r.U8(), alpha = r.U8();
        return "(R=" + std::to_string(red) + ",G=" + std::to_string(green) + ",B=" + std::to_string(blue) +
               ",A=" + std::to_string(alpha) + ")";
    }
    if (SameText(s, "Scale") && tag.Size == 17) {
        const std::string scale = VectorText(r);
        const float sheerRate = r.F32();
        const uint8_t sheerAxis = r.U8();
        return "(Scale=" + scale + ",SheerRate=" + FloatText(sheerRate) + ",SheerAxis=" + std::to_string(sheerAxis) + ")";
    }
    if (SameText(s, "PointRegion")) {
        const int32_t zone = r.Index();
        package.CheckRef(zone, r);
        const int32_t leaf = r.I32();
        const uint8_t number = r.U8();
        return "(Zone=" + ObjectRefText(package, zone) + ",iLeaf=" + std::to_string(leaf) +
               ",ZoneNumber=" + std::to_string(number) + ")";
    }
    return std::nullopt;
}

} // namespace

PropertyList PropertyList::Read(ObjectReader& r) {
    PropertyList list;
    list.context_ = r.Context();
    for (;;) {
        PropertyTag tag;
        tag.Name = r.Name();
        if (SameText(tag.Name, "None")) {
            return list;
        }
        const size_t infoAt = r.Offset();
        const uint8_t info = r.U8();
        const uint8_t type = info & kTypeMask;
        if (type == 0) {
            r.FailAt("property " + tag.Name + " has no type", infoAt);
        }
        tag.Type = static_cast<PropertyType>(type);
        if (tag.Type == PropertyType::Struct) {
            tag.StructName = r.Name();
        }
        switch ((info >> 4) & 7) {
        case 5: tag.Size = r.U8(); break;
        case 6: tag.Size = r.U16(); break;
        case 7: {
            const int32_t size = r.I32();
            if (size < 0) {
                r.FailAt("property " + tag.Name + " has a negative size", infoAt);
            }
            tag.Size = size_t(size);
            break;
        }
        default: tag.Size = kFixedSizes[(info >> 4) & 7]; break;
        }
        if (tag.Type == PropertyType::Bool) {
            tag.BoolValue = (info & kArrayFlag) != 0;
            tag.Size = 0; // the value is the flag; no bytes follow
        } else if (info & kArrayFlag) {
            const uint8_t b = r.U8();
            if (!(b & 0x80)) {
                tag.ArrayIndex = b;
            } else if ((b & 0xC0) == 0x80) {
                tag.ArrayIndex = ((b & 0x7F) << 8) | r.U8();
            } else {
                const uint8_t b1 = r.U8(), b2 = r.U8(), b3 = r.U8();
                tag.ArrayIndex = ((b & 0x3F) << 24) | (b1 << 16) | (b2 << 8) | b3;
            }
        }
        tag.ValueOffset = r.Offset();
        if (tag.Size > r.Remaining()) {
            r.FailAt("property " + tag.Name + " runs past the object's end", infoAt);
        }
        r.Skip(tag.Size);
        list.tags_.push_back(std::move(tag));
    }
}

const PropertyTag* PropertyList::Find(std::string_view name, int32_t arrayIndex) const {
    for (const PropertyTag& t : tags_) {
        if (t.ArrayIndex == arrayIndex && SameText(t.Name, name)) {
            return &t;
        }
    }
    return nullptr;
}

ObjectReader ValueReader(const Package& package, const PropertyTag& tag) {
    return ObjectReader(package, "property " + tag.Name, tag.ValueOffset, tag.ValueOffset + tag.Size);
}

namespace {

const PropertyTag* Typed(const PropertyList& list, const Package& package, std::string_view name, PropertyType type,
                         size_t size) {
    const PropertyTag* tag = list.Find(name);
    if (tag && (tag->Type != type || (size != 0 && tag->Size != size))) {
        ValueReader(package, *tag).Fail("property " + tag->Name + " has an unexpected type or size");
    }
    return tag;
}

} // namespace

std::optional<int32_t> PropertyList::Int(const Package& package, std::string_view name) const {
    const PropertyTag* tag = Typed(*this, package, name, PropertyType::Int, 4);
    return tag ? std::optional(ValueReader(package, *tag).I32()) : std::nullopt;
}

std::optional<float> PropertyList::Float(const Package& package, std::string_view name) const {
    const PropertyTag* tag = Typed(*this, package, name, PropertyType::Float, 4);
    return tag ? std::optional(ValueReader(package, *tag).F32()) : std::nullopt;
}

std::optional<uint8_t> PropertyList::Byte(const Package& package, std::string_view name) const {
    const PropertyTag* tag = Typed(*this, package, name, PropertyType::Byte, 1);
    return tag ? std::optional(ValueReader(package, *tag).U8()) : std::nullopt;
}

bool PropertyList::Bool(std::string_view name, bool otherwise) const {
    const PropertyTag* tag = Find(name);
    return tag && tag->Type == PropertyType::Bool ? tag->BoolValue : otherwise;
}

std::optional<int32_t> PropertyList::Object(const Package& package, std::string_view name) const {
    const PropertyTag* tag = Typed(*this, package, name, PropertyType::Object, 0);
    if (!tag) {
        return std::nullopt;
    }
    ObjectReader r = ValueReader(package, *tag);
    const int32_t ref = r.Index();
    package.CheckRef(ref, r);
    return ref;
}

std::optional<std::string> PropertyList::NameValue(const Package& package, std::string_view name) const {
    const PropertyTag* tag = Typed(*this, package, name, PropertyType::Name, 0);
    if (!tag) {
        return std::nullopt;
    }
    ObjectReader r = ValueReader(package, *tag);
    return r.Name();
}

std::string ObjectRefText(const Package& package, int32_t ref) {
    if (ref == 0) {
        return "None";
    }
    return package.ClassName(ref) + "'" + package.QualifiedName(ref) + "'";
}

std::optional<std::string> PropertyText(const Package& package, const PropertyTag& tag) {
    ObjectReader r = ValueReader(package, tag);
    // Values of fixed size whose tag says another size are left out rather than misread.
    const size_t fixedSize = tag.Type == PropertyType::Byte ? 1
                             : tag.Type == PropertyType::Int || tag.Type == PropertyType::Float ? 4
                             : tag.Type == PropertyType::Vector || tag.Type == PropertyType::Rotator ? 12
                                                                                                   : tag.Size;
    if (tag.Size != fixedSize) {
        return std::nullopt;
    }
    switch (tag.Type) {
    case PropertyType::Byte: return std::to_string(r.U8());
    case PropertyType::Int: return std::to_string(r.I32());
    case PropertyType::Bool: return tag.BoolValue ? "True" : "False";
    case PropertyType::Float: return FloatText(r.F32());
    case PropertyType::Object:
    case PropertyType::Class: {
        const int32_t ref = r.Index();
        package.CheckRef(ref, r);
        return ObjectRefText(package, ref);
    }
    case PropertyType::Name: return QuotedText(r.Name());
    case PropertyType::String: {
        const auto bytes = r.Bytes(tag.Size);
        std::string text(bytes.begin(), bytes.end());
        return QuotedText(text.substr(0, text.find('\0')));
    }
    case PropertyType::Str: return QuotedText(r.String());
    case PropertyType::Vector: return VectorText(r);
    case PropertyType::Rotator: return RotatorText(r);
    case PropertyType::Struct: return StructText(package, tag, r);
    default: return std::nullopt;
    }
}

} // namespace orv
