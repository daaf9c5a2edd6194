// One-line JSON objects.
#include "core/JsonLine.h"

#include <cmath>
#include <cstdio>

namespace orv {

std::string JsonLine::Quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // Control characters, DEL and bytes beyond ASCII (Latin-1 text) become unicode escapes.
            if (c < 0x20 || c >= 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string JsonLine::Number(double value, bool singlePrecision) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, singlePrecision ? "%.9g" : "%.17g", value);
    return buffer;
}

void JsonLine::Key(std::string_view key) {
    if (text_.size() > 1) {
        text_ += ',';
    }
    text_ += Quote(key);
    text_ += ':';
}

JsonLine& JsonLine::Add(std::string_view key, std::string_view text) {
    Key(key);
    text_ += Quote(text);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, int64_t value) {
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, uint64_t value) {
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, float value) {
    Key(key);
    text_ += Number(value, true);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, double value) {
    Key(key);
    text_ += Number(value, false);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, const Vector& v) {
    Key(key);
    text_ += "[" + Number(v.X, true) + "," + Number(v.Y, true) + "," + Number(v.Z, true) + "]";
    return *this;
}

JsonLine& JsonLine::Add(std::string_view key, const Rotator& r) {
    Key(key);
    text_ += "[" + std::to_string(r.Pitch) + "," + std::to_string(r.Yaw) + "," + std::to_string(r.Roll) + "]";
    return *this;
}

JsonLine& JsonLine::AddNull(std::string_view key) {
    Key(key);
    text_ += "null";
    return *this;
}

JsonLine& JsonLine::AddRaw(std::string_view key, std::string_view json) {
    Key(key);
    text_ += json;
    return *this;
}

} // namespace orv
