// The camera: where the player's eyes are and how the view turns, and the OpenGL matrices that
// put the world in front of the eye (the projection is GlState's SetProjection).
#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace orv {

struct PlayerPawn;

struct CameraValues {
    Vector Eye;          // the pawn's Location raised by its EyeHeight
    int32_t Pitch = 0;   // with the view kick of ViewFlash[0]
    int32_t Yaw = 0;
    int32_t Roll = 0;
    float FieldOfView = 1.5707964f; // horizontal, radians: a quarter turn (pi / 2) until set
};

// The horizontal field of view (radians) of a screen with the vertical one in degrees.
float HorizontalFieldOfView(int width, int height, float fovDegrees);

// The camera of the player: eye position, rotation (a positive ViewFlash[0] tilts the view up by
// 4096 units per unit) and the horizontal field of view.
CameraValues ComputeCamera(const PlayerPawn& player, int width, int height, float fovDegrees);

// Multiplies the model-view matrix by the axis swap that maps Unreal (X, Y, Z) to OpenGL (X, Z, Y).
void ApplyAxisSwap();

// The camera rotation alone (the sky box and the caustics sit at the eye): Roll about (0, -1, 0),
// Pitch about (1, 0, 0), Yaw + 90 degrees about (0, 0, -1).
void ApplyCameraRotation(const CameraValues& camera);

// The rotation and then the translation to the eye.
void ApplyCamera(const CameraValues& camera);

} // namespace orv
