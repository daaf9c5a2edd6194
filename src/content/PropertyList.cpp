// Property lookups with the "(0)" rule.
#include "content/PropertyList.h"

#include "core/Text.h"

namespace orv {

namespace {
const std::string kEmpty;
// The index that names the same property as the bare key.
constexpr std::string_view kIndexZero = "(0)";
}

std::string_view StripIndexZero(std::string_view key) {
    if (key.ends_with(kIndexZero)) {
        key.remove_suffix(kIndexZero.size());
    }
    return key;
}

const std::string* PropertyList::Find(std::string_view key) const {
    key = StripIndexZero(key);
    for (const PropertyPair& p : Pairs) {
        if (SameText(p.Key, key)) {
            return &p.Value;
        }
    }
    return nullptr;
}

const std::string& PropertyList::Get(std::string_view key) const {
    const std::string* value = Find(key);
    return value ? *value : kEmpty;
}

std::string PropertyList::GetOr(std::string_view key, std::string_view fallback) const {
    const std::string* value = Find(key);
    return value ? *value : std::string(fallback);
}

void PropertyList::Set(std::string_view key, std::string_view value) {
    key = StripIndexZero(key);
    for (PropertyPair& p : Pairs) {
        if (SameText(p.Key, key)) {
            p.Value = std::string(value);
            return;
        }
    }
    Pairs.Add(PropertyPair{std::string(key), std::string(value)});
}

void PropertyList::Append(std::string_view key, std::string_view value) {
    Pairs.Add(PropertyPair{std::string(key), std::string(value)});
}

} // namespace orv
