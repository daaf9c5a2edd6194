// An actor's (or a class's default) properties as ordered text pairs. Keys compare
// case-blind, and a key ending in "(0)" is the same key as the bare name.
#pragma once

#include "core/Array.h"

#include <string>
#include <string_view>

namespace orv {

struct PropertyPair {
    std::string Key;
    std::string Value;
};

class PropertyList {
public:
    // The value of the first pair with this key, or empty text.
    const std::string& Get(std::string_view key) const;
    // The same, but fallback when the key is absent (a present empty value is returned as is).
    std::string GetOr(std::string_view key, std::string_view fallback) const;
    const std::string* Find(std::string_view key) const;
    // Replaces the first match's value in place, or appends the pair.
    void Set(std::string_view key, std::string_view value);
    // Appends without looking for an earlier pair (class defaults keep repeated keys).
    void Append(std::string_view key, std::string_view value);

    int Num() const { return Pairs.Num(); }
    void Clear() { Pairs.Clear(); }

    Array<PropertyPair> Pairs;
};

// The key without a trailing "(0)".
std::string_view StripIndexZero(std::string_view key);

} // namespace orv
