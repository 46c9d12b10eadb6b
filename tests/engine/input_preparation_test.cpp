// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/input_preparation.h"

#include <gtest/gtest.h>

#include "engine/constants.h"
#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

using Stage = PreparedRun::Stage;
using Texts = std::array<std::string, kLorentzianCount>;

struct WeightCase {
    const char* name;
    Texts typed;
    Texts shown;
};

class NormalisedWeightTexts : public ::testing::TestWithParam<WeightCase> {};

TEST_P(NormalisedWeightTexts, AreCutToThreeDecimals) {
    ModelTexts model = DefaultModel();
    model.weights = GetParam().typed;
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    ASSERT_EQ(run.stage, Stage::Ready);
    ASSERT_TRUE(run.weightTexts.has_value());
    EXPECT_EQ(*run.weightTexts, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Weights, NormalisedWeightTexts,
    ::testing::Values(
        WeightCase{"Halves", {"1", "1", "0", "0", "0", "0"}, {"0.5", "0.5", "0", "0", "0", "0"}},
        WeightCase{
            "Thirds", {"1", "1", "1", "0", "0", "0"}, {"0.333", "0.333", "0.333", "0", "0", "0"}},
        // 0.7 as a single lies just below 0.7, and the cut goes downwards.
        WeightCase{"SevenTenths",
                   {"0.7", "0.3", "0", "0", "0", "0"},
                   {"0.699", "0.3", "0", "0", "0", "0"}},
        WeightCase{"TwoThirdsNotRoundedUp",
                   {"2", "1", "0", "0", "0", "0"},
                   {"0.666", "0.333", "0", "0", "0", "0"}},
        WeightCase{"Quarters",
                   {"0.25", "0.25", "0.25", "0.25", "0", "0"},
                   {"0.25", "0.25", "0.25", "0.25", "0", "0"}},
        WeightCase{"NegativeWeightKeepsItsSign",
                   {"1", "-0.5", "0", "0", "0", "0"},
                   {"2", "-1", "0", "0", "0", "0"}},
        WeightCase{"TinyShareCutToZero",
                   {"1", "0.0004", "0", "0", "0", "0"},
                   {"0.999", "0", "0", "0", "0", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StageCase {
    const char* name;
    void (*edit)(ModelTexts&);
    Stage stage;
    std::optional<FailureReason> failure;
    bool weightTextsSet;
};

class PreparationStage : public ::testing::TestWithParam<StageCase> {};

TEST_P(PreparationStage, EndsWhereTheInputsAllow) {
    const StageCase& c = GetParam();
    ModelTexts model = DefaultModel();
    c.edit(model);
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    EXPECT_EQ(run.stage, c.stage);
    EXPECT_EQ(run.failure, c.failure);
    EXPECT_EQ(run.weightTexts.has_value(), c.weightTextsSet);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PreparationStage,
    ::testing::Values(
        StageCase{"CsaNotNumeric", [](ModelTexts& m) { m.csa = "abc"; }, Stage::InputsFailed,
                  FailureReason::NotNumeric, false},
        StageCase{"RexEmpty", [](ModelTexts& m) { m.rex = ""; }, Stage::InputsFailed,
                  FailureReason::NotNumeric, false},
        StageCase{"WeightTooLargeForSingle", [](ModelTexts& m) { m.weights[2] = "1e39"; },
                  Stage::InputsFailed, FailureReason::ConversionOverflow, false},
        StageCase{"TimeNotNumeric", [](ModelTexts& m) { m.times[5] = "x"; }, Stage::InputsFailed,
                  FailureReason::NotNumeric, false},
        StageCase{"WeightSumOverflows",
                  [](ModelTexts& m) { m.weights = {"3e38", "3e38", "0", "0", "0", "0"}; },
                  Stage::InputsFailed, FailureReason::Overflow, false},
        StageCase{"AllWeightsZero",
                  [](ModelTexts& m) { m.weights = {"0", "0", "0", "0", "0", "0"}; },
                  Stage::WeightsNotPositive, std::nullopt, false},
        StageCase{"NegativeWeightSum",
                  [](ModelTexts& m) { m.weights = {"-1", "0.5", "0", "0", "0", "0"}; },
                  Stage::WeightsNotPositive, std::nullopt, false},
        StageCase{"DistanceZero", [](ModelTexts& m) { m.slots[1].distance = "0.0"; },
                  Stage::SpinSystemFailed, FailureReason::DivisionByZero, true},
        StageCase{"DistanceNotNumeric", [](ModelTexts& m) { m.slots[2].distance = "abc"; },
                  Stage::SpinSystemFailed, FailureReason::NotNumeric, true},
        StageCase{"DistanceSoSmallTheConstantOverflows",
                  [](ModelTexts& m) { m.slots[1].distance = "1e-10"; }, Stage::SpinSystemFailed,
                  FailureReason::Overflow, true},
        StageCase{"UnknownNucleusAtDistanceZero",
                  [](ModelTexts& m) {
                      m.slots[0] = {"2H", "0", "1"};
                  },
                  Stage::SpinSystemFailed, FailureReason::InvalidOperation, true},
        StageCase{"EmptySlotLabelsAreNotRead",
                  [](ModelTexts& m) {
                      m.slots[5] = {"", "0.0", "abc"};
                  },
                  Stage::Ready, std::nullopt, true},
        StageCase{"AbundanceIsReadOnlyByTheTable",
                  [](ModelTexts& m) { m.slots[0].abundance = "abc"; }, Stage::Ready, std::nullopt,
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CentralGamma, UnknownCentralTextKeepsThePreviousRunsConstant) {
    InputPreparation preparation;
    ModelTexts model = test::SingleLorentzianModel("15N");
    test::PlaceNeighbour(model, 0, "Like", "1.8");
    preparation.Prepare(model);

    model.slots[kCentralSlot].nucleus = "N15";
    const PreparedRun run = preparation.Prepare(model);
    ASSERT_EQ(run.stage, Stage::Ready);
    EXPECT_EQ(run.values.centralGamma, -2.7116e-12f);
    EXPECT_EQ(run.values.neighbours[0].gamma, -2.7116e-12f);
}

TEST(CentralGamma, IsZeroBeforeAnyKnownCentralText) {
    InputPreparation preparation;
    ModelTexts model = test::SingleLorentzianModel("N15");
    EXPECT_EQ(preparation.Prepare(model).values.centralGamma, 0.0f);

    // The NOE sum divides by the central constant, so a neighbour ends the table.
    test::PlaceNeighbour(model, 0, "1H", "1.09");
    const PreparedRun run = preparation.Prepare(model);
    test::RecordingSink sink;
    EXPECT_TRUE(WriteResultsTable(run.values, TableMode::Rates, sink, nullptr).has_value());
    EXPECT_EQ(sink.lines.size(), 1u);
}

TEST(CentralGamma, RunsStoppedBeforeTheSpinSystemLeaveItAlone) {
    InputPreparation preparation;
    preparation.Prepare(test::SingleLorentzianModel("13C"));

    ModelTexts zeroWeights = test::SingleLorentzianModel("15N");
    zeroWeights.weights[0] = "0";
    EXPECT_EQ(preparation.Prepare(zeroWeights).stage, Stage::WeightsNotPositive);
    EXPECT_EQ(preparation.centralGamma(), 6.7263e-12f);

    ModelTexts badCsa = test::SingleLorentzianModel("15N");
    badCsa.csa = "?";
    EXPECT_EQ(preparation.Prepare(badCsa).stage, Stage::InputsFailed);
    EXPECT_EQ(preparation.centralGamma(), 6.7263e-12f);
}

TEST(NeighbourConstants, LikeTakesTheCentralConstant) {
    for (const char* central : {"1H", "13C", "15N"}) {
        SCOPED_TRACE(central);
        ModelTexts model = test::SingleLorentzianModel(central);
        test::PlaceNeighbour(model, 4, "Like", "2");
        InputPreparation preparation;
        const PreparedRun run = preparation.Prepare(model);
        EXPECT_EQ(run.values.neighbours[4].kind, SlotKind::Like);
        EXPECT_EQ(run.values.neighbours[4].gamma, *GammaOf(central));
    }
}

TEST(NeighbourConstants, DipolarConstantOfCarbonAndProton) {
    ModelTexts model = test::SingleLorentzianModel("13C");
    test::PlaceNeighbour(model, 0, "1H", "1.09");
    test::PlaceNeighbour(model, 1, "1H", "2.18");
    test::PlaceNeighbour(model, 2, "2H", "1.09");
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    ASSERT_EQ(run.stage, Stage::Ready);
    EXPECT_NEAR(run.values.neighbours[0].dipolar, 2.15e-2, 5e-5);
    EXPECT_NEAR(run.values.neighbours[1].dipolar * 64.0 / run.values.neighbours[0].dipolar, 1.0,
                1e-6);
    EXPECT_EQ(run.values.neighbours[2].kind, SlotKind::Unlike);
    EXPECT_EQ(run.values.neighbours[2].gamma, 0.0f);
    EXPECT_EQ(run.values.neighbours[2].dipolar, 0.0f);
}

TEST(RunFactors, CsaEntersSquaredAndRexIsGivenAt800MHz) {
    EXPECT_EQ(InputPreparation::CsaFactorOf(-170.0), InputPreparation::CsaFactorOf(170.0));
    EXPECT_NEAR(InputPreparation::CsaFactorOf(-25.0), 6.25e-10, 1e-16);
    const double w800 = ProtonOmega(800.0f);
    EXPECT_NEAR(InputPreparation::RexScaleOf(3.0) * w800 * w800, 3.0, 1e-5);
}

}  // namespace
}  // namespace veldorin
