// Rotator arithmetic and the polar, plane-by-plane vector rotation.
#include "core/Rotator.h"

#include "core/Numbers.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace orv {

namespace {

// Turns the pair (a, b), seen as a point at angle atan2(b, a), by delta radians.
void TurnPair(float& a, float& b, double delta) {
    const double len = std::sqrt(double(a) * a + double(b) * b);
    const double angle = std::atan2(double(b), double(a)) + delta;
    a = static_cast<float>(len * std::cos(angle));
    b = static_cast<float>(len * std::sin(angle));
}

} // namespace

Rotator AddRotators(const Rotator& a, const Rotator& b) {
    return {static_cast<int32_t>(static_cast<uint32_t>(a.Pitch) + static_cast<uint32_t>(b.Pitch)),
            static_cast<int32_t>(static_cast<uint32_t>(a.Yaw) + static_cast<uint32_t>(b.Yaw)),
            static_cast<int32_t>(static_cast<uint32_t>(a.Roll) + static_cast<uint32_t>(b.Roll))};
}

Rotator ScaleRotator(const Rotator& r, float s) {
    // nearbyint rounds to nearest, ties to even, in the default rounding mode.
    return {SaturateToInt32(std::nearbyint(double(r.Pitch) * s)),
            SaturateToInt32(std::nearbyint(double(r.Yaw) * s)),
            SaturateToInt32(std::nearbyint(double(r.Roll) * s))};
}

double RotatorUnitsToRadians(double units) { return units / kRotatorUnitsPerTurn * 2.0 * std::numbers::pi; }

double RotatorUnitsToDegrees(double units) { return units * 360.0 / kRotatorUnitsPerTurn; }

Vector RotateByAngles(const Vector& v, double yz, double xy, double xz) {
    Vector r = v;
    // Y-Z plane: the angle atan2(z, y) decreases by yz.
    TurnPair(r.Y, r.Z, -RotatorUnitsToRadians(yz));
    // X-Z plane: the angle atan2(z, x) increases by xz.
    TurnPair(r.X, r.Z, RotatorUnitsToRadians(xz));
    // X-Y plane: the angle atan2(x, y) decreases by xy; x = len sin, y = len cos.
    TurnPair(r.Y, r.X, -RotatorUnitsToRadians(xy));
    return r;
}

Vector RotateVector(const Vector& v, const Rotator& r) { return RotateByAngles(v, r.Roll, r.Yaw, r.Pitch); }

void GetAxes(const Rotator& r, Vector& x, Vector& y, Vector& z) {
    x = RotateVector({1, 0, 0}, r);
    y = RotateVector({0, 1, 0}, r);
    z = RotateVector({0, 0, 1}, r);
}

Rotator DirectionToRotator(const Vector& v) {
    constexpr double kUnitsPerRadian = kRotatorUnitsPerTurn / (2.0 * std::numbers::pi);
    Rotator r;
    r.Yaw = SaturateToInt32(std::nearbyint(std::atan2(double(v.Y), double(v.X)) * kUnitsPerRadian));
    const double len = std::sqrt(double(v.X) * v.X + double(v.Y) * v.Y + double(v.Z) * v.Z);
    if (len >= 0.01) {
        double s = double(v.Z) / len;
        s = s > 1.0 ? 1.0 : (s < -1.0 ? -1.0 : s);
        r.Pitch = SaturateToInt32(std::nearbyint(std::asin(s) * kUnitsPerRadian));
    }
    return r;
}

} // namespace orv
