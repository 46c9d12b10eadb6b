// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_phases/array_mode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/format.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using namespace veldorin::graph_test;
using enum ArrayParameter;

using Segments = std::vector<draw::LineInColour>;

// The segments of each pass, split at the retain-off that ends it.
std::vector<Segments> Passes(const DrawCommands& commands) {
    std::vector<Segments> passes;
    Segments current;
    for (const auto& command : commands) {
        if (const auto* line = std::get_if<draw::LineInColour>(&command)) current.push_back(*line);
        if (std::holds_alternative<draw::RetainOff>(command)) {
            passes.push_back(current);
            current.clear();
        }
    }
    return passes;
}

const std::vector<std::string> kTwoWeights = {"0.6", "0.4", "0", "0", "0", "0"};
const std::vector<std::string> kTwoTimes = {"1000", "100", "0", "0", "0", "0"};

TEST(ArrayFactor, ScalesFromOneDownToExactlyZero) {
    EXPECT_EQ(ArrayFactor(1), 1.0);
    EXPECT_EQ(ArrayFactor(6), 0.5);
    EXPECT_NEAR(ArrayFactor(8), 0.3, 1e-15);
    EXPECT_EQ(ArrayFactor(11), 0.0);
}

TEST(ArrayMode, DrawsElevenPassesInDarkeningReds) {
    const BothPhases run =
        RunBoth(Model("13C", {"1H"}, kTwoWeights, kTwoTimes), Settings(PlotMode::J, true, C1));
    EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed);
    const auto passes = Passes(run.curves.commands);
    ASSERT_EQ(passes.size(), 11u);
    EXPECT_EQ(CountOf<draw::RetainOn>(run.curves.commands), 11);
    for (int k = 1; k <= 11; ++k) {
        ASSERT_FALSE(passes[k - 1].empty()) << k;
        EXPECT_EQ(passes[k - 1].front().colour,
                  (Rgb{static_cast<std::uint8_t>(255 - 15 * k), 0, 0}));
    }
    // The last pass has c1 = 0: only the 100 ps term is left, J below the first.
    EXPECT_GT(passes[10].front().y1, passes[0].front().y1);
}

TEST(ArrayMode, AZeroValueMakesOnePassThatTakesTheLastColour) {
    for (const ArrayParameter parameter : {C3, T3}) {  // c3 and t3 are 0
        SCOPED_TRACE(static_cast<int>(parameter));
        const BothPhases run = RunBoth(Model("13C", {"1H"}, kTwoWeights, kTwoTimes),
                                       Settings(PlotMode::Rates, true, parameter));
        EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed);
        const auto passes = Passes(run.curves.commands);
        ASSERT_EQ(passes.size(), 1u);
        EXPECT_EQ(passes[0].front().colour, (Rgb{100, 0, 0}));
        EXPECT_EQ(passes[0].size(), 98u);
    }
}

TEST(ArrayMode, ArrayingTheOnlyWeightGivesTenCoincidingCurvesAndEndsWithoutAFailure) {
    const BothPhases run = RunBoth(Model("13C", {"1H"}), Settings(PlotMode::F, true, C1));
    EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed);
    const auto passes = Passes(run.curves.commands);
    ASSERT_EQ(passes.size(), 10u);
    for (const auto& pass : passes) {
        ASSERT_EQ(pass.size(), passes[0].size());
        for (std::size_t i = 0; i < pass.size(); ++i) EXPECT_EQ(pass[i].y2, passes[0][i].y2);
    }
    EXPECT_EQ(CountOf<draw::RetainOn>(run.curves.commands), 10);
    EXPECT_EQ(CountOf<draw::RetainOff>(run.curves.commands), 10);
}

TEST(ArrayMode, ArrayingATimeGivesElevenCurvesTheLastWithThatTimeZero) {
    const BothPhases run =
        RunBoth(Model("13C", {"1H"}, kTwoWeights, kTwoTimes), Settings(PlotMode::Ct, true, T1));
    EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed);
    const auto passes = Passes(run.curves.commands);
    ASSERT_EQ(passes.size(), 11u);
    // With t1 = 0 only 0.4 exp(-t/100) is left after t = 0.
    EXPECT_NEAR(passes[10][0].y2, -std::log(0.4 * std::exp(-2.0)) / 3.0 * kHeight, 0.05);
}

// The y of every R1 (or R2) segment end of a rates run.
std::vector<float> RateCurve(const Segments& segments, bool r1) {
    std::vector<float> ys;
    for (std::size_t i = r1 ? 1 : 0; i < segments.size(); i += 2) ys.push_back(segments[i].y2);
    return ys;
}

struct ScalingRow {
    const char* name;
    ArrayParameter parameter;
    bool r1;
    // The texts a plain run needs to draw pass k of an array run.
    std::function<void(ModelTexts&, double factor)> equivalent;
};

TEST(ArrayMode, CsaScalesTheSquaredAnisotropyAndRexScalesLinearly) {
    const ScalingRow rows[] = {
        {"CSA", Csa, true,
         [](ModelTexts& m, double f) { m.csa = FormatDouble(-170.0 * std::sqrt(f)); }},
        {"Rex", Rex, false, [](ModelTexts& m, double f) { m.rex = FormatDouble(12.0 * f); }},
    };
    ModelTexts model =
        Model("15N", {"1H"}, {"1", "0", "0", "0", "0", "0"}, {"5000", "0", "0", "0", "0", "0"});
    model.csa = "-170";
    model.rex = "12";
    for (const auto& row : rows) {
        const BothPhases array = RunBoth(model, Settings(PlotMode::Rates, true, row.parameter));
        const auto passes = Passes(array.curves.commands);
        ASSERT_EQ(passes.size(), 11u) << row.name;
        for (const int k : {1, 4, 9}) {
            ModelTexts plain = model;
            row.equivalent(plain, ArrayFactor(k));
            const BothPhases plainRun = RunBoth(plain, Settings(PlotMode::Rates));
            const auto expected = RateCurve(Passes(plainRun.curves.commands)[0], row.r1);
            const auto actual = RateCurve(passes[k - 1], row.r1);
            ASSERT_EQ(actual.size(), expected.size());
            for (std::size_t i = 0; i < actual.size(); ++i) {
                EXPECT_NEAR(actual[i], expected[i], 0.01) << row.name << " pass " << k << ' ' << i;
            }
        }
        EXPECT_NE(RateCurve(passes[0], row.r1), RateCurve(passes[10], row.r1)) << row.name;
    }
}

struct RangeRow {
    const char* name;
    ArrayParameter parameter;
    const char* from;
    const char* step;
};

TEST(ArrayMode, RangeShowsTheTypedValueAndOneTenthOfIt) {
    ModelTexts model = DefaultModel();  // weights 0.25 x4, 0, 0; t1 7000; CSA -25; Rex 0
    model.rex = "0.3";
    const RangeRow rows[] = {
        {"weight", C1, "0.25", "0.025"}, {"zero weight", C5, "0", "0"},
        {"time", T1, "7000", "700"},     {"time with decimals", T4, "109.37", "10.937"},
        {"CSA", Csa, "-25", "-2.5"},     {"Rex in single", Rex, "0.3", "0.03"},
    };
    for (const auto& row : rows) {
        const BothPhases run = RunBoth(model, Settings(PlotMode::Rates, true, row.parameter));
        ASSERT_TRUE(run.curves.rangeTexts.has_value()) << row.name;
        EXPECT_EQ(run.curves.rangeTexts->first, row.from) << row.name;
        EXPECT_EQ(run.curves.rangeTexts->second, row.step) << row.name;
    }
    const BothPhases off = RunBoth(model, Settings(PlotMode::Rates, false, C1));
    EXPECT_FALSE(off.curves.rangeTexts.has_value());
}

TEST(ArrayMode, NoParameterEndsTheRunBeforeTheFirstCurve) {
    const BothPhases run =
        RunBoth(Model("13C", {"1H"}), Settings(PlotMode::Rates, true, std::nullopt));
    EXPECT_EQ(run.table.outcome.status, RunOutcome::Status::Completed);
    EXPECT_GT(CountOf<draw::Line>(run.table.commands), 0);
    EXPECT_EQ(run.curves.outcome.status, RunOutcome::Status::Failed);
    EXPECT_EQ(run.curves.outcome.failure, FailureReason::NoArrayParameter);
    EXPECT_FALSE(run.curves.rangeTexts.has_value());
    EXPECT_EQ(CountOf<draw::LineInColour>(run.curves.commands), 0);
}

TEST(ArrayMode, RereadsTheArrayedTextAndLeavesTheTableValuesAlone) {
    const ModelTexts model = Model("13C", {"1H"}, kTwoWeights, kTwoTimes);
    RunPhases phases;
    test::RecordingSink sink;
    phases.RunTable(model, Settings(PlotMode::J), sink);
    ModelTexts edited = model;
    edited.times[0] = "5000";  // typed while the table was being shown
    const CurvePhase arrayed = phases.RunCurves(edited, Settings(PlotMode::J, true, T1));
    ASSERT_EQ(arrayed.rangeTexts->first, "5000");
    const CurvePhase plain = phases.RunCurves(model, Settings(PlotMode::J));
    const CurvePhase before = RunBoth(model, Settings(PlotMode::J)).curves;
    EXPECT_EQ(Passes(plain.commands)[0].front().y1, Passes(before.commands)[0].front().y1);
    EXPECT_LT(Passes(arrayed.commands)[0].front().y1, Passes(before.commands)[0].front().y1);
}

}  // namespace
}  // namespace veldorin

namespace veldorin {
namespace {

using namespace veldorin::graph_test;

// The cells of one CSV line; a quoted cell may hold commas.
std::vector<std::string> CsvCells(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// In array mode each column of the curves' CSV is named by the value its pass gave the
// parameter: the typed value scaled by the pass's factor (for the CSA, whose square is
// scaled, by its square root).
TEST(ArrayMode, CsvColumnsAreNamedByTheirPassesValue) {
    struct Row {
        const char* name;
        ArrayParameter parameter;
        const char* listItem;
        double typed;
        std::function<double(double)> scaled;
    };
    const auto linear = [](double f) { return f; };
    const Row rows[] = {
        {"weight", ArrayParameter::C2, "c2", 0.4, linear},
        {"time", ArrayParameter::T1, "t1", 1000.0, linear},
        {"CSA", ArrayParameter::Csa, "CSA", -25.0, [](double f) { return std::sqrt(f); }},
        {"Rex", ArrayParameter::Rex, "Rex", 4.0, linear},
    };
    for (const Row& row : rows) {
        ModelTexts model = Model("13C", {"1H"}, kTwoWeights, kTwoTimes);
        model.csa = "-25";
        model.rex = "4";
        const BothPhases run = RunBoth(model, Settings(PlotMode::Rates, true, row.parameter));
        const std::string csv = CurvesCsv(run.curves.samples);
        const std::vector<std::string> cells = CsvCells(csv.substr(0, csv.find('\n')));
        ASSERT_EQ(cells.size(), 1u + 2u * kArrayPassCount) << row.name;
        for (std::size_t cell = 1; cell < cells.size(); ++cell) {
            const int pass = static_cast<int>(cell + 1) / 2;
            const std::string named = std::string(", ") + row.listItem + " = ";
            const std::size_t at = cells[cell].find(named);
            ASSERT_NE(at, std::string::npos) << row.name << ": " << cells[cell];
            const double value = std::stod(cells[cell].substr(at + named.size()));
            EXPECT_NEAR(value, row.typed * row.scaled(ArrayFactor(pass)),
                        5e-4 * std::abs(row.typed))
                << row.name << ": " << cells[cell];
        }
    }
}

}  // namespace
}  // namespace veldorin
