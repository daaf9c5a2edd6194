// Pickup meshes: the health box, the Nali fruit and the dispersion pistol (lying in the world,
// and as the player would hold it), each with a painted skin.
#include "CreatureKit.h"
#include "Creatures.h"
#include "Noise.h"
#include "Paint.h"

#include <cmath>

namespace orv {
namespace {

constexpr SkinRect kTop{0, 0, 127, 127};
constexpr SkinRect kSide{128, 0, 255, 127};
constexpr SkinRect kMetal{0, 128, 127, 255};
constexpr SkinRect kAccent{128, 128, 255, 255};

void Paint(Image& image, const SkinRect& r, const std::function<Rgba(float, float)>& shade) {
    for (int y = r.V0; y <= r.V1; ++y) {
        for (int x = r.U0; x <= r.U1; ++x) {
            image.At(x, y) = PackRgba(shade((x - r.U0 + 0.5f) / (r.U1 - r.U0 + 1), (y - r.V0 + 0.5f) / (r.V1 - r.V0 + 1)));
        }
    }
}

Rgba CrossPanel(float u, float v, const Rgba& panel, const Rgba& cross) {
    const bool inCross = (std::fabs(u - 0.5f) < 0.12f && std::fabs(v - 0.5f) < 0.34f) ||
                         (std::fabs(v - 0.5f) < 0.12f && std::fabs(u - 0.5f) < 0.34f);
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    return ScaleRgb(inCross ? cross : panel, 0.75f + 0.25f * SmoothStep(0.0f, 0.08f, edge));
}

Image MedBoxSkin(const Rgba& panel, const Rgba& cross) {
    Image image(256, 256);
    const uint32_t seed = static_cast<uint32_t>(NameSeed("medbox"));
    Paint(image, kTop, [&](float u, float v) { return CrossPanel(u, v, panel, cross); });
    Paint(image, kSide, [&](float u, float v) { return CrossPanel(u, v, panel, cross); });
    Paint(image, kMetal, [&](float u, float v) { return ScaleRgb(HexRgb(0x8A9098), 0.8f + 0.3f * FractalNoise(u, v, 8, 3, seed)); });
    Paint(image, kAccent, [&](float u, float v) { return MixRgba(HexRgb(0x60C0FF), HexRgb(0xFFFFFF), Clamp01(1.0f - std::hypot(u - 0.5f, v - 0.5f) * 2.0f)); });
    return image;
}

Pose Rest(const MeshModel& m) { return m.RestPose(); }

} // namespace

MeshDefinition MakeMedBox() {
    MeshDefinition d;
    d.Name = "MedBox";
    d.Scale = {0.05f, 0.05f, 0.1f};
    MeshModel& m = d.Model;
    const int root = m.AddBone("box", -1, {0, 0, 0});
    m.AddBox(root, {0, 0, -2}, {12, 8, 6}, kSide);
    m.AddBox(root, {0, 0, 4.2f}, {12.4f, 8.4f, 0.4f}, kTop);
    m.AddLimb(root, {-5, 0, 4.5f}, {5, 0, 4.5f}, 1.3f, 1.3f, kMetal, 6);
    d.Skins = {"UnrealShare.Skins.JMedBox1"};
    d.SkinImages = {MedBoxSkin(HexRgb(0xE8E8E0), HexRgb(0xD02020))};
    const Pose rest = Rest(m);
    d.Sequences = {Sequence("Still", 1, 1, [=](float) { return rest; })};
    return d;
}

Image MakeSuperHealthSkin() { return MedBoxSkin(HexRgb(0xE8C860), HexRgb(0x2060E0)); }

MeshDefinition MakeNaliFruit() {
    MeshDefinition d;
    d.Name = "NaliFruitM";
    d.Scale = {0.05f, 0.05f, 0.1f};
    MeshModel& m = d.Model;
    const int stem = m.AddBone("stem", -1, {0, 0, 0});
    m.AddLimb(stem, {0, 0, -10}, {0, 0, 6}, 1.2f, 0.8f, kMetal, 5);
    // Three swollen pods around the stem and two broad leaves.
    for (int i = 0; i < 3; ++i) {
        const float a = i * 2.094f;
        m.AddEllipsoid(stem, {std::cos(a) * 4.5f, std::sin(a) * 4.5f, -2 + i * 1.5f}, {4.5f, 4.5f, 5.5f}, kTop, 6, 8);
    }
    for (const float side : {-1.0f, 1.0f}) {
        m.AddFan(stem, {{0, 0, 5}, {side * 4, -3, 9}, {side * 12, 0, 11}, {side * 4, 3, 9}},
                 {{0.0f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}, {0.5f, 1.0f}}, kSide);
    }
    d.Skins = {"UnrealShare.Skins.JNaliFruit1"};
    Image skin(256, 256);
    const uint32_t seed = static_cast<uint32_t>(NameSeed("nalifruit"));
    Paint(skin, kTop, [&](float u, float v) {
        const Rgba c = MixRgba(HexRgb(0x60B030), HexRgb(0xE0D040), FractalNoise(u, v, 4, 4, seed));
        return ScaleRgb(c, 1.2f - 0.5f * v);
    });
    Paint(skin, kSide, [&](float u, float v) {
        const float vein = std::fabs(v - 0.5f) < 0.03f ? 0.7f : 1.0f;
        return ScaleRgb(HexRgb(0x2A7A20), vein * (0.8f + 0.3f * FractalNoise(u, v, 4, 3, seed + 1)));
    });
    Paint(skin, kMetal, [&](float, float v) { return ScaleRgb(HexRgb(0x5A4020), 1.0f - 0.3f * v); });
    Paint(skin, kAccent, [](float, float) { return HexRgb(0x000000); });
    d.SkinImages = {skin};
    const Pose rest = Rest(m);
    d.Sequences = {Sequence("Still", 1, 1, [=](float) { return rest; })};
    return d;
}

namespace {

// The dispersion pistol along +X: grip, body, a barrel with an energy coil and a glowing gem.
void AddPistol(MeshModel& m, int bone, float s) {
    m.AddBox(bone, Vector{-3, 0, -5} * s, Vector{2.2f, 1.6f, 4.5f} * s, kMetal, EulerRotation(-0.3f, 0, 0));
    m.AddBox(bone, Vector{2, 0, 0.5f} * s, Vector{7, 2.2f, 2.4f} * s, kSide);
    m.AddLimb(bone, Vector{8, 0, 1} * s, Vector{17, 0, 1} * s, 1.4f * s, 1.2f * s, kMetal, 8);
    for (int i = 0; i < 3; ++i) {
        m.AddEllipsoid(bone, Vector{10.0f + i * 2.5f, 0, 1} * s, Vector{0.9f, 2.0f, 2.0f} * s, kTop, 4, 8);
    }
    m.AddEllipsoid(bone, Vector{2, 0, 3.6f} * s, Vector{2.2f, 1.4f, 1.4f} * s, kAccent, 4, 8);
}

Image PistolSkin() {
    Image skin(256, 256);
    const uint32_t seed = static_cast<uint32_t>(NameSeed("dpistol"));
    Paint(skin, kTop, [&](float u, float) { return MixRgba(HexRgb(0xC08020), HexRgb(0xFFE080), std::fabs(std::sin(u * 25.0f))); });
    Paint(skin, kSide, [&](float u, float v) {
        const float panel = std::fabs(v - 0.5f) < 0.06f ? 0.6f : 1.0f;
        return ScaleRgb(HexRgb(0x5A6A9A), panel * (0.85f + 0.3f * FractalNoise(u, v, 8, 3, seed)));
    });
    Paint(skin, kMetal, [&](float u, float v) { return ScaleRgb(HexRgb(0x4A4E56), 0.8f + 0.3f * FractalNoise(u, v, 8, 3, seed + 1)); });
    Paint(skin, kAccent, [&](float u, float v) {
        return MixRgba(HexRgb(0x6040FF), HexRgb(0xF0E8FF), Clamp01(1.0f - std::hypot(u - 0.5f, v - 0.5f) * 2.2f));
    });
    return skin;
}

} // namespace

MeshDefinition MakePistolPickup() {
    MeshDefinition d;
    d.Name = "DPistolPick";
    d.Scale = {0.05f, 0.05f, 0.1f};
    const int root = d.Model.AddBone("pistol", -1, {-6, 0, 0});
    AddPistol(d.Model, root, 1.3f);
    d.Skins = {"UnrealShare.Skins.JDPistol1"};
    d.SkinImages = {PistolSkin()};
    const Pose rest = Rest(d.Model);
    d.Sequences = {Sequence("Still", 1, 1, [=](float) { return rest; })};
    return d;
}

MeshDefinition MakePistolView() {
    MeshDefinition d;
    d.Name = "DPistolView";
    d.Scale = {0.05f, 0.05f, 0.1f};
    const int root = d.Model.AddBone("pistol", -1, {0, 0, 0});
    AddPistol(d.Model, root, 2.0f);
    d.Skins = {"UnrealShare.Skins.JDPistol1"};
    d.SkinImages = {PistolSkin()};
    const Pose rest = Rest(d.Model);
    d.Sequences = {Sequence("Still", 1, 1, [=](float) { return rest; }),
                   Sequence("Shoot", 6, 20, [=](float t) {
                       Pose p = rest;
                       p.Root.Pitch = -0.25f * Hump(t, 0.2f, 0.2f);
                       p.RootOffset.X = -4.0f * Hump(t, 0.2f, 0.3f);
                       return p;
                   })};
    return d;
}

} // namespace orv
