// The checked array: the fatal message of a bad index names the caller.
#include "core/Array.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

TEST(Array, BadIndexNamesTheCallersFileAndLine) {
    Array<int> a{1, 2, 3};
    const int callerLine = __LINE__ + 1; // the line of the a[3] just below
    const std::string message = test::CatchFatal([&] { (void)a[3]; });
    EXPECT_EQ(message, "Array index 3 out of bounds (count 3) at ArrayTest.cpp, line " + std::to_string(callerLine));
    EXPECT_NE(test::CatchFatal([&] { (void)a[-1]; }).find("Array index -1 out of bounds"), std::string::npos);
    EXPECT_NE(test::CatchFatal([&] { a.RemoveAt(7); }).find("Array index 7"), std::string::npos);
    EXPECT_NE(test::CatchFatal([&] { a.InsertAt(4, 0); }).find("Array index 4"), std::string::npos);
    Array<int> empty;
    EXPECT_NE(test::CatchFatal([&] { (void)empty.Last(); }).find("Array index -1"), std::string::npos);
    a.InsertAt(3, 4); // one past the end appends
    EXPECT_EQ(a.Std(), (std::vector<int>{1, 2, 3, 4}));
}

} // namespace
} // namespace orv
