// The two walkers: the Brute (a hulking gunner with cannon forearms) and the Skaarj warrior
// (a lean fighter with wrist blades and a crest).
#include "CreatureKit.h"
#include "Creatures.h"

#include <cmath>

namespace orv {

MeshSequenceSpec Sequence(const std::string& name, int frames, int rate, std::function<Pose(float)> animate) {
    return {name, frames, rate, std::move(animate)};
}

namespace {

void AddBipedLegs(MeshModel& m, const BipedRig& r, const BipedShape& s, float thigh, float shin, float footLength) {
    for (const int side : {0, 1}) {
        const int hip = side ? r.RHip : r.LHip;
        const int knee = side ? r.RKnee : r.LKnee;
        const int ankle = side ? r.RAnkle : r.LAnkle;
        m.AddLimb(hip, {0, 0, 2}, {2, 0, -s.Thigh}, thigh, thigh * 0.8f, skin::kLimb);
        m.AddLimb(knee, {0, 0, 0}, {-2, 0, -s.Shin}, thigh * 0.8f, shin, skin::kLimb);
        m.AddEllipsoid(ankle, {footLength * 0.35f, 0, -1.5f}, {footLength * 0.6f, shin * 0.9f, 3.5f}, skin::kDark, 4, 8);
        for (const float toe : {-0.5f, 0.5f}) {
            m.AddCone(ankle, {footLength * 0.8f, toe * shin, -2.5f}, {footLength * 1.05f, toe * shin * 1.2f, -4.0f}, 1.6f,
                      skin::kBone, 4);
        }
    }
}

} // namespace

MeshDefinition MakeBrute() {
    MeshDefinition d;
    d.Name = "Brute1";
    d.Scale = {0.1f, 0.1f, 0.2f};
    MeshModel& m = d.Model;
    const BipedShape s{-6, 14, 24, 14, 30, 18, 22, 20, 14, 20, 20};
    const BipedRig r = AddBipedBones(m, s);
    // Body: a barrel chest over a heavy belly, a small head sunk forward between the shoulders.
    m.AddEllipsoid(r.Pelvis, {0, 0, 0}, {17, 19, 12}, skin::kBelly, 5, 10);
    m.AddEllipsoid(r.Spine, {0, 0, 14}, {22, 30, 20}, skin::kHide, 7, 12);
    m.AddEllipsoid(r.Spine, {9, 0, 3}, {15, 20, 14}, skin::kBelly, 5, 10);
    m.AddEllipsoid(r.Head, {3, 0, 3}, {11, 10, 10}, skin::kFace, 6, 10);
    m.AddEllipsoid(r.Jaw, {3, 0, -2}, {8, 8, 3.5f}, skin::kHide, 4, 8);
    for (const float side : {-1.0f, 1.0f}) {
        m.AddCone(r.Head, {0, side * 7, 9}, {-4, side * 13, 17}, 2.8f, skin::kBone);
        m.AddCone(r.Jaw, {9, side * 4, -1}, {10, side * 4, 4}, 1.3f, skin::kBone, 4);
    }
    for (const int side : {0, 1}) {
        const int shoulder = side ? r.RShoulder : r.LShoulder;
        const int elbow = side ? r.RElbow : r.LElbow;
        const float y = side ? 1.0f : -1.0f;
        m.AddEllipsoid(shoulder, {0, y * 2, 3}, {13, 12, 11}, skin::kArmour, 5, 8);
        m.AddLimb(shoulder, {0, 0, 0}, {0, 0, -s.UpperArm}, 9, 8, skin::kLimb);
        // The forearm is a cannon: a thick sleeve ending in a barrel with a glowing muzzle.
        m.AddLimb(elbow, {0, 0, 2}, {0, 0, -s.Forearm}, 9, 10, skin::kArmour);
        m.AddLimb(elbow, {0, 0, -s.Forearm}, {0, 0, -s.Forearm - 10}, 5, 4.5f, skin::kDark, 6);
        m.AddEllipsoid(elbow, {0, 0, -s.Forearm - 10}, {3, 3, 1.5f}, skin::kGlow, 3, 6);
    }
    AddBipedLegs(m, r, s, 10.5f, 7.0f, 12.0f);
    d.Skins = {"UnrealShare.Skins.JBrute1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x8A7658), HexRgb(0x3A2E22), HexRgb(0xB89A78), HexRgb(0x7A6A50),
                                       HexRgb(0x5A5E66), HexRgb(0xE8DCC0), HexRgb(0xFF5020), HexRgb(0x604030), 0.5f,
                                       0.0f, true},
                                      "Brute1 skin")};

    const Pose rest = m.RestPose();
    d.Sequences = {
        Sequence("Still", 1, 1, [=](float) { return BipedIdle(rest, r, 0.0f, 0.15f); }),
        Sequence("Sleep", 20, 6, [=](float t) {
            Pose p = BipedIdle(rest, r, t, 0.45f);
            p.Bones[r.Head].Pitch = 0.5f;
            return p;
        }),
        Sequence("Charge", 12, 12, [=](float t) { return BipedWalk(rest, r, t, 0.55f, 0.25f); }),
        Sequence("WalkFire", 12, 12, [=](float t) {
            Pose p = BipedWalk(rest, r, t, 0.45f, 0.1f);
            BipedAim(p, r, t, 0.5f, 0.0f, 0.0f);
            return p;
        }),
        Sequence("StillFire", 12, 12, [=](float t) {
            Pose p = BipedIdle(rest, r, 0.0f, 0.05f);
            BipedAim(p, r, t, 0.3f, 0.7f, 0.0f);
            return p;
        }),
        Sequence("GutShot", 12, 12, [=](float t) {
            Pose p = BipedIdle(rest, r, 0.0f, -0.1f);
            BipedAim(p, r, t, 0.5f, 0.5f, 0.45f);
            p.RootOffset.X = -3.0f * Hump(t, 0.56f, 0.15f);
            return p;
        }),
        Sequence("PistolWhip", 14, 14, [=](float t) { return BipedOverhead(rest, r, t, true); }),
        Sequence("Punch", 12, 14, [=](float t) { return BipedJab(rest, r, t, false); }),
        Sequence("Dead1", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 0, 52.0f); }),
        Sequence("Dead2", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 1, 52.0f); }),
        Sequence("Dead3", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 2, 52.0f); }),
        Sequence("Dead4", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 3, 52.0f); }),
    };
    d.Notifies = {{"WalkFire", 0.5f, "SpawnLeftShot"},   {"StillFire", 0.3f, "SpawnLeftShot"},
                  {"StillFire", 0.7f, "SpawnRightShot"}, {"GutShot", 0.5f, "SpawnShot"},
                  {"PistolWhip", 0.55f, "WhipDamageTarget"}, {"Punch", 0.5f, "PunchDamageTarget"}};
    return d;
}

MeshDefinition MakeSkaarj() {
    MeshDefinition d;
    d.Name = "SkaarjW";
    d.Scale = {0.1f, 0.1f, 0.2f};
    MeshModel& m = d.Model;
    const BipedShape s{-2, 14, 20, 6, 15, 16, 18, 18, 8, 16, 17};
    const BipedRig r = AddBipedBones(m, s);
    m.AddEllipsoid(r.Pelvis, {0, 0, 0}, {9, 11, 8}, skin::kDark, 5, 8);
    m.AddEllipsoid(r.Spine, {1, 0, 10}, {11, 15, 15}, skin::kHide, 6, 10);
    m.AddEllipsoid(r.Spine, {6, 0, 8}, {6, 10, 10}, skin::kArmour, 5, 8);
    m.AddEllipsoid(r.Head, {4, 0, 2}, {10, 6.5f, 7}, skin::kFace, 6, 10);
    m.AddEllipsoid(r.Jaw, {4, 0, -2}, {7, 5, 2.5f}, skin::kHide, 4, 8);
    // The crest: a fan of spines sweeping back from the skull.
    for (const float side : {-1.0f, 0.0f, 1.0f}) {
        m.AddCone(r.Head, {-2, side * 3, 5}, {-16, side * 7, 2 - std::fabs(side) * 4}, 2.4f, skin::kDark);
    }
    for (const int side : {0, 1}) {
        const int shoulder = side ? r.RShoulder : r.LShoulder;
        const int elbow = side ? r.RElbow : r.LElbow;
        m.AddEllipsoid(shoulder, {0, 0, 1}, {6, 6, 6}, skin::kArmour, 4, 8);
        m.AddLimb(shoulder, {0, 0, 0}, {0, 0, -s.UpperArm}, 4.5f, 4, skin::kLimb);
        m.AddLimb(elbow, {0, 0, 0}, {0, 0, -s.Forearm}, 4, 3.5f, skin::kLimb);
        m.AddEllipsoid(elbow, {0, 0, -s.Forearm - 2}, {3.5f, 2.5f, 3.5f}, skin::kDark, 4, 6);
        // Wrist blades, pointing forward along the hand.
        m.AddCone(elbow, {1, 0, -s.Forearm + 4}, {4, 0, -s.Forearm - 14}, 1.8f, skin::kBone);
    }
    AddBipedLegs(m, r, s, 5.5f, 4.0f, 10.0f);
    d.Skins = {"UnrealShare.Skins.JSkaarjW1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x5E6A3A), HexRgb(0x1E2614), HexRgb(0x9AA070), HexRgb(0x6A7444),
                                       HexRgb(0x8A6A3A), HexRgb(0xE0E0D0), HexRgb(0xFFD040), HexRgb(0x405020), 0.7f,
                                       0.3f, true},
                                      "SkaarjW skin")};
    const Pose rest = m.RestPose();
    d.Sequences = {
        Sequence("Still", 1, 1, [=](float) { return BipedIdle(rest, r, 0.0f, 0.1f); }),
        Sequence("Breath", 16, 8, [=](float t) { return BipedIdle(rest, r, t, 0.12f); }),
        Sequence("Breath2", 16, 8, [=](float t) {
            Pose p = BipedIdle(rest, r, t, 0.05f);
            p.Bones[r.Head].Yaw = 0.5f * Wave(t, 1.0f);
            return p;
        }),
        Sequence("Jog", 10, 14, [=](float t) { return BipedWalk(rest, r, t, 0.7f, 0.3f); }),
        Sequence("JogFire", 10, 14, [=](float t) {
            Pose p = BipedWalk(rest, r, t, 0.6f, 0.2f);
            BipedAim(p, r, t, 0.5f, 0.5f, 0.1f);
            return p;
        }),
        Sequence("Firing", 12, 12, [=](float t) {
            Pose p = BipedIdle(rest, r, 0.0f, 0.1f);
            BipedAim(p, r, t, 0.45f, 0.45f, 0.0f);
            return p;
        }),
        Sequence("claw", 12, 16, [=](float t) { return BipedSweep(rest, r, t, true); }),
        Sequence("spin", 14, 16, [=](float t) { return BipedSpin(rest, r, t); }),
        Sequence("lunge", 12, 14, [=](float t) { return BipedLunge(rest, r, t); }),
        Sequence("Death", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 0, 42.0f); }),
        Sequence("Death2", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 1, 42.0f); }),
        Sequence("Death3", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 2, 42.0f); }),
        Sequence("Death4", 16, 15, [=](float t) { return BipedDeath(rest, r, t, 3, 42.0f); }),
    };
    d.Notifies = {{"JogFire", 0.5f, "SpawnTwoShots"},    {"Firing", 0.45f, "SpawnTwoShots"},
                  {"claw", 0.5f, "StrikeDamageTarget"}, {"spin", 0.5f, "SpinDamageTarget"},
                  {"lunge", 0.6f, "HitDamageTarget"}};
    return d;
}

} // namespace orv
