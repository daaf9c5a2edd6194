// The camera values and the OpenGL view and projection matrices.
#include "render/Camera.h"

#include "core/Numbers.h"
#include "core/Rotator.h"
#include "world/ActorClasses.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace orv {

namespace {

// A ViewFlash[0] of 1 tilts the view up by this many rotator units (22.5 degrees).
constexpr float kViewKickUnits = 4096.0f;

} // namespace

float HorizontalFieldOfView(int width, int height, float fovDegrees) {
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    return static_cast<float>(2.0 * std::atan(aspect * std::tan(fovDegrees / 360.0 * 2.0 * std::numbers::pi * 0.5)));
}

CameraValues ComputeCamera(const PlayerPawn& player, int width, int height, float fovDegrees) {
    CameraValues camera;
    camera.Eye = player.Location + Vector(0.0f, 0.0f, player.EyeHeight);
    camera.Pitch = player.Rotation.Pitch;
    if (player.ViewFlash[0] > 0.0f) {
        camera.Pitch = WrapAdd(camera.Pitch, SaturateToInt32(std::round(kViewKickUnits * player.ViewFlash[0])));
    }
    camera.Yaw = player.Rotation.Yaw;
    camera.Roll = player.Rotation.Roll;
    camera.FieldOfView = HorizontalFieldOfView(width, height, fovDegrees);
    return camera;
}

void ApplyAxisSwap() {
    static constexpr GLfloat kSwap[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    glMultMatrixf(kSwap);
}

void ApplyCameraRotation(const CameraValues& camera) {
    glRotated(RotatorUnitsToDegrees(camera.Roll), 0.0, -1.0, 0.0);
    glRotated(RotatorUnitsToDegrees(camera.Pitch), 1.0, 0.0, 0.0);
    glRotated(RotatorUnitsToDegrees(camera.Yaw) + 90.0, 0.0, 0.0, -1.0);
}

void ApplyCamera(const CameraValues& camera) {
    ApplyCameraRotation(camera);
    glTranslatef(-camera.Eye.X, -camera.Eye.Y, -camera.Eye.Z);
}

} // namespace orv
