// Case-blind text, line helpers and decimal conversions.
#include "core/Text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orv {

namespace {

unsigned char LowerByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the numeric prefix of text starting at i (sign, digits, fraction, exponent), or 0
// when there are no mantissa digits. allowFraction false reads an integer prefix only.
size_t NumericPrefix(std::string_view text, size_t i, bool allowFraction) {
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (allowFraction && i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i - start;
}

size_t SkipLeadingBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    return i;
}

} // namespace

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!SameByte(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

size_t FindText(std::string_view haystack, std::string_view needle, size_t from) {
    if (needle.empty()) {
        return from <= haystack.size() ? from : std::string_view::npos;
    }
    if (needle.size() > haystack.size()) {
        return std::string_view::npos;
    }
    const unsigned char first = static_cast<unsigned char>(needle[0]);
    for (size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        if (SameByte(static_cast<unsigned char>(haystack[i]), first) &&
            SameText(haystack.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = LowerByte(static_cast<unsigned char>(a[i]));
        const unsigned char cb = LowerByte(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool LessTextNoCase(std::string_view a, std::string_view b) {
    const int c = CompareTextNoCase(a, b);
    return c != 0 ? c < 0 : a < b; // exact bytes break ties, so the order is total
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - ('a' - 'A'));
        }
    }
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> SplitText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::string_view TextAfter(std::string_view line, std::string_view key) {
    const size_t at = FindText(line, key);
    if (at == std::string_view::npos) {
        return {};
    }
    return line.substr(at + key.size());
}

std::string_view TextBetween(std::string_view line, std::string_view key, std::string_view delimiters) {
    const size_t at = FindText(line, key);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view rest = line.substr(at + key.size());
    const size_t end = rest.find_first_of(delimiters);
    return end == std::string_view::npos ? rest : rest.substr(0, end);
}

int ParseVectorLine(std::string_view line, Vector& out) {
    out = {};
    while (!line.empty() && line.front() == '\t') {
        line.remove_prefix(1);
    }
    while (!line.empty() && line.back() == '\t') {
        line.remove_suffix(1);
    }
    const size_t gap = line.find_first_of(" \t");
    if (gap == std::string_view::npos) {
        return 0;
    }
    const std::string_view rest = TrimSpaces(line.substr(gap + 1));
    if (rest.empty()) {
        return 0;
    }
    const std::vector<std::string_view> pieces = SplitText(rest, ',');
    float* components[3] = {&out.X, &out.Y, &out.Z};
    int count = 0;
    for (size_t i = 0; i < pieces.size() && i < 3; ++i) {
        const std::string_view piece = TrimBlanks(pieces[i]);
        if (IsNonFiniteNumber(piece)) {
            continue;
        }
        *components[i] = ParseFloat(piece);
        ++count;
    }
    return count;
}

double ParseDouble(std::string_view text) {
    const size_t start = SkipLeadingBlanks(text);
    const size_t len = NumericPrefix(text, start, true);
    if (len == 0) {
        return 0.0;
    }
    std::string_view number = text.substr(start, len);
    if (number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large keeps its sign at the largest finite value.
        const bool negative = number.front() == '-';
        size_t mantissaEnd = number.find_first_of("eE");
        const std::string_view exponent =
            mantissaEnd == std::string_view::npos ? std::string_view{} : number.substr(mantissaEnd + 1);
        const bool tiny = !exponent.empty() && exponent.front() == '-';
        if (tiny) {
            return negative ? -0.0 : 0.0;
        }
        return negative ? -DBL_MAX : DBL_MAX;
    }
    return value;
}

float ParseFloat(std::string_view text) {
    const double v = ParseDouble(text);
    if (v > FLT_MAX) {
        return FLT_MAX;
    }
    if (v < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(v);
}

int32_t ParseInt(std::string_view text) {
    const size_t start = SkipLeadingBlanks(text);
    const size_t len = NumericPrefix(text, start, false);
    if (len == 0) {
        return 0;
    }
    std::string_view number = text.substr(start, len);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-') {
        number.remove_prefix(1);
    }
    int64_t value = 0;
    for (char c : number) {
        value = value * 10 + (c - '0');
        if (value > int64_t{1} << 32) {
            break; // already beyond any 32-bit value; the clamp below decides
        }
    }
    if (negative) {
        value = -value;
    }
    value = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(value);
}

bool IsNonFiniteNumber(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        t.remove_prefix(1);
    }
    if (SameText(t, "inf") || SameText(t, "infinity") || SameText(t, "nan")) {
        return true;
    }
    const double v = ParseDouble(t);
    return v > FLT_MAX || v < -FLT_MAX;
}

uint8_t ParseByte(std::string_view text) { return static_cast<uint8_t>(static_cast<uint32_t>(ParseInt(text)) & 0xFFu); }

bool ParseBool(std::string_view text) {
    if (SameText(text, "false")) {
        return false;
    }
    if (SameText(text, "true")) {
        return true;
    }
    return ParseDouble(text) != 0.0;
}

std::string FormatFloat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    std::string out = buffer;
    if (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    return out;
}

std::string FormatFloatExact(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return buffer;
}

} // namespace orv
