// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/relaxation.h"
#include "graph/curve_pass.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using namespace veldorin::graph_test;

// c = 1, t = 1000 ps: J(w) = 1000 / (1 + (w/1000)^2).
double J1000(double w) { return 1000.0 / (1.0 + std::pow(1000.0 * w * 1e-6, 2)); }

const double kFirstW = 9.0 * std::pow(1000.0, 0.02);

// R1 and R2 of the model's first grid point, by the engine's own evaluation.
FieldResult FirstPointRates() {
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(Model("13C", {"1H"}));
    return RelaxationAtField(run.values, FrequencyGrid(kWidth).front().value);
}

double RateY(double r) { return (1.0 - std::log(r + 1e-12) / 4.38) * kHeight * 0.7; }

struct ModeRow {
    const char* name;
    PlotMode mode;
    int segments;
    float firstX;
    std::function<double()> firstY;
    double lastY;  // negative: not checked
};

TEST(Curves, EveryModeDrawsFromItsFirstGridPointToTheRightEdge) {
    const ModeRow rows[] = {
        {"J", PlotMode::J, 49, kWidth / 50,
         [] { return (1.0 - std::log(J1000(kFirstW) / 10.0) / std::log(1000.0)) * kHeight; },
         (1.0 - std::log(J1000(9000.0) / 10.0) / std::log(1000.0)) * kHeight},
        {"F", PlotMode::F, 49, kWidth / 50,
         [] { return -std::log10(2e-6 * kFirstW * J1000(kFirstW)) / 2.0 * kHeight; },
         -std::log10(2e-6 * 9000.0 * J1000(9000.0)) / 2.0 * kHeight},
        {"C(t) from the top left corner, ending clamped", PlotMode::Ct, 50, 0.0f,
         [] { return 0.0; }, kHeight},
        {"R2 then R1", PlotMode::Rates, 98, kWidth / 50, [] { return RateY(FirstPointRates().r2); },
         -1.0},
        {"NOE", PlotMode::Noe, 49, kWidth / 50,
         [] { return (1.0 - (NoeValue(FirstPointRates()) + 5.5) / 8.0) * kHeight; }, -1.0},
    };
    for (const auto& row : rows) {
        const BothPhases run = RunBoth(Model("13C", {"1H"}), Settings(row.mode));
        EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed) << row.name;
        const auto segments = All<draw::LineInColour>(run.curves.commands);
        ASSERT_EQ(static_cast<int>(segments.size()), row.segments) << row.name;
        EXPECT_EQ(segments.front().x1, row.firstX) << row.name;
        EXPECT_NEAR(segments.front().y1, row.firstY(), 0.05) << row.name;
        EXPECT_EQ(segments.back().x2, kWidth) << row.name;
        if (row.lastY >= 0.0) {
            EXPECT_NEAR(segments.back().y2, row.lastY, 0.05) << row.name;
        }
        for (std::size_t i = 1; i < segments.size(); ++i) {
            const std::size_t previous = row.mode == PlotMode::Rates ? i - 2 : i - 1;
            if (row.mode == PlotMode::Rates && i < 2) continue;
            EXPECT_EQ(segments[i].x1, segments[previous].x2) << row.name << ' ' << i;
            EXPECT_EQ(segments[i].y1, segments[previous].y2) << row.name << ' ' << i;
        }
    }
}

TEST(Curves, AreDrawnTwoPixelsWideInThePassColoursBetweenRetainOnAndOff) {
    const BothPhases rates = RunBoth(Model("13C", {"1H"}), Settings(PlotMode::Rates));
    const auto& commands = rates.curves.commands;
    ASSERT_EQ(commands.size(), 98u + 3u);
    EXPECT_EQ(std::get<draw::SetLineWidth>(commands[0]).pixels, 2);
    EXPECT_TRUE(std::holds_alternative<draw::RetainOn>(commands[1]));
    EXPECT_TRUE(std::holds_alternative<draw::RetainOff>(commands.back()));
    const auto segments = All<draw::LineInColour>(commands);
    EXPECT_EQ(segments[0].colour, (Rgb{250, 0, 0}));
    EXPECT_EQ(segments[1].colour, (Rgb{138, 128, 255}));

    const BothPhases j = RunBoth(Model("13C", {"1H"}), Settings(PlotMode::J));
    EXPECT_EQ(All<draw::LineInColour>(j.curves.commands)[0].colour, (Rgb{240, 0, 0}));
}

TEST(Curves, CorrelationCurveSetsTheTimeCaptionAndFrequencyCurvesDoNot) {
    const BothPhases ct = RunBoth(Model("13C", {"1H"}), Settings(PlotMode::Ct));
    const auto captions = All<draw::SetAxisCaption>(ct.curves.commands);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0].text, "t , ps");
    const BothPhases f = RunBoth(Model("13C", {"1H"}), Settings(PlotMode::F));
    EXPECT_EQ(CountOf<draw::SetAxisCaption>(f.curves.commands), 0);
}

TEST(Curves, ValuesBeyondThePanelAreDrawnOnItsEdges) {
    // J(10.3) of a 1e5 ps Lorentzian is far above 10000 ps: the top edge.
    const BothPhases high = RunBoth(
        Model("13C", {"1H"}, {"1", "0", "0", "0", "0", "0"}, {"100000", "0", "0", "0", "0", "0"}),
        Settings(PlotMode::J));
    EXPECT_EQ(All<draw::LineInColour>(high.curves.commands).front().y1, 0.0f);
    // F of a 10 ps Lorentzian starts near 2e-4, far below 0.01: the bottom edge.
    const BothPhases low = RunBoth(
        Model("13C", {"1H"}, {"1", "0", "0", "0", "0", "0"}, {"10", "0", "0", "0", "0", "0"}),
        Settings(PlotMode::F));
    const auto segments = All<draw::LineInColour>(low.curves.commands);
    EXPECT_EQ(segments.front().y1, kHeight);
    EXPECT_LT(segments.back().y2, kHeight);
}

TEST(Curves, SpectralDensityCurveEndsAtTheFirstPointNotAboveTenPs) {
    // 10000 ps: J falls to 10 ps near w = 3160.
    const BothPhases partial = RunBoth(
        Model("13C", {"1H"}, {"1", "0", "0", "0", "0", "0"}, {"10000", "0", "0", "0", "0", "0"}),
        Settings(PlotMode::J));
    int firstLow = 0;
    const auto grid = FrequencyGrid(kWidth);
    while (10000.0 / (1.0 + std::pow(0.01 * grid[firstLow].value, 2)) > 10.0) ++firstLow;
    ASSERT_GT(firstLow, 1);
    const auto segments = All<draw::LineInColour>(partial.curves.commands);
    EXPECT_EQ(static_cast<int>(segments.size()), firstLow - 1);
    EXPECT_EQ(segments.back().x2, grid[firstLow - 1].x);
    EXPECT_EQ(partial.curves.outcome.status, RunOutcome::Status::Completed);

    const BothPhases none = RunBoth(
        Model("13C", {"1H"}, {"1", "1", "0", "0", "0", "0"}, {"5", "9", "0", "0", "0", "0"}),
        Settings(PlotMode::J));
    EXPECT_EQ(CountOf<draw::LineInColour>(none.curves.commands), 0);
    EXPECT_EQ(CountOf<draw::RetainOff>(none.curves.commands), 1);
}

struct FailureRow {
    const char* name;
    PlotMode mode;
    std::vector<std::string> weights;
    std::vector<std::string> times;
};

TEST(Curves, LogarithmOfANonPositiveValueEndsTheRunWithWhatWasDrawn) {
    const FailureRow rows[] = {
        // Two terms of exactly +-0.9765625 cancel once 1e-10 is lost in the
        // first, and a time of 0 adds nothing: J = 0.
        {"F of J exactly 0",
         PlotMode::F,
         {"2000", "-2000", "1", "0", "0", "0"},
         {"0.00048828125", "0.00048828125", "0", "0", "0", "0"}},
        // C(200 ps) = e^-2 - 2 e^-1 is negative.
        {"C(t) below 0",
         PlotMode::Ct,
         {"1", "-2", "2", "0", "0", "0"},
         {"100", "200", "0", "0", "0", "0"}},
    };
    for (const auto& row : rows) {
        const BothPhases run =
            RunBoth(Model("13C", {"1H"}, row.weights, row.times), Settings(row.mode));
        EXPECT_EQ(run.table.outcome.status, RunOutcome::Status::Completed) << row.name;
        EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Failed) << row.name;
        EXPECT_EQ(run.curves.outcome.failure, FailureReason::LogOfNonPositive) << row.name;
        EXPECT_EQ(CountOf<draw::LineInColour>(run.curves.commands), 0) << row.name;
        EXPECT_EQ(CountOf<draw::RetainOn>(run.curves.commands), 1) << row.name;
        EXPECT_EQ(CountOf<draw::RetainOff>(run.curves.commands), 0) << row.name;
    }
}

TEST(CurveSums, TakeEveryTermWhateverTheSignOfItsWeight) {
    Lorentzians lorentzians;
    lorentzians.weights = {2.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    lorentzians.times = {100.0f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_NEAR(CurveSpectralDensity(lorentzians, 0.0f), 150.0f, 1e-4);
    EXPECT_NEAR(SpectralDensity(lorentzians, 0.0f), 200.0f, 1e-4);
    EXPECT_NEAR(CorrelationAt(lorentzians, 100.0f), 2.0 * std::exp(-1.0) - std::exp(-2.0), 1e-6);
    EXPECT_EQ(CorrelationAt(lorentzians, 0.0f), 1.0f);
}

}  // namespace
}  // namespace veldorin
