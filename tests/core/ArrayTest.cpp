// The checked array: growth, removal order and the fatal message of a bad index.
#include "core/Array.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

TEST(Array, AddRemoveInsertKeepOrder) {
    Array<std::string> a;
    EXPECT_TRUE(a.IsEmpty());
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(a.Add("item" + std::to_string(i)), i);
    }
    a.RemoveAt(10);
    EXPECT_EQ(a.Num(), 99);
    EXPECT_EQ(a[10], "item11"); // later elements move up by one
    a.InsertAt(0, "front");
    a.InsertAt(a.Num(), "back");
    EXPECT_EQ(a[0], "front");
    EXPECT_EQ(a.Last(), "back");
    EXPECT_EQ(a.Num(), 101);
}

TEST(Array, BadIndexNamesTheCallersFileAndLine) {
    Array<int> a{1, 2, 3};
    const int expectedLine = __LINE__ + 1;
    const std::string message = test::CatchFatal([&] { (void)a[3]; });
    EXPECT_EQ(message, "Array index 3 out of bounds (count 3) at ArrayTest.cpp, line " + std::to_string(expectedLine));
    EXPECT_NE(test::CatchFatal([&] { (void)a[-1]; }).find("Array index -1 out of bounds"), std::string::npos);
    EXPECT_NE(test::CatchFatal([&] { a.RemoveAt(7); }).find("Array index 7"), std::string::npos);
    Array<int> empty;
    EXPECT_NE(test::CatchFatal([&] { (void)empty.Last(); }).find("Array index -1"), std::string::npos);
    EXPECT_EQ(test::CatchFatal([&] { a[2] = 9; }), "<no fatal error>");
    EXPECT_EQ(a[2], 9);
}

} // namespace
} // namespace orv
