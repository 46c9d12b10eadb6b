// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/sequence_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace veldorin {
namespace {

constexpr double kNoError = std::numeric_limits<double>::quiet_NaN();

// Every character as wide as its type size: a stand-in for a font's metrics.
double TextWidthOf(const std::string& text, double points) {
    return static_cast<double>(text.size()) * points * kMillimetresPerPoint * 0.6;
}

SequencePlot PlotOf(const std::vector<std::string>& residues, const std::vector<double>& values,
                    double error, bool logarithmic = false) {
    SequencePlot plot{"S²", logarithmic, {}, {}};
    for (std::size_t i = 0; i < residues.size(); ++i) {
        plot.points.push_back({residues[i], values[i], error, {}});
    }
    return plot;
}

// Each mark stands at its residue and value, its bar's ends at value ∓ error inside the
// frame; a logarithmic axis leaves out what it cannot show.
TEST(SequencePlot, EachPointStandsAtItsResidueAndValue) {
    struct Row {
        const char* name;
        SequencePlot plot;
        std::vector<std::size_t> shown;
        std::vector<double> x;  // of the shown points, along the residue axis
    };
    const Row rows[] = {
        {"numbered", PlotOf({"1", "2", "5"}, {0.8, 0.9, -0.1}, 0.02), {0, 1, 2}, {1, 2, 5}},
        {"chains and residue names",
         PlotOf({"B:10ALA", "B:12GLY"}, {1.0, 2.0}, 0.1),
         {0, 1},
         {10, 12}},
        {"three fields at one residue",
         PlotOf({"7", "7", "7", "9"}, {1.5, 1.2, 1.0, 1.4}, 0.05),
         {0, 1, 2, 3},
         {7, 7, 7, 9}},
        {"no numbers: counted",
         PlotOf({"ALA", "ALA", "GLY"}, {1, 2, 3}, 0.1),
         {0, 1, 2},
         {1, 1, 2}},
        {"numbers repeat in a second chain: counted",
         PlotOf({"A:1", "A:2", "B:1"}, {1, 2, 3}, 0.1),
         {0, 1, 2},
         {1, 2, 3}},
        {"logarithmic leaves out what is not above 0",
         PlotOf({"1", "2", "3", "4"}, {1.0, 0.0, -1.0, 50.0}, 1.5, true),
         {0, 3},
         {1, 4}},
        {"without errors", PlotOf({"3", "4"}, {0.5, 0.7}, kNoError), {0, 1}, {3, 4}},
    };
    for (const Row& row : rows) {
        const SequenceLayout layout = LayOutSequencePlot(row.plot, 170.0, 60.0, TextWidthOf);
        const FigureLayout& f = layout.figure;
        const auto y = [&](double v) {
            return f.plot.bottom() - *f.yAxis.Fraction(v) * f.plot.height;
        };
        ASSERT_EQ(layout.pointOfMark, row.shown) << row.name;
        for (std::size_t m = 0; m < f.points.size(); ++m) {
            const SequencePoint& point = row.plot.points[row.shown[m]];
            const FigurePointMark& mark = f.points[m];
            EXPECT_NEAR(mark.at.x, f.plot.left + *f.xAxis.Fraction(row.x[m]) * f.plot.width, 1e-9)
                << row.name << " " << m;
            EXPECT_NEAR(mark.at.y, y(point.value), 1e-9) << row.name << " " << m;
            if (std::isnan(point.error)) {
                EXPECT_TRUE(std::isnan(mark.low) && std::isnan(mark.high)) << row.name;
                continue;
            }
            const double below = point.value - point.error;
            const double low = row.plot.logarithmic && !(below > 0.0) ? f.plot.bottom() : y(below);
            EXPECT_NEAR(mark.low, low, 1e-9) << row.name << " " << m;
            EXPECT_NEAR(mark.high, y(point.value + point.error), 1e-9) << row.name << " " << m;
            EXPECT_GE(mark.high, f.plot.top) << row.name << " " << m;
            EXPECT_LE(mark.low, f.plot.bottom()) << row.name << " " << m;
        }
    }
}

// Both axes' labelled ticks stand where their values (on the residue axis, the residue's
// number or, counted, its name) lie, at least two of them, and apart from each other.
TEST(SequencePlot, TickLabelsStandAtTheirValuesApart) {
    std::vector<std::string> numbers;
    std::vector<std::string> chains;
    std::vector<double> values;
    for (int r = 1; r <= 280; ++r) {
        numbers.push_back(std::to_string(r));
        chains.push_back(std::string(r <= 140 ? "A:" : "B:") + std::to_string((r - 1) % 140 + 1));
        values.push_back(1.2 + 0.6 * (r % 7) / 7.0);
    }
    struct Row {
        const char* name;
        SequencePlot plot;
        double width;
    };
    const Row rows[] = {
        {"280 residues in a column", PlotOf(numbers, values, 0.01), 85.0},
        {"280 residues, wide", PlotOf(numbers, values, 0.01), 250.0},
        {"a few residues", PlotOf({"3", "4", "5"}, {0.5, 0.7, 0.6}, 0.01), 85.0},
        {"two chains, counted", PlotOf(chains, values, 0.01), 170.0},
        {"logarithmic within a decade", PlotOf(numbers, values, 0.01, true), 170.0},
        {"logarithmic over decades", PlotOf({"1", "2"}, {0.05, 300.0}, 0.01, true), 85.0},
    };
    for (const Row& row : rows) {
        const SequenceLayout layout = LayOutSequencePlot(row.plot, row.width, 60.0, TextWidthOf);
        const FigureLayout& f = layout.figure;
        const auto& points = row.plot.points;
        double lastEnd = -1e9;
        for (const FigureTick& tick : f.xTicks) {
            const auto named = std::find_if(points.begin(), points.end(),
                                            [&](const auto& p) { return p.residue == tick.label; });
            ASSERT_NE(named, points.end()) << row.name << " " << tick.label;
            const std::size_t at = static_cast<std::size_t>(named - points.begin());
            EXPECT_NEAR(tick.at, f.points[at].at.x, 1e-9) << row.name << " " << tick.label;
            const double half = TextWidthOf(tick.label, FigureStyle::kTickPoints) / 2.0;
            EXPECT_LT(lastEnd, tick.at - half) << row.name << " " << tick.label;
            lastEnd = tick.at + half;
        }
        EXPECT_GE(f.xTicks.size(), 2u) << row.name;
        int labelled = 0;
        for (const FigureTick& tick : f.yTicks) {
            if (!tick.major) continue;
            ++labelled;
            EXPECT_NEAR(tick.at,
                        f.plot.bottom() - *f.yAxis.Fraction(std::stod(tick.label)) * f.plot.height,
                        1e-9)
                << row.name << " " << tick.label;
        }
        EXPECT_GE(labelled, 2) << row.name;
    }
}

// The pointer finds the nearest mark within reach, by its index among all the plot's
// points, also past points a logarithmic axis leaves out.
TEST(SequencePlot, NearestPointIsTheClosestMarkWithinReach) {
    const SequencePlot plot = PlotOf({"1", "2", "3", "3"}, {0.0, 1.0, 2.0, 8.0}, 0.1, true);
    const SequenceLayout layout = LayOutSequencePlot(plot, 85.0, 60.0, TextWidthOf);
    const auto at = [&](std::size_t mark, double dx, double dy) {
        const FigurePoint p = layout.figure.points[mark].at;
        return FigurePoint{p.x + dx, p.y + dy};
    };
    struct Row {
        const char* name;
        FigurePoint pointer;
        std::optional<std::size_t> found;
    };
    const Row rows[] = {
        {"on a mark", at(0, 0.0, 0.0), 1},
        {"beside the other value of one residue", at(2, 0.5, 0.5), 3},
        {"farther than reach", at(0, 0.0, 3.5), std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NearestPoint(layout, row.pointer), row.found) << row.name;
    }
}

// The readout rounds the value to its error's second significant digit.
TEST(SequencePlot, ReadoutRoundsToTheError) {
    SequencePlot plot = PlotOf({"B:42"}, {0.85372}, 0.0213);
    plot.legend = {{{}, "600 MHz"}};
    const std::string text = PointReadout(plot, 0);
    EXPECT_NE(text.find("B:42"), std::string::npos) << text;
    EXPECT_NE(text.find("600 MHz"), std::string::npos) << text;
    EXPECT_NE(text.find("0.854 ± 0.021"), std::string::npos) << text;
}

}  // namespace
}  // namespace veldorin
