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
    EXPECT_EQ(p.Get("keypos") + p.Get("KEYPOS(0)") + p.Get("KeyPos(1)"), "(X=2)(X=2)(X=3)");
    EXPECT_EQ(p.GetOr("Missing", "1") + p.Get("Missing"), "1");
    p.Append("Tag", "a");
    p.Append("Tag", "b");
    EXPECT_EQ(p.Num(), 4) << "appended pairs keep repeats";
    EXPECT_EQ(p.Get("tag"), "a") << "lookups see the first";
}

TEST(PropertyValues, VectorsRotatorsEnumerationsAndOtherSyntaxes) {
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
    // Numbers that are not finite floats, alone or as a component; words and finite numbers are not.
    for (const char* text : {"inf", " -INF", "NaN", "1e999", "(X=1,Y=-Infinity)"}) {
        EXPECT_TRUE(HasNonFiniteNumber(text)) << text;
    }
    EXPECT_FALSE(HasNonFiniteNumber("Inferno") || HasNonFiniteNumber("(X=3.4e38)"));

    // An enumeration takes its lower-case name or its number; anything else leaves the field.
    int32_t field = 1;
    const std::tuple<const char*, std::span<const char* const>, bool, int32_t> enums[] = {
        {"PHYS_Falling", kPhysicsNames, true, 2},   {"5", kPhysicsNames, true, 5},
        {"phys_hovering", kPhysicsNames, false, 5}, {"12", kPhysicsNames, false, 5},
        {"", kLightTypeNames, false, 5} /* value 0 has no name */, {"0", kLightTypeNames, true, 0},
        {"LE_Sunlight", kLightEffectNames, true, 19}};
    for (const auto& [text, names, taken, value] : enums) {
        EXPECT_EQ(ParseEnumValue(text, names, field), taken) << text;
        EXPECT_EQ(field, value) << text;
    }
}

TEST(BrushTransform, PlacesVerticesLikeTheActorRotation) {
    BrushTransform t;
    t.Location = {100, 0, 0};
    t.Rotation = {0, 16384, 0};
    t.PrePivot = {10, 0, 0};
    t.MainScale = {2, 1, 1};
    // (20 - 10) * 2 = 20 along +X, turned to +Y by the quarter yaw.
    EXPECT_LT(Length(BrushVertexToWorld(t, {20, 0, 0}) - Vector{100, 20, 0}), 1e-3f);
    const Rotator r{3000, -7000, 12000};
    t = {};
    t.Rotation = r;
    EXPECT_LT(Length(BrushVertexToWorld(t, {3, -4, 5}) - RotateVector({3, -4, 5}, r)), 1e-4f);
    t.PostScale = {1, -1, 1}; // a mirrored brush flips the normal's Y with it
    const Vector n = BrushNormalToWorld(t, {0, 0, 2});
    EXPECT_NEAR(Length(n), 1.0f, 1e-5);
    EXPECT_LT(Length(n - Normal(Scale3(RotateVector({0, 0, 1}, r), t.PostScale))), 1e-4f);
}

} // namespace
} // namespace orv
