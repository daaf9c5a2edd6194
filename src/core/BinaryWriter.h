// Little-endian writer for the engine's own binary formats (tools and tests write them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

class BinaryWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
    void U16(uint16_t v);
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U64(uint64_t v);
    void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
    void F32(float v);
    void F64(double v);
    // The text and its zero terminator.
    void String(std::string_view text);
    void Bytes(const void* data, size_t count);

    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

    // Writes everything to a file through the case-blind file system.
    bool SaveTo(std::string_view path) const;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace orv
