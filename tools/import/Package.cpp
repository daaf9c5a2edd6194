// Reading the header, the tables and the bytes of objects of an Unreal package.
#include "Package.h"

#include "core/Text.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv {

namespace {

// Outer chains deeper than this are loops: real packages nest a few groups at most.
constexpr int kMaxOuterDepth = 64;
// A compact index has at most five bytes: 6 + 7 + 7 + 7 + 8 bits.
constexpr int kCompactIndexBytes = 5;
// Names and strings longer than this are damage, not text.
constexpr int32_t kMaxStringLength = 1 << 20;

} // namespace

ObjectReader::ObjectReader(const Package& package, std::string context, size_t begin, size_t end)
    : package_(package), context_(std::move(context)), offset_(begin), end_(end) {}

void ObjectReader::FailAt(std::string_view what, size_t offset) const {
    throw ImportError{package_.FileName() + ": " + std::string(what) + " (" + context_ + ", offset " +
                      std::to_string(offset) + ")"};
}

void ObjectReader::Need(size_t count) const {
    if (count > end_ - offset_) {
        FailAt("data ends early", offset_);
    }
}

void ObjectReader::Seek(size_t offset) {
    if (offset > end_) {
        FailAt("position past the end", offset_);
    }
    offset_ = offset;
}

void ObjectReader::Skip(size_t count) {
    Need(count);
    offset_ += count;
}

std::span<const uint8_t> ObjectReader::Bytes(size_t count) {
    Need(count);
    const std::span<const uint8_t> bytes(package_.Data().data() + offset_, count);
    offset_ += count;
    return bytes;
}

uint8_t ObjectReader::U8() { return Bytes(1)[0]; }

int16_t ObjectReader::I16() {
    const auto b = Bytes(2);
    return static_cast<int16_t>(b[0] | (b[1] << 8));
}

int32_t ObjectReader::I32() {
    const auto b = Bytes(4);
    return static_cast<int32_t>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

uint64_t ObjectReader::U64() {
    const uint64_t low = U32();
    return low | (uint64_t(U32()) << 32);
}

float ObjectReader::F32() {
    const uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof(f));
    return f;
}

Vector ObjectReader::Vec() {
    const float x = F32();
    const float y = F32();
    return {x, y, F32()};
}

int32_t ObjectReader::Index() {
    const size_t start = offset_;
    const uint8_t first = U8();
    uint64_t value = first & 0x3Fu;
    if (first & 0x40u) {
        int shift = 6;
        for (int i = 1;; ++i) {
            const uint8_t b = U8();
            const bool last = i == kCompactIndexBytes - 1;
            value |= uint64_t(last ? b : (b & 0x7Fu)) << shift;
            shift += 7;
            if (last || !(b & 0x80u)) {
                break;
            }
        }
    }
    const bool negative = (first & 0x80u) != 0;
    if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) {
        FailAt("compact index out of range", start);
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(value)) : static_cast<int32_t>(value);
}

int32_t ObjectReader::Count(size_t minElementSize) {
    const size_t start = offset_;
    const int32_t count = Index();
    if (count < 0 || (minElementSize > 0 && uint64_t(count) * minElementSize > Remaining())) {
        FailAt("count " + std::to_string(count) + " does not fit", start);
    }
    return count;
}

const std::string& ObjectReader::Name() {
    const size_t start = offset_;
    const int32_t index = Index();
    if (index < 0 || size_t(index) >= package_.Names().size()) {
        FailAt("name index " + std::to_string(index) + " out of range", start);
    }
    return package_.Names()[size_t(index)];
}

std::string ObjectReader::String() {
    const size_t start = offset_;
    if (package_.Version() < kLengthPrefixedNamesVersion) {
        std::string text;
        for (uint8_t c = U8(); c != 0; c = U8()) {
            text.push_back(static_cast<char>(c));
        }
        return text;
    }
    const int32_t length = Index();
    if (length < 0 || length > kMaxStringLength) {
        FailAt("string length " + std::to_string(length) + " out of range", start);
    }
    const auto bytes = Bytes(size_t(length));
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

Package Package::Open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ImportError{path + ": cannot be read"};
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return FromBytes(path, std::move(bytes));
}

Package Package::FromBytes(std::string fileName, std::vector<uint8_t> bytes) {
    Package p;
    p.packageName_ = std::filesystem::path(fileName).stem().string();
    p.fileName_ = std::move(fileName);
    p.data_ = std::move(bytes);
    p.ReadHeader();
    const std::vector<int32_t> levels = p.ExportsOfClass("Level");
    p.ownName_ = levels.empty() ? p.packageName_ : p.ObjectName(levels.front() + 1);
    return p;
}

void Package::ReadHeader() {
    ObjectReader header(*this, "header", 0, data_.size());
    if (header.U32() != kPackageTag) {
        header.FailAt("not an Unreal package (no package tag)", 0);
    }
    version_ = header.U16();
    header.U16(); // licensee
    if (version_ < kOldestPackageVersion || version_ > kNewestPackageVersion) {
        header.FailAt("package version " + std::to_string(version_) + " is not one of 61 to 69", 4);
    }
    header.U32(); // package flags
    const int32_t nameCount = header.I32(), nameOffset = header.I32();
    const int32_t exportCount = header.I32(), exportOffset = header.I32();
    const int32_t importCount = header.I32(), importOffset = header.I32();
    // Each table entry takes at least this many bytes, so a count beyond the file is refused
    // before anything is allocated.
    auto table = [&](int32_t count, int32_t offset, size_t minEntry, const char* what) {
        if (count < 0 || offset < 0 || size_t(offset) > data_.size() ||
            uint64_t(count) * minEntry > data_.size() - size_t(offset)) {
            header.FailAt(std::string(what) + " table out of range", header.Offset());
        }
        return ObjectReader(*this, std::string(what) + " table", size_t(offset), data_.size());
    };
    ObjectReader names = table(nameCount, nameOffset, 5, "name");
    for (int32_t i = 0; i < nameCount; ++i) {
        names_.push_back(names.String());
        names.U32(); // object flags of the name
    }
    ObjectReader imports = table(importCount, importOffset, 7, "import");
    for (int32_t i = 0; i < importCount; ++i) {
        PackageImport im;
        const size_t at = imports.Offset();
        im.ClassPackage = imports.Index();
        im.ClassName = imports.Index();
        im.Outer = imports.I32();
        im.ObjectName = imports.Index();
        for (int32_t n : {im.ClassPackage, im.ClassName, im.ObjectName}) {
            if (n < 0 || n >= nameCount) {
                imports.FailAt("import " + std::to_string(i) + " names a missing name", at);
            }
        }
        imports_.push_back(im);
    }
    ObjectReader exports = table(exportCount, exportOffset, 8, "export");
    for (int32_t i = 0; i < exportCount; ++i) {
        PackageExport ex;
        const size_t at = exports.Offset();
        ex.Class = exports.Index();
        ex.Super = exports.Index();
        ex.Outer = exports.I32();
        ex.ObjectName = exports.Index();
        ex.Flags = exports.U32();
        ex.SerialSize = exports.Index();
        ex.SerialOffset = ex.SerialSize > 0 ? exports.Index() : 0;
        if (ex.ObjectName < 0 || ex.ObjectName >= nameCount) {
            exports.FailAt("export " + std::to_string(i) + " names a missing name", at);
        }
        if (ex.SerialSize < 0 || ex.SerialOffset < 0 || uint64_t(ex.SerialOffset) + uint64_t(ex.SerialSize) > data_.size()) {
            exports.FailAt("export " + std::to_string(i) + " (" + names_[size_t(ex.ObjectName)] + ") lies outside the file", at);
        }
        exports_.push_back(ex);
    }
    // Every reference of the tables must point into them, and outer chains must end.
    auto checkRef = [&](int32_t ref, const std::string& who) {
        if (!IsValidRef(ref)) {
            throw ImportError{fileName_ + ": " + who + " refers to missing object " + std::to_string(ref) + " (header)"};
        }
    };
    for (size_t i = 0; i < imports_.size(); ++i) {
        checkRef(imports_[i].Outer, "import " + names_[size_t(imports_[i].ObjectName)]);
    }
    for (size_t i = 0; i < exports_.size(); ++i) {
        const std::string who = "export " + names_[size_t(exports_[i].ObjectName)];
        checkRef(exports_[i].Class, who);
        checkRef(exports_[i].Super, who);
        checkRef(exports_[i].Outer, who);
    }
    for (int32_t ref = -int32_t(imports_.size()); ref <= int32_t(exports_.size()); ++ref) {
        int depth = 0;
        for (int32_t r = ref; r != 0; r = r > 0 ? exports_[size_t(r - 1)].Outer : imports_[size_t(-r - 1)].Outer) {
            if (++depth > kMaxOuterDepth) {
                throw ImportError{fileName_ + ": object " + ObjectName(ref) + " is inside itself (header)"};
            }
        }
    }
}

bool Package::IsValidRef(int32_t ref) const {
    return ref == 0 || (ref > 0 && size_t(ref) <= exports_.size()) || (ref < 0 && size_t(-int64_t(ref)) <= imports_.size());
}

void Package::CheckRef(int32_t ref, const ObjectReader& at) const {
    if (!IsValidRef(ref)) {
        at.Fail("object reference " + std::to_string(ref) + " out of range");
    }
}

const std::string& Package::ObjectName(int32_t ref) const {
    static const std::string none = "None";
    if (ref > 0) {
        return names_[size_t(exports_[size_t(ref - 1)].ObjectName)];
    }
    if (ref < 0) {
        return names_[size_t(imports_[size_t(-ref - 1)].ObjectName)];
    }
    return none;
}

std::string Package::ClassName(int32_t ref) const {
    if (ref > 0) {
        const int32_t cls = exports_[size_t(ref - 1)].Class;
        return cls == 0 ? "Class" : ObjectName(cls);
    }
    if (ref < 0) {
        return names_[size_t(imports_[size_t(-ref - 1)].ClassName)];
    }
    return "None";
}

std::string Package::GroupPath(int32_t ref) const {
    std::string path = ObjectName(ref);
    for (int32_t r = ref > 0 ? exports_[size_t(ref - 1)].Outer : 0; r > 0; r = exports_[size_t(r - 1)].Outer) {
        path = ObjectName(r) + "." + path;
    }
    return path;
}

std::string Package::QualifiedName(int32_t ref) const {
    if (ref > 0) {
        // A map's actors live inside its Level object, which already stands for the package.
        int32_t top = ref;
        while (exports_[size_t(top - 1)].Outer > 0) {
            top = exports_[size_t(top - 1)].Outer;
        }
        return SameText(ClassName(top), "Level") ? GroupPath(ref) : ownName_ + "." + GroupPath(ref);
    }
    std::string path = ObjectName(ref);
    for (int32_t r = ref < 0 ? imports_[size_t(-ref - 1)].Outer : 0; r != 0;
         r = r < 0 ? imports_[size_t(-r - 1)].Outer : exports_[size_t(r - 1)].Outer) {
        path = ObjectName(r) + "." + path;
    }
    return path;
}

ObjectReader Package::OpenExport(int32_t exportIndex) const {
    const PackageExport& ex = exports_[size_t(exportIndex)];
    ObjectReader reader(*this, "object " + ObjectName(exportIndex + 1), size_t(ex.SerialOffset),
                        size_t(ex.SerialOffset) + size_t(ex.SerialSize));
    if (ex.Flags & kObjectHasStack) {
        const int32_t node = reader.Index();
        reader.Index(); // state node
        reader.U64();   // probe mask
        reader.U32();   // latent action
        if (node != 0) {
            reader.Index(); // code offset
        }
    }
    return reader;
}

std::vector<int32_t> Package::ExportsOfClass(std::string_view className) const {
    std::vector<int32_t> found;
    for (size_t i = 0; i < exports_.size(); ++i) {
        if (SameText(ClassName(int32_t(i) + 1), className)) {
            found.push_back(int32_t(i));
        }
    }
    return found;
}

} // namespace orv
