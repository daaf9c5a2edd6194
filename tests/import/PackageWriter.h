// A small writer of Unreal packages for the importer's tests: tables, compact indices and
// property tags, laid out as the game's files are.
#pragma once

#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

// The bytes of one object (or anything else), little-endian.
struct Bytes {
    std::vector<uint8_t> Data;
    Bytes& U8(uint8_t v) { Data.push_back(v); return *this; }
    Bytes& I32(int32_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)).U8(uint8_t(v >> 16)).U8(uint8_t(uint32_t(v) >> 24)); }
    Bytes& F32(float v);
    Bytes& Vec(const Vector& v) { return F32(v.X).F32(v.Y).F32(v.Z); }
    Bytes& Index(int32_t v); // compact index
    Bytes& Raw(const std::vector<uint8_t>& bytes) { Data.insert(Data.end(), bytes.begin(), bytes.end()); return *this; }
};

class PackageWriter {
public:
    explicit PackageWriter(int version = 69) : version_(version) {}
    int32_t Name(const std::string& name); // its index, added when new
    int32_t Import(const std::string& classPackage, const std::string& className, int32_t outer, const std::string& name);
    int32_t Class(const std::string& name) { return Import("Core", "Class", 0, name); }
    int32_t Export(int32_t classRef, int32_t outer, const std::string& name, const Bytes& data);

    // A tag with its value: the size code picked from the size, the array index in its 1, 2 or
    // 4 byte form; a bool's value rides in the array bit.
    void Tag(Bytes& b, const std::string& name, uint8_t type, const Bytes& value, int32_t arrayIndex = 0,
             const std::string& structName = "");
    void BoolTag(Bytes& b, const std::string& name, bool value) { b.Index(Name(name)).U8(uint8_t(3 | (value ? 0x80 : 0))); }
    void EndTags(Bytes& b) { b.Index(Name("None")); }

    std::vector<uint8_t> Write() const;

private:
    struct Object {
        int32_t A = 0, B = 0, Outer = 0, Name = 0;
        std::vector<uint8_t> Data;
    };
    int version_;
    std::vector<std::string> names_;
    std::vector<Object> imports_, exports_;
};

} // namespace orv::test
