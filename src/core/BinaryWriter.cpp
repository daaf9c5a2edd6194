// Little-endian writing.
#include "core/BinaryWriter.h"

#include "core/Vfs.h"

#include <cstring>

namespace orv {

void BinaryWriter::U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
}

void BinaryWriter::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        U8(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void BinaryWriter::U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        U8(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void BinaryWriter::F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
}

void BinaryWriter::F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U64(bits);
}

void BinaryWriter::String(std::string_view text) {
    Bytes(text.data(), text.size());
    U8(0);
}

void BinaryWriter::Bytes(const void* data, size_t count) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
}

bool BinaryWriter::SaveTo(std::string_view path) const {
    return WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
}

} // namespace orv
