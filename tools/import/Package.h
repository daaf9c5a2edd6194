// The reader of original Unreal package files (versions 61 to 69): header, name, import and export
// tables, compact indices and a bounds-checked cursor over each object's bytes. Every refusal is
// an ImportError naming the file, the object and the byte offset.
#pragma once

#include "core/Vector.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Raised inside the importer for a file it refuses; the importer catches it per file, reports the
// message and goes on with the next file.
struct ImportError {
    std::string Message;
};

constexpr uint32_t kPackageTag = 0x9E2A83C1u;
constexpr int kOldestPackageVersion = 61;
constexpr int kNewestPackageVersion = 69;
// From this version names and strings carry a compact length; before it they end with a zero.
constexpr int kLengthPrefixedNamesVersion = 64;
// From this version the header holds a GUID and generations instead of the heritage table.
constexpr int kGenerationsVersion = 68;
// Object flag: the object's bytes begin with a script state frame.
constexpr uint32_t kObjectHasStack = 0x02000000u;

struct PackageImport {
    int32_t ClassPackage = 0; // names
    int32_t ClassName = 0;
    int32_t Outer = 0;        // object reference
    int32_t ObjectName = 0;
};

struct PackageExport {
    int32_t Class = 0; // object reference; 0 is a class itself
    int32_t Super = 0;
    int32_t Outer = 0; // object reference; 0 is the package itself
    int32_t ObjectName = 0;
    uint32_t Flags = 0;
    int32_t SerialSize = 0;
    int32_t SerialOffset = 0;
};

class Package;

// A cursor over the bytes of one object (or of a table of the header); reading past its end is
// an ImportError naming the file, the object and the offset.
class ObjectReader {
public:
    ObjectReader(const Package& package, std::string context, size_t begin, size_t end);

    size_t Offset() const { return offset_; }
    size_t End() const { return end_; }
    size_t Remaining() const { return end_ - offset_; }
    void Seek(size_t offset);
    void Skip(size_t count);

    uint8_t U8();
    int16_t I16();
    uint16_t U16() { return static_cast<uint16_t>(I16()); }
    int32_t I32();
    uint32_t U32() { return static_cast<uint32_t>(I32()); }
    uint64_t U64();
    float F32();
    Vector Vec();
    // A compact index: sign and six bits, then seven bits a byte, at most five bytes.
    int32_t Index();
    // A count read as a compact index, refused when negative or when count elements of at least
    // minElementSize bytes each could not fit in what is left.
    int32_t Count(size_t minElementSize);
    // A name index, checked against the name table.
    const std::string& Name();
    // A string: length-prefixed from version 64, zero-terminated before.
    std::string String();
    std::span<const uint8_t> Bytes(size_t count);

    [[noreturn]] void Fail(std::string_view what) const { FailAt(what, offset_); }
    [[noreturn]] void FailAt(std::string_view what, size_t offset) const;

    const Package& Owner() const { return package_; }
    const std::string& Context() const { return context_; }

private:
    void Need(size_t count) const;

    const Package& package_;
    std::string context_;
    size_t offset_;
    size_t end_;
};

class Package {
public:
    // Reads the file's header and tables; an ImportError for anything that does not fit.
    static Package Open(const std::string& path);
    static Package FromBytes(std::string fileName, std::vector<uint8_t> bytes);

    const std::string& FileName() const { return fileName_; }
    // The package's file name without folders and extension.
    const std::string& PackageName() const { return packageName_; }
    // The name its objects are known by: a map's is its level's ("MyLevel"), any other package's
    // is its file name.
    const std::string& OwnName() const { return ownName_; }
    int Version() const { return version_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<PackageImport>& Imports() const { return imports_; }
    const std::vector<PackageExport>& Exports() const { return exports_; }

    // Object references: 0 none, k > 0 export k - 1, k < 0 import -k - 1. Out of range is an
    // ImportError at the reader's place.
    bool IsValidRef(int32_t ref) const;
    void CheckRef(int32_t ref, const ObjectReader& at) const;
    const std::string& ObjectName(int32_t ref) const;
    // The class of the object ("Texture"); "Class" for an export that is a class itself.
    std::string ClassName(int32_t ref) const;
    // Outer chain joined with ".", the package first: "Checkers.Floors.Tile" for an import
    // or export; an export at the top gets OwnName() in front, a map's actors inside its level
    // read "MyLevel.Light3".
    std::string QualifiedName(int32_t ref) const;
    // The export's name and its group path without the package ("Floors.Tile").
    std::string GroupPath(int32_t ref) const;
    // A reader over an export's bytes, after its state frame when it has one.
    ObjectReader OpenExport(int32_t exportIndex) const;
    // Export indices of a class, in table order.
    std::vector<int32_t> ExportsOfClass(std::string_view className) const;

private:
    Package() = default;
    void ReadHeader();

    std::string fileName_;
    std::string packageName_;
    std::string ownName_;
    std::vector<uint8_t> data_;
    int version_ = 0;
    std::vector<std::string> names_;
    std::vector<PackageImport> imports_;
    std::vector<PackageExport> exports_;
};

} // namespace orv
