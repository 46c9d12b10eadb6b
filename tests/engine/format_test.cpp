// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/format.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

struct SingleCase {
    const char* name;
    float value;
    const char* text;
};

class FormatSingleText : public ::testing::TestWithParam<SingleCase> {};

TEST_P(FormatSingleText, IsExact) { EXPECT_EQ(FormatSingle(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Values, FormatSingleText,
    ::testing::Values(SingleCase{"Integer", 100.0f, "100"}, SingleCase{"Half", 0.5f, "0.5"},
                      SingleCase{"NegativeFraction", -0.25f, "-0.25"},
                      SingleCase{"TenMillionIsScientific", 1e7f, "1E+07"},
                      // 1e-5 as a single lies just below 1e-5: rounding to seven digits lifts it
                      // back to exponent -5, which is still fixed notation.
                      SingleCase{"ExponentMinusFiveIsFixed", 0.00001f, "0.00001"},
                      SingleCase{"ExponentMinusSixIsScientific", 0.000001f, "1E-06"},
                      SingleCase{"HundredthRoundsUpFromBelow", 0.01f, "0.01"},
                      SingleCase{"Third", 1.0f / 3.0f, "0.3333333"},
                      SingleCase{"SevenDigitsWithFraction", 123456.7f, "123456.7"},
                      SingleCase{"SevenDigitInteger", 1234567.0f, "1234567"},
                      SingleCase{"EightDigitIntegerRounds", 12345678.0f, "1.234568E+07"},
                      SingleCase{"RoundingReachesTenMillion", 9999999.5f, "1E+07"},
                      SingleCase{"NegativeScientific", -1.5e-6f, "-1.5E-06"},
                      SingleCase{"SmallFixed", 2.5e-4f, "0.00025"},
                      SingleCase{"LargeExponentTwoDigits", 1e38f, "1E+38"},
                      SingleCase{"LargestSingle", FLT_MAX, "3.402823E+38"},
                      SingleCase{"SmallestSubnormal", 1e-45f, "1.401298E-45"},
                      SingleCase{"CutWeight", 0.699f, "0.699"},
                      SingleCase{"TableRate", 6.2013f, "6.2013"}, SingleCase{"Zero", 0.0f, "0"},
                      SingleCase{"NegativeZero", -0.0f, "0"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DoubleCase {
    const char* name;
    double value;
    const char* text;
};

class FormatDoubleText : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(FormatDoubleText, IsExact) { EXPECT_EQ(FormatDouble(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Values, FormatDoubleText,
    ::testing::Values(DoubleCase{"Third", 1.0 / 3.0, "0.333333333333333"},
                      DoubleCase{"CutNoeHasNoNoise", 874.0 / 1000.0, "0.874"},
                      DoubleCase{"NegativeCutNoe", -115.0 / 1000.0, "-0.115"},
                      DoubleCase{"MoreThanSevenDigits", 12345678.9, "12345678.9"},
                      DoubleCase{"FifteenDigitInteger", 123456789012345.0, "123456789012345"},
                      DoubleCase{"SixteenDigitsIsScientific", 1e15, "1E+15"},
                      DoubleCase{"RoundingReachesSixteenDigits", 999999999999999.6, "1E+15"},
                      DoubleCase{"ExponentMinusFiveIsFixed", 1e-5, "0.00001"},
                      DoubleCase{"NegativeExponent", 2.5e-7, "2.5E-07"},
                      DoubleCase{"ThreeDigitExponent", 1e-300, "1E-300"},
                      DoubleCase{"LargeThreeDigitExponent", 1.5e300, "1.5E+300"},
                      DoubleCase{"Zero", 0.0, "0"}, DoubleCase{"NegativeZero", -0.0, "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatLocale, FullStopWhateverTheGlobalLocale) {
    const test::DecimalCommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(FormatSingle(0.5f), "0.5");
    EXPECT_EQ(FormatSingle(12345678.0f), "1.234568E+07");
    EXPECT_EQ(FormatDouble(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatDouble(-0.115), "-0.115");
}

}  // namespace
}  // namespace veldorin
