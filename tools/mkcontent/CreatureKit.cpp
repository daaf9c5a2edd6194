// The biped rig, its motions and the skin painter.
#include "CreatureKit.h"

#include "Noise.h"
#include "Paint.h"

#include <cmath>
#include <numbers>

namespace orv {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void PaintRegion(Image& image, const SkinRect& r, const std::function<Rgba(float u, float v)>& shade) {
    for (int y = r.V0; y <= r.V1; ++y) {
        for (int x = r.U0; x <= r.U1; ++x) {
            const float u = (x - r.U0 + 0.5f) / (r.U1 - r.U0 + 1);
            const float v = (y - r.V0 + 0.5f) / (r.V1 - r.V0 + 1);
            image.At(x, y) = PackRgba(shade(u, v));
        }
    }
}

// Light from above: primitives map their top to v = 0, so the lower side darkens.
Rgba Shaded(const Rgba& c, float v) { return ScaleRgb(c, 1.15f - 0.45f * v); }

} // namespace

float Wave(float t, float cycles, float phase) { return std::sin(2.0f * kPi * (t * cycles + phase)); }

float Hump(float t, float peak, float width) {
    const float d = (t - peak) / width;
    return std::fabs(d) >= 1.0f ? 0.0f : 0.5f + 0.5f * std::cos(d * kPi);
}

float EaseInOut(float t) {
    t = Clamp01(t);
    return t * t * (3.0f - 2.0f * t);
}

Image PaintCreatureSkin(const SkinPalette& p, const std::string& seedName) {
    Image image(256, 256, 0xFF000000u);
    const uint32_t seed = static_cast<uint32_t>(NameSeed(seedName));
    auto mottled = [&](const Rgba& base, const Rgba& dark, float u, float v, uint32_t s) {
        const float n = FractalNoise(u, v, 4, 5, s);
        Rgba c = MixRgba(dark, base, Clamp01(0.3f + n));
        if (p.Stripes > 0.0f) {
            const float band = 0.5f + 0.5f * std::sin((u * 9.0f + n * 2.0f) * 2.0f * kPi);
            c = MixRgba(c, dark, p.Stripes * SmoothStep(0.6f, 0.9f, band));
        }
        if (p.Spots > 0.0f) {
            const CellularResult cell = Cellular(u, v, 7, s + 3);
            c = MixRgba(c, ScaleRgb(base, 1.35f), p.Spots * (1.0f - SmoothStep(0.15f, 0.3f, cell.F1)));
        }
        return Shaded(c, v);
    };
    PaintRegion(image, skin::kHide, [&](float u, float v) { return mottled(p.Hide, p.HideDark, u, v, seed); });
    PaintRegion(image, skin::kLimb, [&](float u, float v) { return mottled(p.Limb, p.HideDark, u, v, seed + 1); });
    PaintRegion(image, skin::kBelly, [&](float u, float v) {
        const float ridges = 0.85f + 0.15f * std::sin(v * 40.0f);
        return Shaded(ScaleRgb(p.Belly, ridges * (0.9f + 0.2f * FractalNoise(u, v, 4, 3, seed + 2))), v * 0.5f);
    });
    PaintRegion(image, skin::kArmour, [&](float u, float v) {
        const float plates = std::fabs(std::fmod(u * 4.0f, 1.0f) - 0.5f);
        Rgba c = ScaleRgb(p.Armour, 0.8f + 0.4f * SmoothStep(0.5f, 0.4f, plates));
        return Shaded(ScaleRgb(c, 0.9f + 0.2f * FractalNoise(u, v, 8, 3, seed + 4)), v);
    });
    PaintRegion(image, skin::kBone, [&](float, float v) { return Shaded(p.Bone, v * 0.6f); });
    PaintRegion(image, skin::kGlow, [&](float u, float v) {
        const float d = std::hypot(u - 0.5f, v - 0.5f);
        return MixRgba(p.Glow, Rgba{1, 1, 1, 1}, Clamp01(0.6f - d * 2.0f));
    });
    PaintRegion(image, skin::kDark, [&](float u, float v) { return ScaleRgb(p.HideDark, 0.5f + 0.3f * FractalNoise(u, v, 4, 3, seed + 5)); });
    PaintRegion(image, skin::kMembrane, [&](float u, float v) {
        const float veins = std::fabs(std::sin((u * 6.0f + FractalNoise(u, v, 4, 3, seed + 6) * 0.8f) * kPi));
        return MixRgba(ScaleRgb(p.Membrane, 0.7f), p.Membrane, SmoothStep(0.05f, 0.25f, veins));
    });
    // The face: longitude 0.5 is the front of a head ellipsoid, latitude 0 its crown.
    PaintRegion(image, skin::kFace, [&](float u, float v) { return mottled(p.Hide, p.HideDark, u, v, seed + 7); });
    if (p.FaceEyes) {
        const float w = skin::kFace.U1 - skin::kFace.U0 + 1, h = skin::kFace.V1 - skin::kFace.V0 + 1;
        for (const float side : {-1.0f, 1.0f}) {
            const float ex = skin::kFace.U0 + (0.5f + side * 0.075f) * w;
            const float ey = skin::kFace.V0 + 0.42f * h;
            FillDisc(image, ex, ey, 3.6f, Rgba{0, 0, 0, 1}, 1.0f);
            FillDisc(image, ex, ey, 2.4f, p.Glow, 1.0f);
            FillDisc(image, ex - 0.6f, ey - 0.6f, 0.8f, Rgba{1, 1, 1, 1}, 0.6f);
        }
        DrawLine(image, skin::kFace.U0 + 0.4f * w, skin::kFace.V0 + 0.66f * h, skin::kFace.U0 + 0.6f * w,
                 skin::kFace.V0 + 0.66f * h, 2.0f, ScaleRgb(p.HideDark, 0.4f));
    }
    return image;
}

BipedRig AddBipedBones(MeshModel& m, const BipedShape& s) {
    BipedRig r{};
    r.Pelvis = m.AddBone("pelvis", -1, {0, 0, s.Pelvis});
    r.Spine = m.AddBone("spine", r.Pelvis, {0, 0, s.SpineUp});
    r.Head = m.AddBone("head", r.Spine, {s.NeckForward, 0, s.NeckUp});
    r.Jaw = m.AddBone("jaw", r.Head, {5, 0, -3});
    r.LShoulder = m.AddBone("lshoulder", r.Spine, {0, -s.ShoulderWidth, s.ShoulderUp});
    r.LElbow = m.AddBone("lelbow", r.LShoulder, {0, -1, -s.UpperArm});
    r.RShoulder = m.AddBone("rshoulder", r.Spine, {0, s.ShoulderWidth, s.ShoulderUp});
    r.RElbow = m.AddBone("relbow", r.RShoulder, {0, 1, -s.UpperArm});
    r.LHip = m.AddBone("lhip", r.Pelvis, {0, -s.HipWidth, -4});
    r.LKnee = m.AddBone("lknee", r.LHip, {2, 0, -s.Thigh});
    r.LAnkle = m.AddBone("lankle", r.LKnee, {-2, 0, -s.Shin});
    r.RHip = m.AddBone("rhip", r.Pelvis, {0, s.HipWidth, -4});
    r.RKnee = m.AddBone("rknee", r.RHip, {2, 0, -s.Thigh});
    r.RAnkle = m.AddBone("rankle", r.RKnee, {-2, 0, -s.Shin});
    return r;
}

Pose BipedIdle(const Pose& rest, const BipedRig& r, float t, float hunch) {
    Pose p = rest;
    const float breath = Wave(t, 1.0f);
    p.Bones[r.Spine].Pitch = hunch + 0.07f * breath;
    p.Bones[r.Head].Pitch = hunch * 0.5f - 0.1f * breath;
    p.Bones[r.Jaw].Pitch = -0.08f - 0.06f * breath;
    for (const int s : {r.LShoulder, r.RShoulder}) {
        p.Bones[s].Pitch = -0.1f - 0.03f * breath;
    }
    p.Bones[r.LShoulder].Roll = -0.15f;
    p.Bones[r.RShoulder].Roll = 0.15f;
    p.Bones[r.LElbow].Pitch = p.Bones[r.RElbow].Pitch = -0.35f;
    p.RootOffset.Z = -1.0f + 0.6f * breath;
    return p;
}

Pose BipedWalk(const Pose& rest, const BipedRig& r, float t, float stride, float lean) {
    Pose p = rest;
    const float s = Wave(t, 1.0f);
    const float c = Wave(t, 1.0f, 0.25f);
    p.Bones[r.LHip].Pitch = -stride * s;
    p.Bones[r.RHip].Pitch = stride * s;
    // A knee bends while its leg swings through, not while it carries the weight.
    p.Bones[r.LKnee].Pitch = 0.15f + stride * 1.3f * std::max(0.0f, c);
    p.Bones[r.RKnee].Pitch = 0.15f + stride * 1.3f * std::max(0.0f, -c);
    p.Bones[r.LAnkle].Pitch = -0.3f * std::max(0.0f, c);
    p.Bones[r.RAnkle].Pitch = -0.3f * std::max(0.0f, -c);
    p.Bones[r.LShoulder].Pitch = stride * 0.8f * s;
    p.Bones[r.RShoulder].Pitch = -stride * 0.8f * s;
    p.Bones[r.LShoulder].Roll = -0.15f;
    p.Bones[r.RShoulder].Roll = 0.15f;
    p.Bones[r.LElbow].Pitch = p.Bones[r.RElbow].Pitch = -0.5f;
    p.Bones[r.Spine].Pitch = lean;
    p.Bones[r.Spine].Yaw = 0.12f * s;
    p.Bones[r.Head].Pitch = -lean * 0.6f;
    p.RootOffset.Z = -2.5f * std::fabs(c);
    return p;
}

void BipedAim(Pose& p, const BipedRig& r, float t, float leftRecoil, float rightRecoil, float low) {
    auto arm = [&](int shoulder, int elbow, float recoilAt) {
        const float kick = recoilAt >= 0.0f ? Hump(t, recoilAt + 0.06f, 0.12f) : 0.0f;
        p.Bones[shoulder].Pitch = -0.35f + low + 0.35f * kick;
        p.Bones[elbow].Pitch = -1.25f - low * 0.8f + 0.4f * kick;
    };
    arm(r.LShoulder, r.LElbow, leftRecoil);
    arm(r.RShoulder, r.RElbow, rightRecoil);
    p.Bones[r.LShoulder].Roll = 0.12f;
    p.Bones[r.RShoulder].Roll = -0.12f;
}

Pose BipedOverhead(const Pose& rest, const BipedRig& r, float t, bool right) {
    Pose p = BipedIdle(rest, r, 0.0f, 0.1f);
    const int shoulder = right ? r.RShoulder : r.LShoulder;
    const int elbow = right ? r.RElbow : r.LElbow;
    // Wind up high behind the head, then chop down through the target at mid-swing.
    const float wind = EaseInOut(t / 0.4f);
    const float chop = EaseInOut((t - 0.4f) / 0.25f);
    const float recover = EaseInOut((t - 0.75f) / 0.25f);
    const float raised = -2.8f * wind + 2.3f * chop;
    p.Bones[shoulder].Pitch = raised * (1.0f - recover) - 0.1f * recover;
    p.Bones[elbow].Pitch = -0.9f * wind * (1.0f - chop) - 0.3f;
    p.Bones[r.Spine].Pitch = -0.15f * wind + 0.45f * chop * (1.0f - recover);
    p.Bones[r.Spine].Yaw = (right ? 0.3f : -0.3f) * (wind - chop);
    return p;
}

Pose BipedSweep(const Pose& rest, const BipedRig& r, float t, bool right) {
    Pose p = BipedIdle(rest, r, 0.0f, 0.15f);
    const int shoulder = right ? r.RShoulder : r.LShoulder;
    const int elbow = right ? r.RElbow : r.LElbow;
    const float side = right ? 1.0f : -1.0f;
    const float swing = EaseInOut(t / 0.55f) - EaseInOut((t - 0.7f) / 0.3f);
    p.Bones[shoulder].Pitch = -1.4f * Hump(t, 0.45f, 0.45f);
    p.Bones[shoulder].Roll = side * (0.9f - 1.3f * swing);
    p.Bones[elbow].Pitch = -0.6f;
    p.Bones[r.Spine].Yaw = side * (0.5f - 1.0f * swing);
    return p;
}

Pose BipedJab(const Pose& rest, const BipedRig& r, float t, bool right) {
    Pose p = BipedIdle(rest, r, 0.0f, 0.2f);
    const int shoulder = right ? r.RShoulder : r.LShoulder;
    const int elbow = right ? r.RElbow : r.LElbow;
    const float punch = Hump(t, 0.5f, 0.3f);
    const float cock = Hump(t, 0.25f, 0.2f);
    p.Bones[shoulder].Pitch = -0.4f - 1.1f * punch + 0.3f * cock;
    p.Bones[elbow].Pitch = -1.5f + 1.3f * punch;
    p.Bones[r.Spine].Yaw = (right ? -0.35f : 0.35f) * punch + (right ? 0.2f : -0.2f) * cock;
    p.Bones[r.Spine].Pitch = 0.1f + 0.2f * punch;
    p.RootOffset.X = 4.0f * punch;
    return p;
}

Pose BipedLunge(const Pose& rest, const BipedRig& r, float t) {
    Pose p = BipedWalk(rest, r, 0.0f, 0.5f, 0.2f);
    const float reach = Hump(t, 0.55f, 0.4f);
    p.Bones[r.Spine].Pitch = 0.2f + 0.5f * reach;
    for (const int s : {r.LShoulder, r.RShoulder}) {
        p.Bones[s].Pitch = -0.3f - 1.3f * reach;
    }
    p.Bones[r.LElbow].Pitch = p.Bones[r.RElbow].Pitch = -0.8f + 0.6f * reach;
    p.Bones[r.Jaw].Pitch = -0.5f * reach;
    p.RootOffset.X = 14.0f * reach;
    p.RootOffset.Z = -5.0f * reach;
    return p;
}

Pose BipedSpin(const Pose& rest, const BipedRig& r, float t) {
    Pose p = BipedIdle(rest, r, 0.0f, 0.1f);
    const float turn = EaseInOut(t);
    p.Root.Yaw = 2.0f * kPi * turn;
    for (const int s : {r.LShoulder, r.RShoulder}) {
        p.Bones[s].Pitch = -1.2f * Hump(t, 0.5f, 0.5f);
    }
    p.Bones[r.LShoulder].Roll = -1.2f * Hump(t, 0.5f, 0.5f);
    p.Bones[r.RShoulder].Roll = 1.2f * Hump(t, 0.5f, 0.5f);
    p.RootOffset.Z = -3.0f * Hump(t, 0.5f, 0.5f);
    return p;
}

Pose BipedDeath(const Pose& rest, const BipedRig& r, float t, int kind, float height) {
    Pose p = BipedIdle(rest, r, 0.0f, 0.1f);
    const float fall = EaseInOut(t / 0.75f);
    const float lying = height * 0.72f; // from standing centre down to a body lying on the floor
    switch (kind) {
    case 0: // thrown backward, arms flung up
        p.Root.Pitch = -1.5f * fall;
        p.RootOffset = {-height * 0.35f * fall, 0, -lying * fall};
        p.Bones[r.LShoulder].Pitch = p.Bones[r.RShoulder].Pitch = -2.2f * Hump(t, 0.35f, 0.35f) - 0.6f * fall;
        p.Bones[r.Head].Pitch = -0.5f * fall;
        break;
    case 1: // pitches forward onto the face
        p.Root.Pitch = 1.5f * fall;
        p.RootOffset = {height * 0.3f * fall, 0, -lying * fall};
        p.Bones[r.LShoulder].Pitch = p.Bones[r.RShoulder].Pitch = -1.5f * fall;
        p.Bones[r.LKnee].Pitch = p.Bones[r.RKnee].Pitch = 0.6f * Hump(t, 0.3f, 0.3f);
        break;
    case 2: { // knees buckle, then it topples over sideways
        const float kneel = EaseInOut(t / 0.35f);
        const float topple = EaseInOut((t - 0.35f) / 0.45f);
        p.Bones[r.LHip].Pitch = p.Bones[r.RHip].Pitch = -1.2f * kneel;
        p.Bones[r.LKnee].Pitch = p.Bones[r.RKnee].Pitch = 2.0f * kneel;
        p.Root.Roll = 1.45f * topple;
        p.RootOffset = {0, height * 0.2f * topple, -height * 0.3f * kneel - (lying - height * 0.3f) * topple};
        p.Bones[r.Head].Pitch = 0.6f * kneel;
        break;
    }
    default: // spins half round while collapsing backward
        p.Root.Yaw = 3.0f * fall;
        p.Root.Pitch = -1.4f * EaseInOut((t - 0.2f) / 0.6f);
        p.RootOffset.Z = -lying * fall;
        p.Bones[r.LShoulder].Roll = -1.0f * fall;
        p.Bones[r.RShoulder].Roll = 1.0f * fall;
        break;
    }
    return p;
}

} // namespace orv
