// The creatures that are not walkers: the manta (a flying ray with a stinging tail), the
// ceiling tentacle, the devil fish and the bird.
#include "CreatureKit.h"
#include "Creatures.h"

#include <cmath>

namespace orv {
namespace {

// A chain of bones, each `length` along `direction` from the one before.
std::vector<int> AddChain(MeshModel& m, const std::string& name, int parent, const Vector& start, const Vector& step,
                          int count) {
    std::vector<int> chain;
    int previous = parent;
    for (int i = 0; i < count; ++i) {
        previous = m.AddBone(name + std::to_string(i), previous, i == 0 ? start : step);
        chain.push_back(previous);
    }
    return chain;
}

} // namespace

MeshDefinition MakeManta() {
    MeshDefinition d;
    d.Name = "Manta1";
    d.Scale = {0.1f, 0.1f, 0.2f};
    MeshModel& m = d.Model;
    const int body = m.AddBone("body", -1, {0, 0, 0});
    m.AddEllipsoid(body, {2, 0, 0}, {24, 13, 5}, skin::kHide, 5, 12);
    m.AddEllipsoid(body, {20, 0, 1}, {8, 7, 4}, skin::kFace, 5, 8);
    for (const float side : {-1.0f, 1.0f}) {
        m.AddCone(body, {24, side * 5, -1}, {32, side * 7, -3}, 2.0f, skin::kDark); // horn-like feelers
    }
    int wings[2][2];
    for (int s = 0; s < 2; ++s) {
        const float y = s ? 1.0f : -1.0f;
        wings[s][0] = m.AddBone(s ? "rwing" : "lwing", body, {2, y * 10, 0});
        wings[s][1] = m.AddBone(s ? "rwingtip" : "lwingtip", wings[s][0], {-4, y * 18, 0});
        m.AddFan(wings[s][0], {{0, 0, 0}, {14, y * 2, 0}, {4, y * 18, 0}, {-14, y * 18, 0}, {-12, 0, 0}},
                 {{0.0f, 0.5f}, {0.2f, 0.0f}, {0.5f, 0.2f}, {0.5f, 0.9f}, {0.0f, 1.0f}}, skin::kMembrane);
        m.AddFan(wings[s][1], {{0, 0, 0}, {8, 0, 0}, {-6, y * 20, 0}, {-14, 0, 0}},
                 {{0.5f, 0.5f}, {0.6f, 0.1f}, {1.0f, 0.5f}, {0.6f, 0.9f}}, skin::kMembrane);
    }
    const std::vector<int> tail = AddChain(m, "tail", body, {-20, 0, 0}, {-9, 0, 0}, 4);
    for (size_t i = 0; i < tail.size(); ++i) {
        const float r = 3.0f - i * 0.5f;
        m.AddLimb(tail[i], {0, 0, 0}, {-9, 0, 0}, r, r - 0.5f, skin::kLimb, 6);
    }
    m.AddCone(tail.back(), {-8, 0, 0}, {-18, 0, 2}, 2.2f, skin::kBone);
    d.Skins = {"UnrealShare.Skins.JManta1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x5A4A6A), HexRgb(0x1E1826), HexRgb(0xB0A0B8), HexRgb(0x4A3A5A),
                                       HexRgb(0x6A5A7A), HexRgb(0xE0D8C8), HexRgb(0x60FFB0), HexRgb(0x7A5A8A), 0.0f,
                                       0.6f, true},
                                      "Manta1 skin")};
    const Pose rest = m.RestPose();
    auto flap = [=](float t, float strength) {
        Pose p = rest;
        for (int s = 0; s < 2; ++s) {
            const float side = s ? 1.0f : -1.0f;
            p.Bones[wings[s][0]].Roll = -side * strength * Wave(t, 1.0f);
            p.Bones[wings[s][1]].Roll = -side * strength * 0.8f * Wave(t, 1.0f, -0.12f);
        }
        for (size_t i = 0; i < tail.size(); ++i) {
            p.Bones[tail[i]].Yaw = 0.25f * Wave(t, 1.0f, -0.15f * i);
        }
        p.RootOffset.Z = -3.0f * Wave(t, 1.0f);
        return p;
    };
    d.Sequences = {
        Sequence("Still", 1, 1, [=](float) { return flap(0.25f, 0.3f); }),
        Sequence("Fly", 16, 15, [=](float t) { return flap(t, 0.6f); }),
        Sequence("Sting", 12, 14, [=](float t) {
            // The tail arches over the back and stabs forward past the head.
            Pose p = flap(t, 0.35f);
            const float arch = Hump(t, 0.5f, 0.45f);
            for (const int b : tail) {
                p.Bones[b].Pitch = 0.75f * arch;
                p.Bones[b].Yaw = 0.0f;
            }
            p.Root.Pitch = 0.3f * arch;
            return p;
        }),
        Sequence("Whip", 12, 14, [=](float t) {
            Pose p = flap(t, 0.35f);
            const float lash = Wave(t, 1.0f);
            for (size_t i = 0; i < tail.size(); ++i) {
                p.Bones[tail[i]].Yaw = 0.55f * Wave(t, 1.0f, -0.08f * i);
            }
            p.Root.Yaw = 0.4f * lash;
            return p;
        }),
        Sequence("Death", 16, 12, [=](float t) {
            // Wings fold, the body rolls over and sinks to the floor.
            Pose p = flap(0.0f, 0.0f);
            const float fall = EaseInOut(t / 0.8f);
            for (int s = 0; s < 2; ++s) {
                p.Bones[wings[s][0]].Roll = (s ? -1.0f : 1.0f) * 0.9f * fall;
            }
            p.Root.Roll = 3.0f * fall;
            p.RootOffset.Z = -8.0f * fall;
            for (const int b : tail) {
                p.Bones[b].Yaw = 0.3f * fall;
            }
            return p;
        }),
    };
    d.Notifies = {{"Sting", 0.5f, "StabDamageTarget"}, {"Whip", 0.5f, "WhipDamageTarget"}};
    return d;
}

MeshDefinition MakeTentacle() {
    MeshDefinition d;
    d.Name = "Tentacle1";
    d.Scale = {0.1f, 0.1f, 0.2f};
    MeshModel& m = d.Model;
    // Hangs from a ceiling: a bulb at the top, the tentacle down to a mouth at the tip.
    const int bulb = m.AddBone("bulb", -1, {0, 0, 30});
    m.AddEllipsoid(bulb, {0, 0, 0}, {18, 18, 10}, skin::kHide, 6, 12);
    for (int i = 0; i < 6; ++i) {
        const float a = i * 1.0472f;
        m.AddCone(bulb, {std::cos(a) * 12, std::sin(a) * 12, 3}, {std::cos(a) * 22, std::sin(a) * 22, 8}, 2.5f,
                  skin::kBone);
    }
    const std::vector<int> chain = AddChain(m, "seg", bulb, {0, 0, -8}, {0, 0, -9}, 6);
    for (size_t i = 0; i < chain.size(); ++i) {
        const float r = 7.0f - i * 0.7f;
        m.AddLimb(chain[i], {0, 0, 1}, {0, 0, -9.5f}, r, r - 0.7f, i % 2 ? skin::kLimb : skin::kBelly, 8);
    }
    const int jaw = m.AddBone("mouth", chain.back(), {0, 0, -9});
    m.AddEllipsoid(jaw, {0, 0, -3}, {6, 6, 5}, skin::kFace, 5, 8);
    for (int i = 0; i < 5; ++i) {
        const float a = i * 1.2566f;
        m.AddCone(jaw, {std::cos(a) * 4, std::sin(a) * 4, -6}, {std::cos(a) * 2, std::sin(a) * 2, -11}, 1.2f, skin::kBone, 4);
    }
    d.Skins = {"UnrealShare.Skins.JTentacle1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x6A4A3A), HexRgb(0x2A1410), HexRgb(0xC08A70), HexRgb(0x8A5A44),
                                       HexRgb(0x5A3A30), HexRgb(0xF0E0C0), HexRgb(0xFF6040), HexRgb(0x8A4A3A), 0.4f,
                                       0.5f, false},
                                      "Tentacle1 skin")};
    const Pose rest = m.RestPose();
    auto sway = [=](float t, float amount, float cycles) {
        Pose p = rest;
        for (size_t i = 0; i < chain.size(); ++i) {
            p.Bones[chain[i]].Pitch = amount * Wave(t, cycles, -0.1f * i);
            p.Bones[chain[i]].Roll = amount * 0.7f * Wave(t, cycles, 0.25f - 0.1f * i);
        }
        return p;
    };
    d.Sequences = {
        Sequence("Still", 1, 1, [=](float) { return sway(0.0f, 0.0f, 1.0f); }),
        Sequence("Waver", 20, 10, [=](float t) { return sway(t, 0.12f, 1.0f); }),
        Sequence("Move2", 12, 12, [=](float t) { return sway(t, 0.22f, 1.0f); }),
        Sequence("Shoot", 12, 12, [=](float t) {
            // Curls the tip up toward the front, then spits.
            Pose p = sway(t, 0.05f, 1.0f);
            const float aim = Hump(t, 0.5f, 0.5f);
            for (const int b : chain) {
                p.Bones[b].Pitch -= 0.28f * aim;
            }
            p.Bones[jaw].Pitch = -0.6f * aim;
            return p;
        }),
        Sequence("Smack", 12, 14, [=](float t) {
            Pose p = sway(t, 0.05f, 1.0f);
            const float wind = Hump(t, 0.3f, 0.3f), lash = Hump(t, 0.6f, 0.25f);
            for (const int b : chain) {
                p.Bones[b].Pitch += 0.2f * wind - 0.3f * lash;
            }
            return p;
        }),
        Sequence("Dead2", 16, 10, [=](float t) {
            // Writhes, then hangs limp and shrivelled.
            const float fade = EaseInOut(t);
            Pose p = sway(t, 0.3f * (1.0f - fade), 2.0f);
            p.RootOffset.Z = -4.0f * fade;
            p.Bones[jaw].Pitch = 0.4f * fade;
            return p;
        }),
    };
    d.Notifies = {{"Shoot", 0.5f, "ShootTarget"}, {"Smack", 0.6f, "SmackTarget"}};
    return d;
}

MeshDefinition MakeDevilFish() {
    MeshDefinition d;
    d.Name = "Fish";
    d.Scale = {0.05f, 0.05f, 0.1f};
    MeshModel& m = d.Model;
    const int body = m.AddBone("body", -1, {0, 0, 0});
    m.AddEllipsoid(body, {0, 0, 0}, {20, 7, 10}, skin::kHide, 6, 12);
    m.AddEllipsoid(body, {14, 0, 1}, {10, 6.5f, 8}, skin::kFace, 6, 10);
    const int jaw = m.AddBone("jaw", body, {16, 0, -3});
    m.AddEllipsoid(jaw, {5, 0, -1}, {9, 5.5f, 2.5f}, skin::kBelly, 4, 8);
    for (int i = 0; i < 4; ++i) {
        for (const float side : {-1.0f, 1.0f}) {
            m.AddCone(jaw, {4 + i * 2.5f, side * 4, 0}, {4 + i * 2.5f, side * 3.5f, 4}, 0.9f, skin::kBone, 3);
            m.AddCone(body, {19 + i * 2.5f, side * 4.5f, -2}, {19 + i * 2.5f, side * 4, -5}, 0.9f, skin::kBone, 3);
        }
    }
    m.AddFan(body, {{-4, 0, 8}, {8, 0, 9}, {-2, 0, 18}, {-12, 0, 9}}, {{0.5f, 1.0f}, {0.8f, 0.8f}, {0.5f, 0.0f}, {0.2f, 0.8f}},
             skin::kMembrane);
    for (const float side : {-1.0f, 1.0f}) {
        m.AddFan(body, {{4, side * 6, -3}, {6, side * 16, -8}, {-4, side * 12, -7}},
                 {{0.0f, 0.5f}, {0.6f, 0.0f}, {0.6f, 1.0f}}, skin::kMembrane);
    }
    const int tail = m.AddBone("tail", body, {-17, 0, 0});
    const int fin = m.AddBone("fin", tail, {-10, 0, 0});
    m.AddLimb(tail, {2, 0, 0}, {-10, 0, 0}, 5.5f, 3.0f, skin::kLimb, 8);
    m.AddFan(fin, {{0, 0, 0}, {-12, 0, 12}, {-8, 0, 0}, {-12, 0, -12}}, {{0.1f, 0.5f}, {1.0f, 0.0f}, {0.7f, 0.5f}, {1.0f, 1.0f}},
             skin::kMembrane);
    d.Skins = {"UnrealShare.Skins.JFish1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x2A4A4A), HexRgb(0x0A1A1E), HexRgb(0xC8C0A0), HexRgb(0x3A5A5A),
                                       HexRgb(0x3A4A4A), HexRgb(0xF0F0E0), HexRgb(0xFFE040), HexRgb(0x6A4A3A), 0.3f,
                                       0.4f, true},
                                      "Fish skin")};
    const Pose rest = m.RestPose();
    auto swim = [=](float t, float amount) {
        Pose p = rest;
        p.Bones[tail].Yaw = amount * Wave(t, 1.0f);
        p.Bones[fin].Yaw = amount * 1.2f * Wave(t, 1.0f, -0.15f);
        p.Root.Yaw = -amount * 0.25f * Wave(t, 1.0f);
        return p;
    };
    auto bite = [=](float t, float lunge, float roll) {
        Pose p = swim(t, 0.2f);
        const float open = Hump(t, 0.35f, 0.25f), snap = Hump(t, 0.55f, 0.2f);
        p.Bones[jaw].Pitch = -0.7f * open + 0.1f * snap;
        p.RootOffset.X = lunge * snap;
        p.Root.Roll = roll * snap;
        return p;
    };
    d.Sequences = {
        Sequence("Still", 1, 1, [=](float) { return swim(0.0f, 0.0f); }),
        Sequence("breathing", 16, 8, [=](float t) {
            Pose p = swim(t, 0.1f);
            p.Bones[jaw].Pitch = -0.12f - 0.1f * Wave(t, 1.0f);
            return p;
        }),
        Sequence("Swimming", 12, 14, [=](float t) { return swim(t, 0.45f); }),
        Sequence("bite1", 10, 14, [=](float t) { return bite(t, 8.0f, 0.0f); }),
        Sequence("bite2", 10, 14, [=](float t) { return bite(t, 6.0f, 0.5f); }),
        Sequence("bite3", 10, 14, [=](float t) { return bite(t, 10.0f, -0.5f); }),
        Sequence("fighter", 12, 16, [=](float t) {
            Pose p = bite(t, 5.0f, 0.0f);
            p.Root.Roll = 0.6f * Wave(t, 2.0f);
            p.Bones[tail].Yaw = 0.7f * Wave(t, 2.0f);
            return p;
        }),
        Sequence("Dead1", 16, 10, [=](float t) {
            // Rolls belly up and drifts.
            Pose p = swim(t, 0.3f * (1.0f - t));
            p.Root.Roll = 3.1f * EaseInOut(t / 0.7f);
            p.Bones[jaw].Pitch = -0.4f * EaseInOut(t);
            return p;
        }),
    };
    d.Notifies = {{"bite1", 0.55f, "HitDamageTarget"}, {"bite2", 0.55f, "HitDamageTarget"},
                  {"bite3", 0.55f, "HitDamageTarget"}, {"fighter", 0.5f, "HitDamageTarget"}};
    return d;
}

MeshDefinition MakeBird() {
    MeshDefinition d;
    d.Name = "Bird";
    d.Scale = {0.05f, 0.05f, 0.1f};
    MeshModel& m = d.Model;
    const int body = m.AddBone("body", -1, {0, 0, 0});
    m.AddEllipsoid(body, {0, 0, 0}, {9, 4.5f, 4.5f}, skin::kHide, 5, 8);
    m.AddEllipsoid(body, {9, 0, 2.5f}, {3.5f, 3, 3}, skin::kFace, 5, 8);
    m.AddCone(body, {11.5f, 0, 2}, {17, 0, 0.5f}, 1.2f, skin::kBone, 4);
    m.AddFan(body, {{-7, 0, 0}, {-18, -5, 1}, {-19, 0, 1}, {-18, 5, 1}}, {{0.1f, 0.5f}, {1.0f, 0.0f}, {1.0f, 0.5f}, {1.0f, 1.0f}},
             skin::kMembrane);
    int wings[2][2];
    for (int s = 0; s < 2; ++s) {
        const float y = s ? 1.0f : -1.0f;
        wings[s][0] = m.AddBone(s ? "rwing" : "lwing", body, {1, y * 3.5f, 1.5f});
        wings[s][1] = m.AddBone(s ? "rwingtip" : "lwingtip", wings[s][0], {-1, y * 11, 0});
        m.AddFan(wings[s][0], {{0, 0, 0}, {4, y * 1, 0}, {2, y * 11, 0}, {-6, y * 11, 0}, {-5, 0, 0}},
                 {{0.0f, 0.5f}, {0.0f, 0.0f}, {0.5f, 0.0f}, {0.5f, 1.0f}, {0.0f, 1.0f}}, skin::kMembrane);
        m.AddFan(wings[s][1], {{0, 0, 0}, {3, 0, 0}, {-6, y * 13, 0}, {-6, 0, 0}},
                 {{0.5f, 0.3f}, {0.5f, 0.0f}, {1.0f, 0.5f}, {0.5f, 1.0f}}, skin::kMembrane);
    }
    d.Skins = {"UnrealShare.Skins.JBird1"};
    d.SkinImages = {PaintCreatureSkin({HexRgb(0x6A5030), HexRgb(0x2A1A10), HexRgb(0xD0B890), HexRgb(0x6A5030),
                                       HexRgb(0x6A5030), HexRgb(0xE0A020), HexRgb(0x202020), HexRgb(0x8A6A40), 0.3f,
                                       0.0f, true},
                                      "Bird skin")};
    const Pose rest = m.RestPose();
    auto flap = [=](float t) {
        Pose p = rest;
        for (int s = 0; s < 2; ++s) {
            const float side = s ? 1.0f : -1.0f;
            p.Bones[wings[s][0]].Roll = -side * 0.7f * Wave(t, 1.0f);
            p.Bones[wings[s][1]].Roll = -side * 0.5f * Wave(t, 1.0f, -0.1f);
        }
        p.RootOffset.Z = -1.5f * Wave(t, 1.0f);
        return p;
    };
    d.Sequences = {Sequence("Still", 1, 1, [=](float) { return flap(0.25f); }),
                   Sequence("Flight", 12, 16, [=](float t) { return flap(t); })};
    return d;
}

} // namespace orv
