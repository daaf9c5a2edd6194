// The package writer of the importer's tests.
#include "PackageWriter.h"

#include <cstring>

namespace orv::test {

Bytes& Bytes::F32(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, sizeof(bits));
    return I32(bits);
}

Bytes& Bytes::Index(int32_t v) {
    uint64_t magnitude = v < 0 ? uint64_t(-int64_t(v)) : uint64_t(v);
    const uint8_t first = uint8_t((v < 0 ? 0x80 : 0) | (magnitude & 0x3F));
    magnitude >>= 6;
    U8(uint8_t(first | (magnitude ? 0x40 : 0)));
    for (; magnitude; magnitude >>= 7) {
        U8(uint8_t((magnitude & 0x7F) | (magnitude >> 7 ? 0x80 : 0)));
    }
    return *this;
}

int32_t PackageWriter::Name(const std::string& name) {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            return int32_t(i);
        }
    }
    names_.push_back(name);
    return int32_t(names_.size() - 1);
}

int32_t PackageWriter::Import(const std::string& classPackage, const std::string& className, int32_t outer,
                              const std::string& name) {
    imports_.push_back({Name(classPackage), Name(className), outer, Name(name), {}});
    return -int32_t(imports_.size());
}

int32_t PackageWriter::Export(int32_t classRef, int32_t outer, const std::string& name, const Bytes& data) {
    exports_.push_back({classRef, 0, outer, Name(name), data.Data});
    return int32_t(exports_.size());
}

void PackageWriter::Tag(Bytes& b, const std::string& name, uint8_t type, const Bytes& value, int32_t arrayIndex,
                        const std::string& structName) {
    const size_t size = value.Data.size();
    const uint8_t code = size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : size == 12 ? 3 : size == 16 ? 4 : size < 256 ? 5 : 6;
    b.Index(Name(name)).U8(uint8_t(type | (code << 4) | (arrayIndex > 0 ? 0x80 : 0)));
    if (!structName.empty()) {
        b.Index(Name(structName));
    }
    if (code >= 5) {
        (code == 6 ? b.U8(uint8_t(size)) : b).U8(uint8_t(code == 6 ? size >> 8 : size));
    }
    if (arrayIndex >= 0x4000) {
        b.U8(uint8_t(0xC0 | (arrayIndex >> 24))).U8(uint8_t(arrayIndex >> 16)).U8(uint8_t(arrayIndex >> 8)).U8(uint8_t(arrayIndex));
    } else if (arrayIndex >= 0x80) {
        b.U8(uint8_t(0x80 | (arrayIndex >> 8))).U8(uint8_t(arrayIndex));
    } else if (arrayIndex > 0) {
        b.U8(uint8_t(arrayIndex));
    }
    b.Raw(value.Data);
}

std::vector<uint8_t> PackageWriter::Write() const {
    const size_t header = version_ >= 68 ? 64 : 44; // a GUID and one generation, or the heritage table
    Bytes body, names, imports, exports;
    for (const Object& e : exports_) {
        exports.Index(e.A).Index(e.B).I32(e.Outer).Index(e.Name).I32(0).Index(int32_t(e.Data.size()));
        if (!e.Data.empty()) {
            exports.Index(int32_t(header + body.Data.size()));
        }
        body.Raw(e.Data);
    }
    for (const std::string& n : names_) {
        (version_ >= 64 ? names.Index(int32_t(n.size() + 1)) : names).Raw({n.begin(), n.end()}).U8(0).I32(0);
    }
    for (const Object& i : imports_) {
        imports.Index(i.A).Index(i.B).I32(i.Outer).Index(i.Name);
    }
    const size_t nameAt = header + body.Data.size(), importAt = nameAt + names.Data.size();
    Bytes file;
    file.I32(int32_t(0x9E2A83C1u)).U8(uint8_t(version_)).U8(0).U8(0).U8(0).I32(1).I32(int32_t(names_.size())).I32(int32_t(nameAt));
    file.I32(int32_t(exports_.size())).I32(int32_t(importAt + imports.Data.size())).I32(int32_t(imports_.size())).I32(int32_t(importAt));
    file.Raw(std::vector<uint8_t>(header - file.Data.size(), 0));
    return file.Raw(body.Data).Raw(names.Data).Raw(imports.Data).Raw(exports.Data).Data;
}

} // namespace orv::test
