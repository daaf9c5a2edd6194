// The value syntaxes of actor properties: how a property's text becomes a vector, rotator,
// enumeration value, state name or class reference.
#pragma once

#include "core/Rotator.h"
#include "core/Vector.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// "(X=1,Y=2,Z=3)": the first and last characters are dropped, the rest split at ",", each piece
// trimmed; pieces starting with "X=", "Y=", "Z=" (any case) set that component; others stay 0.
Vector ParseVectorValue(std::string_view text);

// Lower-cased, each of "x=", "y=", "z=" found anywhere gives its component (the number up to the
// next "," or ")"); components not found keep current. Nested forms like a scale with a sheer
// part still give X, Y and Z.
Vector ParseVectorOrCurrent(std::string_view text, const Vector& current);

// As a vector, with "Pitch=", "Yaw=", "Roll=" and integer components.
Rotator ParseRotatorValue(std::string_view text);

// Whether a property's text is, or holds as a "(K=v,...)" component, a number that is not a
// finite float (IsNonFiniteNumber): "inf", "NaN", "1e999", "(X=1,Y=-inf,Z=0)".
bool HasNonFiniteNumber(std::string_view text);

// One pair of surrounding double quotes removed when the text is at least two characters long.
std::string ParseStateValue(std::string_view text);

// An object reference (a kind word, then a package-qualified name in single quotes) reduced to the
// part after its last ".", with a trailing "'" removed.
std::string ParseClassRefValue(std::string_view text);

// The lower-cased text equals one of the names (index = value) or is the value's decimal number:
// field takes it and true is returned. Anything else leaves field unchanged.
bool ParseEnumValue(std::string_view text, std::span<const char* const> names, int32_t& field);

extern const char* const kPhysicsNames[12];
extern const char* const kStyleNames[6];
extern const char* const kLightEffectNames[20];
extern const char* const kLightTypeNames[10]; // value 0 has no name (only "0" selects it)

} // namespace orv
