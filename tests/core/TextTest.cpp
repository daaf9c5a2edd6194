// Case-blind text, line helpers and the decimal readers and writer.
#include "core/Text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <utility>

namespace orv {
namespace {

TEST(Text, CaseBlindSearchesClearOnlyBit5) {
    EXPECT_TRUE(SameText("LevelInfo", "LEVELINFO"));
    EXPECT_TRUE(SameText("[x]", "{X}")); // '[' and '{' differ only in bit 0x20
    EXPECT_FALSE(SameText("a1", "a2") || SameText("abc", "abcd"));
    EXPECT_EQ(FindText("Begin Actor Class=Light", "class="), 12u);
    EXPECT_EQ(FindText("abc", "abcd"), std::string_view::npos);
    EXPECT_TRUE(LessTextNoCase("apple", "Banana") && LessTextNoCase("Zelkor", "zelkor2"));

    const std::string_view line = "Begin Actor Class=PlayerStart Name=PlayerStart0";
    EXPECT_EQ(TextAfter(line, "name="), "PlayerStart0");
    EXPECT_EQ(TextBetween(line, "CLASS=", " \t"), "PlayerStart");
    EXPECT_EQ(TextBetween(line, "Name=", " "), "PlayerStart0"); // no delimiter: to the end
    EXPECT_EQ(TextBetween(line, "Tag=", " "), "");

    Vector v;
    auto vectorLine = [&v](std::string_view text) { return std::pair(ParseVectorLine(text, v), v); };
    EXPECT_EQ(vectorLine("\t\t\tVertex   +00128.000000,-00064.500000,+00000.250000\t"),
              std::pair(3, Vector{128, -64.5f, 0.25f}));
    EXPECT_EQ(vectorLine("Normal\t0 , 1 ,  -1"), std::pair(3, Vector{0, 1, -1})); // a tab after the keyword is a space
    EXPECT_EQ(vectorLine("Origin 5,6"), std::pair(2, Vector{5, 6, 0}));
    EXPECT_EQ(vectorLine("Origin").first, 0);
}

TEST(Text, NumbersReadTheLongestPrefixClampedAndWriteSevenDigits) {
    // "3e": an exponent without digits is not part of the number.
    const std::pair<const char*, float> floats[] = {
        {"1.5e2xyz", 150.0f}, {"  -.25", -0.25f}, {"+00128.000000", 128.0f}, {"3e", 3.0f}, {"7.e+1", 70.0f}, {"", 0.0f},
        {"abc", 0.0f}, {"-", 0.0f}, {".", 0.0f}, {"1e999", FLT_MAX}, {"-1e999", -FLT_MAX}, {"1e-999", 0.0f}};
    for (const auto& [text, value] : floats) {
        EXPECT_EQ(ParseFloat(text), value) << '"' << text << '"';
    }
    const std::pair<const char*, int32_t> ints[] = {{"42abc", 42}, {"-17.9", -17}, {"+5", 5}, {"", 0}, {"x1", 0},
                                                    {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    for (const auto& [text, value] : ints) {
        EXPECT_EQ(ParseInt(text), value) << '"' << text << '"';
    }
    EXPECT_EQ(ParseByte("-212"), 44); // the integer's low byte
    // "true" in any case, or a number other than zero; "yes" is neither.
    const std::pair<const char*, bool> bools[] = {{"TRUE", true}, {"true", true}, {"2", true}, {"0.5", true},
                                                  {"False", false}, {"", false}, {"0", false}, {"yes", false}};
    for (const auto& [text, value] : bools) {
        EXPECT_EQ(ParseBool(text), value) << '"' << text << '"';
    }
    // The writer: seven significant digits, and an exact form that reads back to the same float.
    EXPECT_EQ(FormatFloat(1.0), "1");
    EXPECT_EQ(FormatFloat(0.1f), "0.1");
    EXPECT_EQ(FormatFloat(12345678.0), "1.234568e+07");
    EXPECT_EQ(FormatFloat(-0.0001234), "-0.0001234");
    const float tricky = 0.1f + 0.2f;
    EXPECT_EQ(ParseFloat(FormatFloatExact(tricky)), tricky);
}

} // namespace
} // namespace orv
