// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/numeric_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

using test::FailureOf;

struct AcceptedCase {
    const char* name;
    const char* text;
    double value;
};

class AcceptedNumericText : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedNumericText, ReadsAsBothTypes) {
    const AcceptedCase& c = GetParam();
    EXPECT_TRUE(IsNumeric(c.text));
    EXPECT_EQ(ReadDouble(c.text), c.value);
    EXPECT_EQ(ReadSingle(c.text), static_cast<float>(c.value));
    EXPECT_EQ(PendingSingle::Of(c.text).value(), static_cast<float>(c.value));
    EXPECT_EQ(DoubleIn(c.text).value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedNumericText,
    ::testing::Values(
        AcceptedCase{"Integer", "1", 1.0}, AcceptedCase{"BlanksAround", " 1.5 ", 1.5},
        AcceptedCase{"TabsAround", "\t7\t", 7.0}, AcceptedCase{"PlusSign", "+2", 2.0},
        AcceptedCase{"MinusSign", "-3", -3.0}, AcceptedCase{"TrailingPoint", "1.", 1.0},
        AcceptedCase{"LeadingPoint", ".5", 0.5}, AcceptedCase{"Exponent", "1e3", 1000.0},
        AcceptedCase{"UpperExponentNegative", "2.5E-4", 2.5e-4},
        AcceptedCase{"ExponentWithPlus", "1e+5", 1e5},
        AcceptedCase{"SignedMantissaAndExponent", "-0.125e1", -1.25},
        AcceptedCase{"LeadingZeros", "007", 7.0}, AcceptedCase{"PointThenExponent", "1.e2", 100.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    const char* text;
};

class RefusedNumericText : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedNumericText, IsNotNumericAndDoesNotConvert) {
    const char* text = GetParam().text;
    EXPECT_FALSE(IsNumeric(text));
    EXPECT_EQ(FailureOf([&] { ReadDouble(text); }), FailureReason::NotNumeric);
    EXPECT_EQ(FailureOf([&] { ReadSingle(text); }), FailureReason::NotNumeric);
    EXPECT_FALSE(DoubleIn(text).value);
    EXPECT_EQ(Refusal(SingleIn(text).failure), "is not a number");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedNumericText,
    ::testing::Values(
        RefusedCase{"Empty", ""}, RefusedCase{"Blank", " "}, RefusedCase{"LonePlus", "+"},
        RefusedCase{"LoneMinus", "-"}, RefusedCase{"LonePoint", "."},
        RefusedCase{"TwoPoints", "1.2.3"}, RefusedCase{"ExponentWithoutDigits", "1e"},
        RefusedCase{"ExponentSignWithoutDigits", "1e+"},
        RefusedCase{"ExponentWithoutMantissa", "e3"}, RefusedCase{"PointAndExponentOnly", ".e3"},
        RefusedCase{"FractionalExponent", "1e5.5"}, RefusedCase{"DecimalComma", "1,5"},
        RefusedCase{"Letters", "abc"}, RefusedCase{"BlankInside", "1 2"},
        RefusedCase{"Hexadecimal", "0x10"}, RefusedCase{"PlusThenMinus", "+-1"},
        RefusedCase{"MinusThenPlus", "-+1"}, RefusedCase{"TwoMinus", "--1"},
        RefusedCase{"TrailingSign", "1-"}, RefusedCase{"BlankAfterSign", "- 1"},
        RefusedCase{"Infinity", "inf"}, RefusedCase{"NotANumber", "nan"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumericRange, ValuesBeyondTheTypeAreConversionOverflow) {
    EXPECT_EQ(FailureOf([] { ReadSingle("1e39"); }), FailureReason::ConversionOverflow);
    EXPECT_EQ(FailureOf([] { ReadSingle("-1e39"); }), FailureReason::ConversionOverflow);
    EXPECT_EQ(FailureOf([] { ReadSingle("100000000000000000000000000000000000000000"); }),
              FailureReason::ConversionOverflow);
    EXPECT_EQ(FailureOf([] { ReadDouble("1e400"); }), FailureReason::ConversionOverflow);
    EXPECT_EQ(ReadDouble("1e39"), 1e39);
    const PendingSingle pending = PendingSingle::Of("1e39");
    EXPECT_EQ(FailureOf([&] { pending.value(); }), FailureReason::ConversionOverflow);
    EXPECT_EQ(Refusal(SingleIn("1e39").failure), "is too large");
}

TEST(WholeNumber, TakesDigitsAloneWithinTheType) {
    EXPECT_EQ(WholeNumberIn<int>("-12"), -12);
    for (const char* text : {"", "+1", " 1", "1 ", "1.0", "1e3", "99999999999"}) {
        EXPECT_FALSE(WholeNumberIn<int>(text)) << text;
    }
}

TEST(NumericRange, LargestSingleStillReads) {
    EXPECT_EQ(ReadSingle("3.4028235e38"), FLT_MAX);
    EXPECT_EQ(ReadSingle("-3.4028235e38"), -FLT_MAX);
}

TEST(NumericRange, ValuesTooSmallBecomeZero) {
    EXPECT_EQ(ReadSingle("1e-50"), 0.0f);
    EXPECT_TRUE(std::signbit(ReadSingle("-1e-50")));
    EXPECT_EQ(ReadSingle("0.00000000000000000000000000000000000000000000000000001"), 0.0f);
    EXPECT_EQ(ReadDouble("1e-400"), 0.0);
    EXPECT_EQ(ReadDouble("1e-50"), 1e-50);
    EXPECT_EQ(ReadSingle("0e999"), 0.0f) << "a zero mantissa is no overflow";
}

TEST(PendingSingle, ConversionFailureCountsOnlyWhenTheValueIsUsed) {
    const PendingSingle bad = PendingSingle::Of("abc");
    EXPECT_EQ(FailureOf([&] { bad.value(); }), FailureReason::NotNumeric);
    EXPECT_EQ(PendingSingle().value(), 0.0f);
}

TEST(NumericLocale, RuleIgnoresTheGlobalLocale) {
    const test::DecimalCommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_TRUE(IsNumeric("1.5"));
    EXPECT_FALSE(IsNumeric("1,5"));
    EXPECT_EQ(ReadDouble(" 1.5 "), 1.5);
    EXPECT_EQ(ReadSingle("2.5E-4"), 2.5e-4f);
}

}  // namespace
}  // namespace veldorin
