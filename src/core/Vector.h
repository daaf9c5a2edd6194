// World-space vectors in Unreal units, Z up: Vector of three 32-bit floats, what the engine stores
// and draws, and DVector of three doubles, for geometry whose float rounding would show.
#pragma once

#include <cmath>

namespace orv {

struct Vector {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;

    constexpr Vector() = default;
    constexpr Vector(float x, float y, float z) : X(x), Y(y), Z(z) {}

    constexpr Vector operator+(const Vector& o) const { return {X + o.X, Y + o.Y, Z + o.Z}; }
    constexpr Vector operator-(const Vector& o) const { return {X - o.X, Y - o.Y, Z - o.Z}; }
    constexpr Vector operator-() const { return {-X, -Y, -Z}; }
    constexpr Vector operator*(float s) const { return {X * s, Y * s, Z * s}; }
    constexpr Vector operator/(float s) const { return {X / s, Y / s, Z / s}; }
    constexpr Vector& operator+=(const Vector& o) { X += o.X; Y += o.Y; Z += o.Z; return *this; }
    constexpr Vector& operator-=(const Vector& o) { X -= o.X; Y -= o.Y; Z -= o.Z; return *this; }
    constexpr Vector& operator*=(float s) { X *= s; Y *= s; Z *= s; return *this; }
    constexpr bool operator==(const Vector&) const = default;
};

constexpr Vector operator*(float s, const Vector& v) { return v * s; }

// Component-wise product, used for per-axis scales.
constexpr Vector Scale3(const Vector& a, const Vector& b) { return {a.X * b.X, a.Y * b.Y, a.Z * b.Z}; }

constexpr float Dot(const Vector& a, const Vector& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

constexpr Vector Cross(const Vector& a, const Vector& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

float Length(const Vector& v);
float LengthSquared(const Vector& v);

// Unit vector in the direction of v; the zero vector stays zero.
Vector Normal(const Vector& v);

// Double precision for the level compiler, which works in double until it writes the Level Model,
// and for collision's swept ellipsoids, whose quadratics lose their roots in float.
struct DVector {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;

    constexpr DVector() = default;
    constexpr DVector(double x, double y, double z) : X(x), Y(y), Z(z) {}
    explicit constexpr DVector(const Vector& v) : X(v.X), Y(v.Y), Z(v.Z) {}

    constexpr DVector operator+(const DVector& o) const { return {X + o.X, Y + o.Y, Z + o.Z}; }
    constexpr DVector operator-(const DVector& o) const { return {X - o.X, Y - o.Y, Z - o.Z}; }
    constexpr DVector operator-() const { return {-X, -Y, -Z}; }
    constexpr DVector operator*(double s) const { return {X * s, Y * s, Z * s}; }
    constexpr DVector& operator+=(const DVector& o) { X += o.X; Y += o.Y; Z += o.Z; return *this; }
    constexpr bool operator==(const DVector&) const = default;

    constexpr double operator[](int axis) const { return axis == 0 ? X : (axis == 1 ? Y : Z); }
    constexpr Vector ToFloat() const { return {static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z)}; }
};

constexpr double Dot(const DVector& a, const DVector& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

constexpr DVector Cross(const DVector& a, const DVector& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

inline double Length(const DVector& v) { return std::sqrt(Dot(v, v)); }

// Unit vector in the direction of v; the zero vector stays zero. Named apart from Normal so that
// Normal({x, y, z}) keeps meaning the float one.
inline DVector Normalized(const DVector& v) {
    const double len = Length(v);
    return len > 0.0 ? v * (1.0 / len) : DVector{};
}

} // namespace orv
