// Builds one JSON object on one line, for the --dump output: keys in the order written, floats
// printed so that they read back to the same value.
#pragma once

#include "core/Rotator.h"
#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class JsonLine {
public:
    JsonLine& Add(std::string_view key, std::string_view text);
    JsonLine& Add(std::string_view key, const char* text) { return Add(key, std::string_view(text)); }
    JsonLine& Add(std::string_view key, const std::string& text) { return Add(key, std::string_view(text)); }
    JsonLine& Add(std::string_view key, int64_t value);
    JsonLine& Add(std::string_view key, int32_t value) { return Add(key, int64_t{value}); }
    JsonLine& Add(std::string_view key, uint32_t value) { return Add(key, int64_t{value}); }
    JsonLine& Add(std::string_view key, uint64_t value);
    JsonLine& AddByte(std::string_view key, uint8_t value) { return Add(key, int64_t{value}); }
    JsonLine& Add(std::string_view key, bool value);
    JsonLine& Add(std::string_view key, float value);
    JsonLine& Add(std::string_view key, double value);
    JsonLine& Add(std::string_view key, const Vector& v);
    JsonLine& Add(std::string_view key, const Rotator& r);
    JsonLine& AddNull(std::string_view key);
    // A raw, already valid JSON value.
    JsonLine& AddRaw(std::string_view key, std::string_view json);

    std::string Finish() const { return text_ + "}"; }

    static std::string Quote(std::string_view text);
    static std::string Number(double value, bool singlePrecision);

private:
    void Key(std::string_view key);
    std::string text_ = "{";
};

} // namespace orv
