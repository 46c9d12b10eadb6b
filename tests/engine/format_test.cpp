#include "format.h"

#include <gtest/gtest.h>

namespace veldorin {
namespace {

TEST(FormatSingle, WritesShortestTextWithSevenDigits) {
    EXPECT_EQ(FormatSingle(100.0f), "100");
    EXPECT_EQ(FormatSingle(0.5f), "0.5");
    EXPECT_EQ(FormatSingle(-0.25f), "-0.25");
    EXPECT_EQ(FormatSingle(10000000.0f), "1E+07");
    EXPECT_EQ(FormatSingle(0.00001f), "0.00001");
    EXPECT_EQ(FormatSingle(0.000001f), "1E-06");
    EXPECT_EQ(FormatSingle(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(FormatSingle(0.0f), "0");
}

}  // namespace
}  // namespace veldorin
