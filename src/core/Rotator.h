// Rotations as Pitch, Yaw, Roll in 65536 units per turn, and the plane-by-plane turning
// of vectors that everything in the world (camera, movers, monsters, projectiles) shares.
#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace orv {

constexpr int32_t kRotatorUnitsPerTurn = 65536;

struct Rotator {
    int32_t Pitch = 0;
    int32_t Yaw = 0;
    int32_t Roll = 0;

    constexpr bool operator==(const Rotator&) const = default;
};

// Component-wise sum; never wrapped into 0..65535. The sum is taken modulo 2^32, so an
// endless spin cannot overflow into undefined behaviour.
Rotator AddRotators(const Rotator& a, const Rotator& b);

// Each component times s, rounded to the nearest integer with ties to even.
Rotator ScaleRotator(const Rotator& r, float s);

double RotatorUnitsToRadians(double units);
double RotatorUnitsToDegrees(double units);

// The three planar steps in polar form: the Y-Z plane by angle yz (the angle atan2(z, y)
// decreases), then the X-Z plane by angle xz (atan2(z, x) increases), then the X-Y plane by
// angle xy (atan2(x, y) decreases). Angles are in rotator units; each step stores 32-bit floats.
Vector RotateByAngles(const Vector& v, double yz, double xy, double xz);

// RotateByAngles(v, Roll, Yaw, Pitch): positive Pitch tilts +X up, positive Yaw turns +X
// toward +Y, positive Roll turns +Y toward -Z.
Vector RotateVector(const Vector& v, const Rotator& r);

// The rotator's forward (X), right (Y) and up (Z) axes.
void GetAxes(const Rotator& r, Vector& x, Vector& y, Vector& z);

// Yaw from atan2(y, x); Pitch from asin(z / length) when the length is at least 0.01,
// else 0; Roll 0. Both rounded to the nearest rotator unit.
Rotator DirectionToRotator(const Vector& v);

} // namespace orv
