// The package writer of the importer's tests.
#include "PackageWriter.h"

#include <cstring>

namespace orv::test {

Bytes& Bytes::U8(uint8_t v) {
    Data.push_back(v);
    return *this;
}

Bytes& Bytes::I16(int16_t v) { return U8(uint8_t(v)).U8(uint8_t(uint16_t(v) >> 8)); }

Bytes& Bytes::I32(int32_t v) {
    for (int i = 0; i < 4; ++i) {
        U8(uint8_t(uint32_t(v) >> (8 * i)));
    }
    return *this;
}

Bytes& Bytes::F32(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, sizeof(bits));
    return I32(bits);
}

Bytes& Bytes::Index(int32_t v) {
    uint64_t magnitude = v < 0 ? uint64_t(-int64_t(v)) : uint64_t(v);
    uint8_t first = uint8_t((v < 0 ? 0x80 : 0) | (magnitude & 0x3F));
    magnitude >>= 6;
    U8(uint8_t(first | (magnitude ? 0x40 : 0)));
    while (magnitude) {
        const uint8_t b = uint8_t(magnitude & 0x7F);
        magnitude >>= 7;
        U8(uint8_t(b | (magnitude ? 0x80 : 0)));
    }
    return *this;
}

Bytes& Bytes::Raw(const std::vector<uint8_t>& bytes) {
    Data.insert(Data.end(), bytes.begin(), bytes.end());
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
    imports_.push_back({Name(classPackage), Name(className), outer, Name(name), 0, {}});
    return -int32_t(imports_.size());
}

int32_t PackageWriter::Export(int32_t classRef, int32_t outer, const std::string& name, const Bytes& data, uint32_t flags) {
    exports_.push_back({classRef, 0, outer, Name(name), flags, data.Data});
    return int32_t(exports_.size());
}

void PackageWriter::Tag(Bytes& b, const std::string& name, uint8_t type, const Bytes& value, int32_t arrayIndex,
                        const std::string& structName) {
    const size_t size = value.Data.size();
    uint8_t code = size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : size == 12 ? 3 : size == 16 ? 4 : size < 256 ? 5 : size < 65536 ? 6 : 7;
    b.Index(Name(name)).U8(uint8_t(type | (code << 4) | (arrayIndex > 0 ? 0x80 : 0)));
    if (!structName.empty()) {
        b.Index(Name(structName));
    }
    if (code == 5) {
        b.U8(uint8_t(size));
    } else if (code == 6) {
        b.I16(int16_t(size));
    } else if (code == 7) {
        b.I32(int32_t(size));
    }
    if (arrayIndex > 0) {
        if (arrayIndex < 0x80) {
            b.U8(uint8_t(arrayIndex));
        } else if (arrayIndex < 0x4000) {
            b.U8(uint8_t(0x80 | (arrayIndex >> 8))).U8(uint8_t(arrayIndex));
        } else {
            b.U8(uint8_t(0xC0 | (arrayIndex >> 24))).U8(uint8_t(arrayIndex >> 16)).U8(uint8_t(arrayIndex >> 8)).U8(uint8_t(arrayIndex));
        }
    }
    b.Raw(value.Data);
}

void PackageWriter::BoolTag(Bytes& b, const std::string& name, bool value) {
    b.Index(Name(name)).U8(uint8_t(3 | (value ? 0x80 : 0)));
}

std::vector<uint8_t> PackageWriter::Write() const {
    const size_t headerSize = version_ >= 68 ? 36 + 16 + 4 + 8 : 36 + 8;
    Bytes body;
    std::vector<size_t> offsets;
    for (const Object& e : exports_) {
        offsets.push_back(headerSize + body.Data.size());
        body.Raw(e.Data);
    }
    const size_t nameOffset = headerSize + body.Data.size();
    for (const std::string& n : names_) {
        if (version_ >= 64) {
            body.Index(int32_t(n.size() + 1));
        }
        for (char c : n) {
            body.U8(uint8_t(c));
        }
        body.U8(0).I32(0);
    }
    const size_t importOffset = headerSize + body.Data.size();
    for (const Object& i : imports_) {
        body.Index(i.A).Index(i.B).I32(i.Outer).Index(i.Name);
    }
    const size_t exportOffset = headerSize + body.Data.size();
    for (size_t k = 0; k < exports_.size(); ++k) {
        const Object& e = exports_[k];
        body.Index(e.A).Index(e.B).I32(e.Outer).Index(e.Name).I32(int32_t(e.Flags)).Index(int32_t(e.Data.size()));
        if (!e.Data.empty()) {
            body.Index(int32_t(offsets[k]));
        }
    }
    Bytes file;
    file.I32(int32_t(0x9E2A83C1u)).I16(int16_t(version_)).I16(0).I32(1);
    file.I32(int32_t(names_.size())).I32(int32_t(nameOffset)).I32(int32_t(exports_.size())).I32(int32_t(exportOffset));
    file.I32(int32_t(imports_.size())).I32(int32_t(importOffset));
    if (version_ >= 68) {
        file.Raw(std::vector<uint8_t>(16, 0x5A)).I32(1).I32(int32_t(exports_.size())).I32(int32_t(names_.size()));
    } else {
        file.I32(0).I32(0);
    }
    file.Raw(body.Data);
    return file.Data;
}

} // namespace orv::test
