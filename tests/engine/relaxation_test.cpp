// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/relaxation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/constants.h"
#include "engine/input_preparation.h"
#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

using test::PlaceNeighbour;
using test::SingleLorentzianModel;
using test::TableLines;

WorkingValues Prepared(const ModelTexts& model) {
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    EXPECT_EQ(run.stage, PreparedRun::Stage::Ready);
    return run.values;
}

void ExpectRelativelyNear(double actual, double expected, double relative) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * relative);
}

void ExpectSameTables(const ModelTexts& a, const ModelTexts& b) {
    for (const TableMode mode : {TableMode::Rates, TableMode::Times}) {
        const auto lines = TableLines(a, mode);
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines, TableLines(b, mode));
    }
}

// Hand-checkable systems with one Lorentzian, abundances 1 and Rex 0.
struct WorkedCase {
    const char* name;
    const char* central;
    const char* neighbour;
    const char* distance;
    const char* t0;
    const char* csa;
    float frequencyMHz;
    double r1, r2, crr, noe;
};

class WorkedValues : public ::testing::TestWithParam<WorkedCase> {};

TEST_P(WorkedValues, AgreeToThreeDigits) {
    const WorkedCase& c = GetParam();
    ModelTexts model = SingleLorentzianModel(c.central, c.t0);
    model.csa = c.csa;
    PlaceNeighbour(model, 0, c.neighbour, c.distance);
    const FieldResult result = RelaxationAtField(Prepared(model), ProtonOmega(c.frequencyMHz));
    ExpectRelativelyNear(result.r1, c.r1, 5e-3);
    ExpectRelativelyNear(result.r2, c.r2, 5e-3);
    ExpectRelativelyNear(result.crr, c.crr, 5e-3);
    ExpectRelativelyNear(NoeValue(result), c.noe, 5e-3);
}

INSTANTIATE_TEST_SUITE_P(Systems, WorkedValues,
                         ::testing::Values(WorkedCase{"CarbonProtonAt100", "13C", "1H", "1.09",
                                                      "1000", "0", 100, 16.0, 16.9, 6.20, 1.54},
                                           WorkedCase{"CarbonProtonAt800", "13C", "1H", "1.09",
                                                      "1000", "0", 800, 2.94, 6.01, 0.176, 0.238},
                                           WorkedCase{"ProtonLikeAt100", "1H", "Like", "1.8",
                                                      "1000", "0", 100, 11.4, 18.5, 2.22, 0.195},
                                           WorkedCase{"ProtonLikeAt800", "1H", "Like", "1.8",
                                                      "1000", "0", 800, 0.388, 8.06, -1.58, -4.06},
                                           WorkedCase{"NitrogenProtonWithCsaAt600", "15N", "1H",
                                                      "1.02", "5000", "-170", 600, 2.33, 8.26,
                                                      2.71e-2, -0.115}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DipolarKernels, SameNucleusEnteredByNameUsesTheUnlikeFormula) {
    ModelTexts model = SingleLorentzianModel("1H");
    PlaceNeighbour(model, 0, "1H", "1.8");
    const WorkingValues values = Prepared(model);
    const float wH = ProtonOmega(800.0f);
    const float w = LarmorOmega(wH, values.centralGamma);
    const double j0 = SpectralDensity(values.lorentzians, 0.0f);
    const double jw = SpectralDensity(values.lorentzians, w);
    const double j2w = SpectralDensity(values.lorentzians, 2.0f * w);
    const double d = values.neighbours[0].dipolar;

    const FieldResult unlike = RelaxationAtField(values, wH);
    ExpectRelativelyNear(unlike.r1, d / 10 * (j0 + 3 * jw + 6 * j2w), 1e-6);
    ExpectRelativelyNear(unlike.crr, d / 10 * (6 * j2w - j0), 1e-6);

    model.slots[0].nucleus = "Like";
    const FieldResult like = RelaxationAtField(Prepared(model), wH);
    ExpectRelativelyNear(like.r1, 3 * d / 10 * (jw + 4 * j2w), 1e-6);
    EXPECT_EQ(like.crr, unlike.crr) << "both ask the unlike cross-relaxation kernel";
}

TEST(Neighbours, EmptySlotChangesNothingWhateverItsLabels) {
    ModelTexts model = SingleLorentzianModel("13C");
    PlaceNeighbour(model, 1, "1H", "1.09");
    ModelTexts withEmpty = model;
    withEmpty.slots[3] = {"", "0", "abc"};
    withEmpty.slots[7] = {"", "-1", "0"};
    ExpectSameTables(model, withEmpty);
}

TEST(Neighbours, TwoHalfAbundantEqualOneFullyAbundant) {
    ModelTexts whole = SingleLorentzianModel("13C");
    PlaceNeighbour(whole, 0, "1H", "1.09");
    ModelTexts halves = SingleLorentzianModel("13C");
    PlaceNeighbour(halves, 2, "1H", "1.09", "0.5");
    PlaceNeighbour(halves, 6, "1H", "1.09", "0.5");
    ExpectSameTables(whole, halves);
}

TEST(Neighbours, CentralAbundanceCancelsOut) {
    ModelTexts model = DefaultModel();
    ModelTexts halfCentral = model;
    halfCentral.slots[kCentralSlot].abundance = "0.5";
    ExpectSameTables(model, halfCentral);
}

TEST(Neighbours, UnknownNucleusContributesNothing) {
    ModelTexts model = SingleLorentzianModel("13C");
    PlaceNeighbour(model, 1, "1H", "1.09");
    ModelTexts withUnknown = model;
    PlaceNeighbour(withUnknown, 0, "2H", "1.09");
    ExpectSameTables(model, withUnknown);
}

TEST(Neighbours, ObserverSeesEachPresentNeighbourWithItsFrequencies) {
    struct Seen {
        int slot;
        SlotKind kind;
        JFrequencies frequencies;
    };
    struct Recorder final : NeighbourObserver {
        void NeighbourEvaluated(int slot, SlotKind kind, const JFrequencies& f) override {
            seen.push_back({slot, kind, f});
        }
        std::vector<Seen> seen;
    } recorder;

    ModelTexts model = SingleLorentzianModel("15N");
    PlaceNeighbour(model, 5, "Like", "2.5");
    PlaceNeighbour(model, 2, "1H", "1.02");
    const float wH = ProtonOmega(600.0f);
    RelaxationAtField(Prepared(model), wH, &recorder);

    ASSERT_EQ(recorder.seen.size(), 2u);
    const Seen& proton = recorder.seen[0];
    const Seen& like = recorder.seen[1];
    EXPECT_EQ(proton.slot, 2);
    EXPECT_EQ(proton.kind, SlotKind::Unlike);
    EXPECT_EQ(like.slot, 5);
    EXPECT_EQ(like.kind, SlotKind::Like);

    // A negative central constant still gives positive Larmor frequencies.
    const float wI = proton.frequencies[1];
    EXPECT_GT(wI, 0.0f);
    EXPECT_NEAR(wI / wH, 2.7116 / 26.751, 1e-6);
    EXPECT_NEAR(proton.frequencies[3], wH, 1e-3);
    EXPECT_EQ(proton.frequencies[0], 0.0f);
    EXPECT_EQ(like.frequencies[2], 0.0f);
    EXPECT_EQ(like.frequencies[4], 2.0f * wI);
    EXPECT_EQ(like.frequencies[5], 2.0f * wI);
}

TEST(Neighbours, NitrogenCentreMakesTheNoeSumNegative) {
    ModelTexts model = SingleLorentzianModel("15N");
    PlaceNeighbour(model, 0, "1H", "1.02");
    const FieldResult result = RelaxationAtField(Prepared(model), ProtonOmega(100.0f));
    EXPECT_GT(result.crr, 0.0f);
    EXPECT_LT(result.noeSum, 0.0f);
}

TEST(NoNeighbour, OnlyCsaAndExchangeRemain) {
    ModelTexts model = DefaultModel();
    for (int j = 0; j < kNeighbourCount; ++j) model.slots[j].nucleus.clear();
    model.rex = "3";
    const WorkingValues values = Prepared(model);
    const double csa = 25e-6;
    for (const Field& field : kFieldTable) {
        SCOPED_TRACE(field.frequencyMHz);
        const float wH = ProtonOmega(field.frequencyMHz);
        const double wI = wH * 6.7263 / 26.751;
        const double j0 = SpectralDensity(values.lorentzians, 0.0f);
        const double jI = SpectralDensity(values.lorentzians, static_cast<float>(wI));
        const double csaTerm = wI * wI * 2.0 / 15.0 * csa * csa;
        const double rex = 3.0 * std::pow(field.frequencyMHz / 800.0, 2);

        const FieldResult result = RelaxationAtField(values, wH);
        ExpectRelativelyNear(result.r1, jI * csaTerm, 1e-5);
        ExpectRelativelyNear(result.r2, (3 * jI + 4 * j0) * csaTerm / 6 + rex, 1e-5);
        EXPECT_EQ(result.crr, 0.0f);
        EXPECT_EQ(result.noeSum, 0.0f);
        EXPECT_EQ(NoeValue(result), 0.0);
    }
}

TEST(NoNeighbour, WithoutCsaOnlyExchangeScaledBySquaredField) {
    ModelTexts model = SingleLorentzianModel("13C");
    const WorkingValues still = Prepared(model);
    model.rex = "3";
    const WorkingValues exchanging = Prepared(model);
    for (const float f : {100.0f, 400.0f, 800.0f}) {
        SCOPED_TRACE(f);
        const FieldResult none = RelaxationAtField(still, ProtonOmega(f));
        EXPECT_EQ(none.r1, 0.0f);
        EXPECT_EQ(none.r2, 0.0f);
        const FieldResult result = RelaxationAtField(exchanging, ProtonOmega(f));
        EXPECT_EQ(result.r1, 0.0f);
        ExpectRelativelyNear(result.r2, 3.0 * (f / 800.0) * (f / 800.0), 1e-5);
    }
}

TEST(SpectralDensity, LeavesOutLorentziansWithoutPositiveWeight) {
    Lorentzians one;
    one.weights = {1.0f, 0, 0, 0, 0, 0};
    one.times = {1000.0f, 0, 0, 0, 0, 0};
    Lorentzians padded = one;
    padded.weights = {1.0f, 0.0f, -0.5f, 0.0f, 0, 0};
    padded.times = {1000.0f, 0.0f, 300.0f, -5.0f, 0, 0};
    for (const float w : {0.0f, 100.0f, 628.3f, 5026.5f}) {
        EXPECT_EQ(SpectralDensity(padded, w), SpectralDensity(one, w)) << w;
    }
}

TEST(SpectralDensity, AtZeroIsTheWeightedMeanTime) {
    const WorkingValues values = Prepared(DefaultModel());
    EXPECT_NEAR(SpectralDensity(values.lorentzians, 0.0f), 0.25 * (7000 + 1750 + 437.5 + 109.37),
                1e-3);
}

TEST(SpectralDensity, ZeroWeightTimesDoNotReachTheTable) {
    ModelTexts model = SingleLorentzianModel("13C");
    PlaceNeighbour(model, 0, "1H", "1.09");
    ModelTexts odd = model;
    odd.times = {"1000", "0", "-5", "77", "-1e30", "1e30"};
    ExpectSameTables(model, odd);
}

TEST(Csa, SignDoesNotMatter) {
    ModelTexts model = SingleLorentzianModel("15N", "5000");
    PlaceNeighbour(model, 0, "1H", "1.02");
    model.csa = "-170";
    ModelTexts positive = model;
    positive.csa = "170";
    ExpectSameTables(model, positive);
}

TEST(Abundance, ZeroCentralAbundanceIsARunTimeError) {
    ModelTexts model = SingleLorentzianModel("13C");
    model.slots[kCentralSlot].abundance = "0";
    EXPECT_TRUE(test::FailureOf([&] { RelaxationAtField(Prepared(model), 600.0f); }));
    PlaceNeighbour(model, 0, "1H", "1.09");
    EXPECT_TRUE(test::FailureOf([&] { RelaxationAtField(Prepared(model), 600.0f); }));
}

TEST(Abundance, UnreadableCentralAbundanceFailsEvenWithoutNeighbours) {
    ModelTexts model = SingleLorentzianModel("13C");
    model.slots[kCentralSlot].abundance = "x";
    EXPECT_EQ(test::FailureOf([&] { RelaxationAtField(Prepared(model), 600.0f); }),
              FailureReason::NotNumeric);
}

// An amide nitrogen and its proton with signed Larmor frequencies, evaluated in double
// from the textbook terms: the zero-quantum density at wH - wN and the double-quantum
// one at wH + wN, both of signed frequencies.
struct SignedAmide {
    double r1;
    double r2;
    double noe;
};

SignedAmide SignedAmideAt(double wH) {
    const std::vector<std::pair<double, double>> lorentzians = {{0.8, 5000.0}, {0.2, 40.0}};
    const auto j = [&](double w) {
        double sum = 0.0;
        for (const auto& [c, t] : lorentzians) sum += c * t / (1.0 + std::pow(t * w * 1e-6, 2));
        return sum;
    };
    const double gN = *GammaOf("15N");
    const double gH = *GammaOf("1H");
    const double wN = wH * gN / kProtonGammaReference;  // negative
    const double wP = wH * gH / kProtonGammaReference;
    const double d = std::pow(gN * gH * kDipolarFactor, 2) / std::pow(1.02f, 6) * 1e-12;
    const double csa = wN * wN * (2.0 / 15.0) * std::pow(-172e-6, 2);
    const double zeroQuantum = j(wP - wN);
    const double doubleQuantum = j(wP + wN);
    const double r1 = d / 10.0 * (zeroQuantum + 3.0 * j(wN) + 6.0 * doubleQuantum) + csa * j(wN);
    const double r2 =
        d / 20.0 * (4.0 * j(0) + zeroQuantum + 3.0 * j(wN) + 6.0 * j(wP) + 6.0 * doubleQuantum) +
        csa / 6.0 * (4.0 * j(0) + 3.0 * j(wN));
    const double sigma = d / 10.0 * (6.0 * doubleQuantum - zeroQuantum);
    return {r1, r2, sigma / r1 * gH / gN};
}

TEST(PairFrequencies, SignedAmideMatchesTheSignedTerms) {
    ModelTexts model = SingleLorentzianModel("15N");
    PlaceNeighbour(model, 0, "1H", "1.02");
    model.weights = {"0.8", "0.2", "0", "0", "0", "0"};
    model.times = {"5000", "40", "0", "0", "0", "0"};
    model.csa = "-172";
    ModelTexts signedModel = model;
    signedModel.pairFrequencies = PairFrequencySigns::Signed;
    double largestShift = 0.0;
    for (const float megahertz : {100.0f, 500.0f, 800.0f, 1200.0f}) {
        const float wH = ProtonOmega(megahertz);
        const SignedAmide expected = SignedAmideAt(wH);
        const FieldResult result = RelaxationAtField(Prepared(signedModel), wH);
        ExpectRelativelyNear(result.r1, expected.r1, 1e-5);
        ExpectRelativelyNear(result.r2, expected.r2, 1e-5);
        ExpectRelativelyNear(NoeValue(result), expected.noe, 1e-5);
        const FieldResult magnitudes = RelaxationAtField(Prepared(model), wH);
        largestShift = std::max(largestShift, std::abs(magnitudes.r1 / expected.r1 - 1.0));
    }
    // The setting matters: magnitudes miss the signed terms by far more than rounding.
    EXPECT_GT(largestShift, 1e-3);
}

}  // namespace
}  // namespace veldorin
