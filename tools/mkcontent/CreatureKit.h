// Shared pieces of the creature meshes: the biped rig with its library of motions (idle,
// walk, aim, melee swings, deaths) and the skin painters.
#pragma once

#include "MeshModel.h"

#include <string>

namespace orv {

// Regions of a creature's skin page.
namespace skin {
constexpr SkinRect kHide{0, 0, 127, 127};
constexpr SkinRect kBelly{128, 0, 191, 63};
constexpr SkinRect kFace{192, 0, 255, 63};
constexpr SkinRect kLimb{128, 64, 255, 127};
constexpr SkinRect kArmour{0, 128, 127, 191};
constexpr SkinRect kBone{128, 128, 159, 159};
constexpr SkinRect kGlow{160, 128, 191, 159};
constexpr SkinRect kDark{192, 128, 255, 191};
constexpr SkinRect kMembrane{0, 192, 255, 255};
} // namespace skin

struct SkinPalette {
    Rgba Hide, HideDark, Belly, Limb, Armour, Bone, Glow, Membrane;
    float Stripes = 0.0f; // darker bands across the hide
    float Spots = 0.0f;   // lighter blotches
    bool FaceEyes = true;
};

// A 256 x 256 skin page painted region by region from the palette, with the face (eyes and a
// mouth facing +X) on the face region.
Image PaintCreatureSkin(const SkinPalette& palette, const std::string& seedName);

// Bone indices of a biped.
struct BipedRig {
    int Pelvis, Spine, Head, Jaw;
    int LShoulder, LElbow, RShoulder, RElbow;
    int LHip, LKnee, LAnkle, RHip, RKnee, RAnkle;
};

struct BipedShape {
    float Pelvis = -6, SpineUp = 14, NeckUp = 26, NeckForward = 12;
    float ShoulderWidth = 28, ShoulderUp = 20, UpperArm = 22, Forearm = 24;
    float HipWidth = 13, Thigh = 20, Shin = 20;
};

BipedRig AddBipedBones(MeshModel& model, const BipedShape& shape);

// Motions; each returns a pose for t in [0, 1) of its sequence.
Pose BipedIdle(const Pose& rest, const BipedRig& r, float t, float hunch);
Pose BipedWalk(const Pose& rest, const BipedRig& r, float t, float stride, float lean);
// Both forearms raised to aim forward, each kicking back at its recoil time (negative: none).
void BipedAim(Pose& pose, const BipedRig& r, float t, float leftRecoil, float rightRecoil, float low);
Pose BipedOverhead(const Pose& rest, const BipedRig& r, float t, bool right);
Pose BipedSweep(const Pose& rest, const BipedRig& r, float t, bool right);
Pose BipedJab(const Pose& rest, const BipedRig& r, float t, bool right);
Pose BipedLunge(const Pose& rest, const BipedRig& r, float t);
Pose BipedSpin(const Pose& rest, const BipedRig& r, float t);
// Four ways to die: backward, forward, to the side after the knees buckle, spinning.
Pose BipedDeath(const Pose& rest, const BipedRig& r, float t, int kind, float height);

// Helpers for motions of any rig.
float Wave(float t, float cycles, float phase = 0.0f); // sin of 2 pi (t * cycles + phase)
float Hump(float t, float peak, float width);           // 0..1 bump centred on peak
float EaseInOut(float t);

} // namespace orv
