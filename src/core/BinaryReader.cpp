// Bounds-checked little-endian reading.
#include "core/BinaryReader.h"

#include "core/Fatal.h"
#include "core/Vfs.h"

#include <cstring>

namespace orv {

std::string TruncatedFileMessage(std::string_view name, size_t offset) {
    return "Unexpected end of file (" + std::string(name) + ", offset " + std::to_string(offset) + ")";
}

BinaryReader::BinaryReader(std::string name, std::span<const uint8_t> data)
    : name_(std::move(name)), data_(data.data()), size_(data.size()) {}

BinaryReader::BinaryReader(std::string name, std::vector<uint8_t> data)
    : name_(std::move(name)), owned_(std::move(data)), data_(owned_.data()), size_(owned_.size()) {}

BinaryReader::BinaryReader(BinaryReader&& other) noexcept { *this = std::move(other); }

BinaryReader& BinaryReader::operator=(BinaryReader&& other) noexcept {
    if (this != &other) {
        const bool ownsData = other.data_ == other.owned_.data();
        name_ = std::move(other.name_);
        owned_ = std::move(other.owned_);
        data_ = ownsData ? owned_.data() : other.data_;
        size_ = other.size_;
        offset_ = other.offset_;
        other.data_ = nullptr;
        other.size_ = 0;
        other.offset_ = 0;
    }
    return *this;
}

std::optional<BinaryReader> BinaryReader::OpenFile(std::string_view path) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        return std::nullopt;
    }
    return BinaryReader(std::string(path), std::move(bytes));
}

void BinaryReader::FailTruncated(size_t atOffset) const { FatalError(TruncatedFileMessage(name_, atOffset)); }

void BinaryReader::Need(size_t count) const {
    if (count > size_ - offset_) {
        FailTruncated(offset_);
    }
}

void BinaryReader::Seek(size_t offset) {
    if (offset > size_) {
        FailTruncated(size_);
    }
    offset_ = offset;
}

uint8_t BinaryReader::U8() {
    Need(1);
    return data_[offset_++];
}

uint16_t BinaryReader::U16() {
    Need(2);
    const uint16_t v = static_cast<uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return v;
}

uint32_t BinaryReader::U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | data_[offset_ + static_cast<size_t>(i)];
    }
    offset_ += 4;
    return v;
}

uint64_t BinaryReader::U64() {
    Need(8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | data_[offset_ + static_cast<size_t>(i)];
    }
    offset_ += 8;
    return v;
}

float BinaryReader::F32() {
    const uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double BinaryReader::F64() {
    const uint64_t bits = U64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string BinaryReader::String() {
    const void* end = offset_ < size_ ? std::memchr(data_ + offset_, 0, size_ - offset_) : nullptr;
    if (!end) {
        FailTruncated(size_);
    }
    const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(end) - (data_ + offset_));
    std::string s(reinterpret_cast<const char*>(data_ + offset_), length);
    offset_ += length + 1;
    return s;
}

void BinaryReader::Bytes(void* destination, size_t count) {
    Need(count);
    if (count > 0) {
        std::memcpy(destination, data_ + offset_, count);
    }
    offset_ += count;
}

std::span<const uint8_t> BinaryReader::Block(size_t count) {
    Need(count);
    std::span<const uint8_t> block(data_ + offset_, count);
    offset_ += count;
    return block;
}

int32_t BinaryReader::Count(size_t minElementSize) {
    const size_t at = offset_;
    const int32_t count = I32();
    if (count < 0) {
        FailTruncated(at);
    }
    if (minElementSize > 0 && static_cast<uint64_t>(count) * minElementSize > Remaining()) {
        FailTruncated(at);
    }
    return count;
}

} // namespace orv
