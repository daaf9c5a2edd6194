// The engine's one growable collection: a vector whose every index is checked. An index
// outside 0..Num()-1 ends the program through FatalError, naming the caller's file and line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <source_location>
#include <type_traits>
#include <utility>
#include <vector>

namespace orv {

// Where an index was written. Clang before 15 cannot make std::source_location over libstdc++,
// so the fuzz build (clang 14) gets the same file and line from the builtins themselves.
#if defined(__cpp_lib_source_location)
using SourcePlace = std::source_location;
#else
struct SourcePlace {
    static constexpr SourcePlace current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE()) {
        return {file, line};
    }
    constexpr const char* file_name() const { return File; }
    constexpr unsigned line() const { return Line; }
    const char* File = "";
    unsigned Line = 0;
};
#endif

[[noreturn]] void ArrayIndexError(long long index, size_t count, const SourcePlace& where);

// An index that remembers where it was written, so a failed check can say where.
struct ArrayIndex {
    long long Value;
    SourcePlace Where;

    template <typename I>
        requires std::is_integral_v<I>
    ArrayIndex(I value, SourcePlace where = SourcePlace::current())
        : Value(static_cast<long long>(value)), Where(where) {
        if constexpr (std::is_unsigned_v<I> && sizeof(I) >= sizeof(long long)) {
            if (value > static_cast<I>(INT64_MAX)) {
                Value = -1;
            }
        }
    }
};

template <typename T>
class Array {
public:
    Array() = default;
    Array(std::initializer_list<T> items) : items_(items) {}

    int Num() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    bool IsValidIndex(long long i) const { return i >= 0 && i < static_cast<long long>(items_.size()); }

    T& operator[](ArrayIndex i) { return items_[Check(i)]; }
    const T& operator[](ArrayIndex i) const { return items_[Check(i)]; }

    T& Last(SourcePlace where = SourcePlace::current()) {
        return items_[Check(ArrayIndex(static_cast<long long>(items_.size()) - 1, where))];
    }

    // Appends and returns the new element's index.
    int Add(const T& item) { items_.push_back(item); return Num() - 1; }
    int Add(T&& item) { items_.push_back(std::move(item)); return Num() - 1; }
    template <typename... Args>
    T& Emplace(Args&&... args) { return items_.emplace_back(std::forward<Args>(args)...); }

    // Removes one element; the later ones move up by one.
    void RemoveAt(ArrayIndex i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(Check(i))); }
    void InsertAt(ArrayIndex i, T item) {
        if (i.Value != static_cast<long long>(items_.size())) {
            Check(i);
        }
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(i.Value), std::move(item));
    }

    void Clear() { items_.clear(); }
    void Reserve(int n) { items_.reserve(static_cast<size_t>(n > 0 ? n : 0)); }
    void Resize(int n) { items_.resize(static_cast<size_t>(n > 0 ? n : 0)); }

    T* Data() { return items_.data(); }
    const T* Data() const { return items_.data(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    std::vector<T>& Std() { return items_; }
    const std::vector<T>& Std() const { return items_; }

private:
    size_t Check(const ArrayIndex& i) const {
        if (i.Value < 0 || i.Value >= static_cast<long long>(items_.size())) {
            ArrayIndexError(i.Value, items_.size(), i.Where);
        }
        return static_cast<size_t>(i.Value);
    }

    std::vector<T> items_;
};

} // namespace orv
