// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/motion_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fit/model_free_motion.h"
#include "fit/residue_fit.h"

namespace veldorin {
namespace {

using enum MotionParameter;

FitSpinSystem Amide() {
    FitSpinSystem system = BackboneAmide();
    system.rexAt800 = 1.5;
    return system;
}

// Noise-free rows of every quantity at five fields, made by the motion itself.
std::vector<std::optional<Measurement>> RowsOf(const FitSpinSystem& system, const Motion& motion) {
    std::vector<std::optional<Measurement>> rows;
    for (double field : {400.0, 500.0, 600.0, 700.0, 900.0}) {
        for (Quantity quantity : {Quantity::R1, Quantity::R2, Quantity::Noe}) {
            Measurement m{field, quantity, 0.0, 0.0};
            m.value = CalculatedValue(system, MotionTerms(motion), m);
            m.error = 0.02 * std::abs(m.value);
            rows.push_back(m);
        }
    }
    return rows;
}

Motion MotionOf(MotionKind kind, std::initializer_list<std::pair<MotionParameter, double>> values) {
    Motion motion;
    motion.kind = kind;
    for (const auto& [parameter, value] : values) motion[parameter] = value;
    return motion;
}

// From a start a tenth away, every kind's freed parameters come back to 1e-6, Rex too.
TEST(MotionFit, RecoversTheFreedParametersOfEveryKind) {
    const struct {
        Motion truth;
        std::vector<MotionParameter> free;
    } rows[] = {
        {MotionOf(MotionKind::Rigid, {{TauM, 6.0}}), {TauM}},
        {MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.82}, {TauE, 40.0}}),
         {TauM, S2, TauE}},
        {MotionOf(MotionKind::ExtendedModelFree,
                  {{TauM, 6.0}, {S2Fast, 0.9}, {S2Slow, 0.8}, {TauS, 1.2}, {TauF, 0.0}}),
         {S2Fast, S2Slow, TauS}},
        {MotionOf(MotionKind::AxialDiffusionByTime,
                  {{TauM, 6.0}, {DiffusionRatio, 1.8}, {Theta, 30.0}, {S2, 1.0}, {TauE, 0.0}}),
         {TauM, Theta}},
    };
    const FitSpinSystem system = Amide();
    for (const auto& row : rows) {
        Motion start = row.truth;
        for (MotionParameter parameter : row.free) start[parameter] *= 0.9;
        FitSpinSystem off = system;
        off.rexAt800 = 2.0;
        const MotionFitResult fit =
            FitMotion(off, start, {row.free, true, false}, RowsOf(system, row.truth));
        const auto kind = static_cast<int>(row.truth.kind);
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << kind << ": " << fit.reason;
        for (MotionParameter parameter : row.free) {
            EXPECT_NEAR(fit.motion[parameter], row.truth[parameter], 1e-6 * row.truth[parameter])
                << kind << " " << static_cast<int>(parameter);
        }
        EXPECT_NEAR(fit.rex, 1.5, 1e-6) << kind;
        EXPECT_EQ(fit.DegreesOfFreedom(), 15 - static_cast<int>(row.free.size()) - 1);
    }
}

// The window's Fit from the boxes as a user leaves them, S2 at 1, te and Rex at 0 (all
// on their bounds), finds the motion and the exchange of the data.
TEST(MotionFit, LeavesTheBoundsTheBoxesStartOn) {
    const Motion truth = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.82}, {TauE, 40.0}});
    const FitSpinSystem system = Amide();
    FitSpinSystem boxes = system;
    boxes.rexAt800 = 0.0;
    const Motion start = MotionOf(MotionKind::ModelFree, {{TauM, 5.0}, {S2, 1.0}, {TauE, 0.0}});
    const MotionFitResult fit =
        FitMotion(boxes, start, {{TauM, S2, TauE}, true, false}, RowsOf(system, truth));
    ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.reason;
    for (MotionParameter parameter : {TauM, S2, TauE}) {
        EXPECT_NEAR(fit.motion[parameter], truth[parameter], 1e-6 * truth[parameter]);
    }
    EXPECT_NEAR(fit.rex, system.rexAt800, 1e-6);
}

// With S2 held at 1, te has no effect: undetermined and without an error, where tm keeps
// its own.
TEST(MotionFit, AParameterWithoutEffectHasNoError) {
    const Motion truth = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 1.0}, {TauE, 93.641}});
    const MotionFitResult fit =
        FitMotion(Amide(), truth, {{TauM, TauE}, false, false}, RowsOf(Amide(), truth));
    ASSERT_EQ(fit.flags.size(), 2U);
    EXPECT_EQ(fit.flags[0], ParameterFlag::None);
    EXPECT_EQ(fit.flags[1], ParameterFlag::Undetermined);
    EXPECT_GT(fit.errors[TauM], 0.0);
    EXPECT_TRUE(std::isnan(fit.errors[TauE]));
}

TEST(MotionFit, SaysWhenItCannotFit) {
    const Motion motion = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.8}, {TauE, 40.0}});
    const auto rows = RowsOf(Amide(), motion);
    EXPECT_EQ(FitMotion(Amide(), motion, {}, rows).reason, "no parameter is free");
    const std::vector<std::optional<Measurement>> two(rows.begin(), rows.begin() + 2);
    EXPECT_NE(
        FitMotion(Amide(), motion, {{TauM, S2}, false, false}, two).reason.find("cannot tell"),
        std::string::npos);
}

// The live fit starts every refit from the last result: at that minimum, where no step
// lowers chi2, the fit has converged, for any subset of the parameters freed.
TEST(MotionFit, ARefitFromItsOwnResultHasConverged) {
    const Motion truth = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.82}, {TauE, 40.0}});
    auto rows = RowsOf(Amide(), truth);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i]->value *= 1.0 + 0.03 * std::sin(i + 1.0);
    const std::vector<MotionParameter> choices[] = {{S2}, {S2, TauE}, {TauM, S2, TauE}};
    for (const auto& free : choices) {
        Motion motion = truth;
        for (int refit = 0; refit < 4; ++refit) {
            const MotionFitResult fit = FitMotion(Amide(), motion, {free, false, false}, rows);
            EXPECT_EQ(fit.status, FitResult::Status::Converged)
                << free.size() << " free, refit " << refit << ": " << fit.reason;
            motion = fit.motion;
        }
    }
}

// Each model of the family, applied as the window's motion, gives the rates the model
// gives: the kinds, the units (tm and ts in ps against ns) and the rigid tumbling of m9.
TEST(MotionFit, EveryModelOfTheFamilyAppliesAsTheSameMotion) {
    const FitSpinSystem system = Amide();
    for (int number = 0; number < kModelFreeModelCount; ++number) {
        ModelFit fit;
        fit.model = number;
        const ModelFreeModel& model = ModelFreeModelNumber(number);
        // As a fit leaves them: the model's own parameters found, the rest at rest.
        const ModelFreeValues found{{7000.0, 0.9, 0.8, 40.0, 25.0, 1500.0, 2.5, -160.0}};
        fit.values[ModelFreeParameter::Tm] = 7000.0;
        fit.values[ModelFreeParameter::Rex] = 0.0;
        fit.values[ModelFreeParameter::Csa] = -160.0;
        if (model.rigid) fit.values[ModelFreeParameter::S2s] = 1.0;
        for (ModelFreeParameter parameter : model.free) fit.values[parameter] = found[parameter];
        fit.free = model.free;
        const ModelAsMotion applied = MotionOfModel(fit);
        FitSpinSystem spins = system;
        spins.rexAt800 = applied.rex;
        spins.csaPpm = applied.csa;
        for (const auto& row : RowsOf(system, MotionOf(MotionKind::Rigid, {{TauM, 5.0}}))) {
            FitSpinSystem byModel = system;
            byModel.rexAt800 = fit.values[ModelFreeParameter::Rex];
            byModel.csaPpm = -160.0;
            const double expected =
                CalculatedValue(byModel, ModelFreeTerms(model, fit.values), *row);
            EXPECT_NEAR(CalculatedValue(spins, MotionTerms(applied.motion), *row), expected,
                        1e-12 * std::abs(expected))
                << "m" << number;
        }
        EXPECT_TRUE(Validate(applied.motion).empty()) << "m" << number;
        EXPECT_EQ(applied.choice.rex, std::ranges::count(model.free, ModelFreeParameter::Rex) == 1);
    }
}

// The Monte Carlo gives the same spread for the same seed, spreads like the covariance's
// errors, and stops when told to.
TEST(MotionFit, MonteCarloIsReproducibleAndStops) {
    const Motion truth = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.82}, {TauE, 40.0}});
    const FitSpinSystem system = Amide();
    const auto rows = RowsOf(system, truth);
    const MotionFitChoice choice{{TauM, S2}, true, false};
    const MotionFitResult fit = FitMotion(system, truth, choice, rows);
    const auto run = [&](std::uint64_t seed, int stopAt) {
        return MonteCarloOfMotion(system, fit, choice, rows, 200, seed,
                                  [stopAt](int done) { return done < stopAt; });
    };
    const MotionMonteCarlo first = run(7, 200);
    const MotionMonteCarlo again = run(7, 200);
    ASSERT_EQ(first.spread.size(), 3U);
    EXPECT_EQ(first.fitted, 200);
    EXPECT_FALSE(first.stopped);
    for (std::size_t p = 0; p < first.spread.size(); ++p) {
        EXPECT_EQ(first.spread[p].standardDeviation, again.spread[p].standardDeviation);
    }
    EXPECT_NE(run(8, 200).spread[0].standardDeviation, first.spread[0].standardDeviation);
    EXPECT_NEAR(first.spread[0].standardDeviation, fit.errors[TauM], 0.2 * fit.errors[TauM]);
    EXPECT_LT(first.spread[1].low, truth[S2]);
    EXPECT_GT(first.spread[1].high, truth[S2]);
    const MotionMonteCarlo stopped = run(7, 10);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.drawn, 10);
    EXPECT_EQ(stopped.fitted, 10);
}

}  // namespace
}  // namespace veldorin
