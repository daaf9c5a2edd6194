// World-space vector of three 32-bit floats in Unreal units; Z is up.
#pragma once

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

} // namespace orv
