// Property lists and value syntaxes, and the brush transform.
#include "content/BrushTransform.h"
#include "content/PropertyList.h"
#include "content/PropertyValues.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PropertyList, IndexZeroIsTheBareKeyAndLookupsAreCaseBlind) {
    PropertyList p;
    p.Set("KeyPos", "(X=1)");
    p.Set("KeyPos(0)", "(X=2)"); // the same key: replaced in place
    p.Set("KeyPos(1)", "(X=3)");
    EXPECT_EQ(p.Num(), 2);
    EXPECT_EQ(p.Get("keypos"), "(X=2)");
    EXPECT_EQ(p.Get("KEYPOS(0)"), "(X=2)");
    EXPECT_EQ(p.Get("KeyPos(1)"), "(X=3)");
    p.Set("DrawScale", "");
    EXPECT_EQ(p.GetOr("DrawScale", "1"), ""); // present but empty is not the fallback
    EXPECT_EQ(p.GetOr("Missing", "1"), "1");
    EXPECT_EQ(p.Get("Missing"), "");
    p.Append("Tag", "a");
    p.Append("Tag", "b"); // appended pairs keep repeats; lookups see the first
    EXPECT_EQ(p.Get("tag"), "a");
}

TEST(PropertyValues, VectorsRotatorsAndOtherSyntaxes) {
    EXPECT_EQ(ParseVectorValue("(X=1.5,Y=-2,Z=3)"), (Vector{1.5f, -2, 3}));
    EXPECT_EQ(ParseVectorValue("(z=7, x=1)"), (Vector{1, 0, 7}));
    EXPECT_EQ(ParseVectorValue(""), Vector{});
    EXPECT_EQ(ParseVectorValue("(Q=5)"), Vector{});
    EXPECT_EQ(ParseVectorOrCurrent("(Scale=(X=2,Y=3,Z=4),SheerAxis=SHEER_ZX)", {9, 9, 9}), (Vector{2, 3, 4}));
    EXPECT_EQ(ParseVectorOrCurrent("(Y=5)", {1, 2, 3}), (Vector{1, 5, 3}));
    EXPECT_EQ(ParseVectorOrCurrent("", {1, 2, 3}), (Vector{1, 2, 3}));
    EXPECT_EQ(ParseRotatorValue("(Pitch=16384,Yaw=-100,Roll=7)"), (Rotator{16384, -100, 7}));
    EXPECT_EQ(ParseRotatorValue("(Yaw=32768)"), (Rotator{0, 32768, 0}));
    EXPECT_EQ(ParseStateValue("\"TriggerToggle\""), "TriggerToggle");
    EXPECT_EQ(ParseStateValue("\""), "\"");
    EXPECT_EQ(ParseClassRefValue("Class'UnrealShare.SkaarjProjectile'"), "SkaarjProjectile");
    EXPECT_EQ(ParseClassRefValue("Brute"), "Brute");
}

TEST(PropertyValues, EnumerationsByNameOrNumber) {
    int32_t physics = 1;
    EXPECT_TRUE(ParseEnumValue("PHYS_Falling", kPhysicsNames, physics));
    EXPECT_EQ(physics, 2);
    EXPECT_TRUE(ParseEnumValue("5", kPhysicsNames, physics));
    EXPECT_EQ(physics, 5);
    EXPECT_FALSE(ParseEnumValue("phys_hovering", kPhysicsNames, physics));
    EXPECT_FALSE(ParseEnumValue("12", kPhysicsNames, physics));
    EXPECT_EQ(physics, 5); // unknown text leaves the field alone
    int32_t lightType = 3;
    EXPECT_FALSE(ParseEnumValue("", kLightTypeNames, lightType)); // value 0 has no name
    EXPECT_TRUE(ParseEnumValue("0", kLightTypeNames, lightType));
    EXPECT_EQ(lightType, 0);
    int32_t effect = 0;
    EXPECT_TRUE(ParseEnumValue("LE_Sunlight", kLightEffectNames, effect));
    EXPECT_EQ(effect, 19);
}

TEST(BrushTransform, PlacesVerticesLikeTheActorRotation) {
    BrushTransform t;
    t.Location = {100, 0, 0};
    t.Rotation = {0, 16384, 0};
    t.PrePivot = {10, 0, 0};
    t.MainScale = {2, 1, 1};
    const Vector w = BrushVertexToWorld(t, {20, 0, 0}); // (20-10)*2 = 20 along +X, turned to +Y
    EXPECT_NEAR(w.X, 100, 1e-3);
    EXPECT_NEAR(w.Y, 20, 1e-3);
    EXPECT_NEAR(w.Z, 0, 1e-3);
    const Rotator r{3000, -7000, 12000};
    t = {};
    t.Rotation = r;
    const Vector v{3, -4, 5};
    const Vector a = BrushVertexToWorld(t, v), b = RotateVector(v, r);
    EXPECT_NEAR(a.X, b.X, 1e-4);
    EXPECT_NEAR(a.Y, b.Y, 1e-4);
    EXPECT_NEAR(a.Z, b.Z, 1e-4);
    t.PostScale = {1, -1, 1}; // a mirrored brush flips the normal's Y with it
    const Vector n = BrushNormalToWorld(t, {0, 0, 2});
    EXPECT_NEAR(Length(n), 1.0f, 1e-5);
}

} // namespace
} // namespace orv
