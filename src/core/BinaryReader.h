// Little-endian reader over a whole file in memory. It never reads past the end: a short
// file ends the program through FatalError naming the file and the byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class BinaryReader {
public:
    // Reads over bytes owned by the caller, which must outlive the reader.
    BinaryReader(std::string name, std::span<const uint8_t> data);
    // Reads over bytes the reader owns.
    BinaryReader(std::string name, std::vector<uint8_t> data);

    // The file's bytes through the case-blind file system, or nothing when it is missing.
    static std::optional<BinaryReader> OpenFile(std::string_view path);

    BinaryReader(BinaryReader&&) noexcept;
    BinaryReader& operator=(BinaryReader&&) noexcept;
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    const std::string& Name() const { return name_; }
    size_t Offset() const { return offset_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - offset_; }
    bool AtEnd() const { return offset_ >= size_; }
    // Moves to an absolute offset, which may equal the size.
    void Seek(size_t offset);

    uint8_t U8();
    int8_t I8() { return static_cast<int8_t>(U8()); }
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64();
    int64_t I64() { return static_cast<int64_t>(U64()); }
    float F32();
    double F64();

    // A zero-terminated string; the terminator must be inside the file.
    std::string String();
    void Bytes(void* destination, size_t count);
    std::span<const uint8_t> Block(size_t count);

    // A 32-bit element count that must be non-negative and leave room for count elements of at
    // least minElementSize bytes each; anything else is a truncated file.
    int32_t Count(size_t minElementSize);

    // Fails as a short file would at the current offset.
    [[noreturn]] void FailTruncated(size_t atOffset) const;

private:
    void Need(size_t count) const;

    std::string name_;
    std::vector<uint8_t> owned_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t offset_ = 0;
};

// The one message of a file that ends before its contents say it should.
std::string TruncatedFileMessage(std::string_view name, size_t offset);

} // namespace orv
