// The camera of the player: eye height, the view kick of ViewFlash[0] and the horizontal field
// of view from the configured vertical one.
#include "render/Camera.h"

#include "world/ActorClasses.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

TEST(Camera, EyeRotationKickAndFieldOfView) {
    PlayerPawn player;
    player.Location = {10, 20, 30};
    player.EyeHeight = 27.5f;
    player.Rotation = {-1000, 16384, 300};
    CameraValues c = ComputeCamera(player, 640, 480, 90.0f);
    EXPECT_EQ(c.Eye, Vector(10, 20, 57.5f));
    EXPECT_EQ(c.Pitch, -1000);
    EXPECT_EQ(c.Yaw, 16384);
    EXPECT_EQ(c.Roll, 300);
    EXPECT_NEAR(c.FieldOfView, 2.0 * std::atan(4.0 / 3.0), 1e-6); // 106.26 degrees across
    // A quarter of ViewFlash[0] tilts the view up by 1024 units; nothing at zero or below.
    player.ViewFlash[0] = 0.25f;
    EXPECT_EQ(ComputeCamera(player, 640, 480, 90.0f).Pitch, -1000 + 1024);
    player.ViewFlash[0] = 0.0001f;
    EXPECT_EQ(ComputeCamera(player, 640, 480, 90.0f).Pitch, -1000); // rounds to no kick
    player.ViewFlash[0] = -0.5f;
    EXPECT_EQ(ComputeCamera(player, 640, 480, 90.0f).Pitch, -1000);
    // Wider screens see more across for the same vertical field of view.
    EXPECT_NEAR(HorizontalFieldOfView(1280, 720, 75.0f), 2.0 * std::atan(16.0 / 9.0 * std::tan(75.0 * 3.14159265 / 360.0)), 1e-5);
    EXPECT_NEAR(HorizontalFieldOfView(480, 480, 60.0f), 60.0 * 3.14159265 / 180.0, 1e-5);
}

} // namespace
} // namespace orv
