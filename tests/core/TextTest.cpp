// Case-blind text, line helpers and the decimal readers and writer.
#include "core/Text.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace orv {
namespace {

TEST(Text, CaseBlindCompareClearsOnlyBit5) {
    EXPECT_TRUE(SameText("LevelInfo", "LEVELINFO"));
    EXPECT_TRUE(SameText("[x]", "{X}"));   // '[' and '{' differ only in bit 0x20
    EXPECT_FALSE(SameText("a1", "a2"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_EQ(FindText("Begin Actor Class=Light", "class="), 12u);
    EXPECT_EQ(FindText("abc", "abcd"), std::string_view::npos);
    EXPECT_TRUE(LessTextNoCase("apple", "Banana"));
    EXPECT_TRUE(LessTextNoCase("Zelkor", "zelkor2"));
}

TEST(Text, TextAfterAndBetween) {
    const std::string_view line = "Begin Actor Class=PlayerStart Name=PlayerStart0";
    EXPECT_EQ(TextAfter(line, "name="), "PlayerStart0");
    EXPECT_EQ(TextAfter(line, "Missing="), "");
    EXPECT_EQ(TextBetween(line, "CLASS=", " \t"), "PlayerStart");
    EXPECT_EQ(TextBetween(line, "Name=", " "), "PlayerStart0"); // no delimiter: to the end
    EXPECT_EQ(TextBetween(line, "Tag=", " "), "");
}

TEST(Text, ParseVectorLineReadsEditorNumbers) {
    Vector v;
    EXPECT_EQ(ParseVectorLine("\t\t\tVertex   +00128.000000,-00064.500000,+00000.250000\t", v), 3);
    EXPECT_EQ(v, (Vector{128.0f, -64.5f, 0.25f}));
    EXPECT_EQ(ParseVectorLine("Normal\t0 , 1 ,  -1", v), 3); // a tab after the keyword counts as a space
    EXPECT_EQ(v, (Vector{0, 1, -1}));
    EXPECT_EQ(ParseVectorLine("Origin 5,6", v), 2);
    EXPECT_EQ(v, (Vector{5, 6, 0}));
    EXPECT_EQ(ParseVectorLine("Origin", v), 0);
}

TEST(Text, NumberReadersTakeTheLongestPrefix) {
    EXPECT_FLOAT_EQ(ParseFloat("1.5e2xyz"), 150.0f);
    EXPECT_FLOAT_EQ(ParseFloat("  -.25"), -0.25f);
    EXPECT_FLOAT_EQ(ParseFloat("+00128.000000"), 128.0f);
    EXPECT_FLOAT_EQ(ParseFloat("3e"), 3.0f);   // an exponent without digits is not part of it
    EXPECT_FLOAT_EQ(ParseFloat("7.e+1"), 70.0f);
    EXPECT_EQ(ParseFloat(""), 0.0f);
    EXPECT_EQ(ParseFloat("abc"), 0.0f);
    EXPECT_EQ(ParseFloat("-"), 0.0f);
    EXPECT_EQ(ParseFloat("."), 0.0f);
    EXPECT_EQ(ParseFloat("1e999"), FLT_MAX);
    EXPECT_EQ(ParseFloat("-1e999"), -FLT_MAX);
    EXPECT_EQ(ParseFloat("1e-999"), 0.0f);
    EXPECT_EQ(ParseInt("42abc"), 42);
    EXPECT_EQ(ParseInt("-17.9"), -17);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("x1"), 0);
    EXPECT_EQ(ParseInt("99999999999"), INT32_MAX);
    EXPECT_EQ(ParseInt("-99999999999"), INT32_MIN);
    EXPECT_EQ(ParseByte("300"), 44);
    EXPECT_EQ(ParseByte("-1"), 255);
    EXPECT_EQ(ParseByte("255"), 255);
}

TEST(Text, BoolReader) {
    EXPECT_TRUE(ParseBool("TRUE"));
    EXPECT_TRUE(ParseBool("true"));
    EXPECT_FALSE(ParseBool("False"));
    EXPECT_FALSE(ParseBool(""));
    EXPECT_TRUE(ParseBool("2"));
    EXPECT_TRUE(ParseBool("0.5"));
    EXPECT_FALSE(ParseBool("0"));
    EXPECT_FALSE(ParseBool("yes")); // not a number
}

TEST(Text, FormatFloatUsesSevenSignificantDigits) {
    EXPECT_EQ(FormatFloat(1.0), "1");
    EXPECT_EQ(FormatFloat(0.1f), "0.1");
    EXPECT_EQ(FormatFloat(2.5), "2.5");
    EXPECT_EQ(FormatFloat(12345678.0), "1.234568e+07");
    EXPECT_EQ(FormatFloat(-0.0001234), "-0.0001234");
    const float tricky = 0.1f + 0.2f;
    EXPECT_EQ(ParseFloat(FormatFloatExact(tricky)), tricky);
}

} // namespace
} // namespace orv
