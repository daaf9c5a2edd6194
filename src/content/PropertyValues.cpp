// Property value syntaxes.
#include "content/PropertyValues.h"

#include "core/Text.h"

#include <cctype>
#include <optional>

namespace orv {

const char* const kPhysicsNames[12] = {"phys_none",     "phys_walking",       "phys_falling",      "phys_swimming",
                                       "phys_flying",   "phys_rotating",      "phys_projectile",   "phys_rolling",
                                       "phys_interpolating", "phys_movingbrush", "phys_spider", "phys_trailer"};
const char* const kStyleNames[6] = {"sty_none", "sty_normal", "sty_masked", "sty_translucent", "sty_modulated", "sty_alphablend"};
const char* const kLightEffectNames[20] = {
    "le_none",         "le_torchwaver", "le_firewaver", "le_wateryshimmer", "le_searchlight", "le_slowwave",  "le_fastwave",
    "le_cloudcast",    "le_staticspot", "le_shock",     "le_disco",         "le_warp",        "le_spotlight", "le_nonincidence",
    "le_shell",        "le_omnibumpmap", "le_interference", "le_cylinder",  "le_rotor",       "le_sunlight"};
const char* const kLightTypeNames[10] = {"",         "lt_steady",        "lt_pulse",
                                         "lt_blink", "lt_flicker",       "lt_strobe",
                                         "lt_backdroplight", "lt_subtlepulse", "lt_texturepaletteonce",
                                         "lt_texturepaletteloop"};

namespace {

// Splits "(A=1,B=2)" into trimmed pieces and hands each "KEY=number" to set. Text shorter than
// the two parentheses has no pieces.
template <typename Set>
void ForEachPiece(std::string_view text, Set set) {
    if (text.size() < 2) {
        return;
    }
    const std::string_view inner = text.substr(1, text.size() - 2);
    for (std::string_view piece : SplitText(inner, ',')) {
        set(TrimBlanks(piece));
    }
}

// The text after key when piece starts with it (any case), else nothing.
std::optional<std::string_view> AfterKey(std::string_view piece, std::string_view key) {
    if (!StartsWithText(piece, key)) {
        return std::nullopt;
    }
    return piece.substr(key.size());
}

bool IsDecimalInteger(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

Vector ParseVectorValue(std::string_view text) {
    Vector v;
    ForEachPiece(text, [&v](std::string_view piece) {
        if (const auto x = AfterKey(piece, "X=")) {
            v.X = ParseFloat(*x);
        } else if (const auto y = AfterKey(piece, "Y=")) {
            v.Y = ParseFloat(*y);
        } else if (const auto z = AfterKey(piece, "Z=")) {
            v.Z = ParseFloat(*z);
        }
    });
    return v;
}

Vector ParseVectorOrCurrent(std::string_view text, const Vector& current) {
    const std::string lower = ToLowerAscii(text);
    Vector v = current;
    float* components[3] = {&v.X, &v.Y, &v.Z};
    const char* keys[3] = {"x=", "y=", "z="};
    for (int i = 0; i < 3; ++i) {
        const size_t at = lower.find(keys[i]);
        if (at == std::string::npos) {
            continue;
        }
        std::string_view rest = std::string_view(lower).substr(at + std::string_view(keys[i]).size());
        const size_t end = rest.find_first_of(",)");
        *components[i] = ParseFloat(end == std::string_view::npos ? rest : rest.substr(0, end));
    }
    return v;
}

Rotator ParseRotatorValue(std::string_view text) {
    Rotator r;
    ForEachPiece(text, [&r](std::string_view piece) {
        if (const auto pitch = AfterKey(piece, "Pitch=")) {
            r.Pitch = ParseInt(*pitch);
        } else if (const auto yaw = AfterKey(piece, "Yaw=")) {
            r.Yaw = ParseInt(*yaw);
        } else if (const auto roll = AfterKey(piece, "Roll=")) {
            r.Roll = ParseInt(*roll);
        }
    });
    return r;
}

bool HasNonFiniteNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
        return IsNonFiniteNumber(text);
    }
    bool found = false;
    ForEachPiece(text, [&found](std::string_view piece) {
        const size_t equals = piece.find('=');
        found = found || IsNonFiniteNumber(equals == std::string_view::npos ? piece : piece.substr(equals + 1));
    });
    return found;
}

std::string ParseStateValue(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') { // two quotes, not one
        return std::string(text.substr(1, text.size() - 2));
    }
    return std::string(text);
}

std::string ParseClassRefValue(std::string_view text) {
    const size_t dot = text.find_last_of('.');
    std::string_view name = dot == std::string_view::npos ? text : text.substr(dot + 1);
    if (!name.empty() && name.back() == '\'') {
        name.remove_suffix(1);
    }
    return std::string(name);
}

bool ParseEnumValue(std::string_view text, std::span<const char* const> names, int32_t& field) {
    const std::string lower = ToLowerAscii(text);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i][0] != '\0' && lower == names[i]) {
            field = static_cast<int32_t>(i);
            return true;
        }
    }
    if (IsDecimalInteger(lower)) {
        const int32_t value = ParseInt(lower);
        if (value >= 0 && static_cast<size_t>(value) < names.size()) {
            field = value;
            return true;
        }
    }
    return false;
}

} // namespace orv
