// Byte-string helpers shared by every text reader: the case-blind compare, line helpers and
// the plain decimal conversions (an empty or malformed number reads as 0).
#pragma once

#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Two bytes are equal when they differ at most in bit 0x20 (ASCII case-blind; it also pairs
// a few punctuation marks such as '[' and '{').
constexpr bool SameByte(unsigned char a, unsigned char b) { return (a & 0xDF) == (b & 0xDF); }
bool SameText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view text, std::string_view prefix);
bool EndsWithText(std::string_view text, std::string_view suffix);

// Position of the first case-blind occurrence of needle at or after from, or npos.
size_t FindText(std::string_view haystack, std::string_view needle, size_t from = 0);

// Ordering for sorted listings: bytes compared after ASCII lower-casing.
int CompareTextNoCase(std::string_view a, std::string_view b);
bool LessTextNoCase(std::string_view a, std::string_view b);

std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);

// Removes the space character only (not tabs) from both ends.
std::string_view TrimSpaces(std::string_view text);
// Removes spaces, tabs, CR and LF from both ends.
std::string_view TrimBlanks(std::string_view text);

std::vector<std::string_view> SplitText(std::string_view text, char separator);

// All text after the first case-blind occurrence of key, or empty when it is absent.
std::string_view TextAfter(std::string_view line, std::string_view key);

// The text after key up to, not including, the first byte that is one of delimiters (or to the
// end of the line); empty when the key is absent.
std::string_view TextBetween(std::string_view line, std::string_view key, std::string_view delimiters);

// A keyword line such as "Vertex  +00128.000000,-00064.000000,+00000.000000": tabs removed from
// both ends, the text after the first space (or tab), split at "," into three trimmed numbers.
// Returns how many of the three numbers were present and finite (IsNonFiniteNumber counts as
// missing); missing ones are 0.
int ParseVectorLine(std::string_view line, Vector& out);

// Decimal readers: the longest numeric prefix (leading blanks skipped, optional sign, digits,
// fraction and exponent). No digits reads as 0. Values beyond the type's range are clamped.
double ParseDouble(std::string_view text);
float ParseFloat(std::string_view text);
int32_t ParseInt(std::string_view text);
// Whether text that reads as a number stands for one that is not a finite float: "inf",
// "infinity" or "nan" in any case (with an optional sign), or a decimal number beyond the float
// range such as "1e999". ParseFloat reads the words as 0 and the large numbers as the largest
// float; a reader that must refuse them asks here first.
bool IsNonFiniteNumber(std::string_view text);
// The integer kept in 8 bits: "300" gives 44, "-1" gives 255.
uint8_t ParseByte(std::string_view text);
// "true"/"false" in any case; otherwise the number is non-zero; empty is false.
bool ParseBool(std::string_view text);

// "%.7g" with a trailing "." removed: the way numbers are written back to text.
std::string FormatFloat(double value);
// A float written so that it reads back to exactly the same value ("%.9g").
std::string FormatFloatExact(float value);

} // namespace orv
