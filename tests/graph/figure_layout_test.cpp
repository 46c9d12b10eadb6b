// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/figure_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "engine/format.h"
#include "graph/graph_scale.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using namespace veldorin::graph_test;

// Every character as wide as its type size: a stand-in for a font's metrics.
double TextWidthOf(const std::string& text, double points) {
    return static_cast<double>(text.size()) * points * kMillimetresPerPoint * 0.6;
}

// A tick's number as a value; the minus is the typographic one.
double ValueOf(std::string label) {
    const std::string minus = "−";
    if (label.rfind(minus, 0) == 0) label = "-" + label.substr(minus.size());
    return std::stod(label);
}

const GraphScale kUnit(1.0f, 1.0f);
// Where the panel puts a value, as a fraction of its width from the left or of its
// height from the top.
using Fraction = std::function<double(double)>;
const Fraction kMegahertz = [](double f) { return kUnit.XOfFrequency(2.0 * kPi * f); };

struct AxesRow {
    const char* name;
    PlotMode mode;
    bool arrayOn;
    Fraction x;
    Fraction y;
};

FigureLayout Figure(const BothPhases& run) {
    return LayOutFigure(run.curves.samples, run.table.commands, 85.0, 75.0, TextWidthOf);
}

BothPhases TwoLorentzianRun(PlotMode mode, bool arrayOn, std::optional<ArrayParameter> parameter,
                            const std::vector<std::string>& neighbours = {"1H"}) {
    return RunBoth(Model("13C", neighbours, {"0.6", "0.4", "0", "0", "0", "0"},
                         {"1000", "100", "0", "0", "0", "0"}),
                   Settings(mode, arrayOn, parameter));
}

TEST(FigureLayout, TickNumbersStandWhereThePanelPutsTheirValues) {
    const Fraction rate = [](double r) { return kUnit.YOfLogRate(std::log(r)); };
    const AxesRow rows[] = {
        {"F", PlotMode::F, false, kMegahertz, [](double f) { return kUnit.YOfF(f); }},
        {"J", PlotMode::J, false, kMegahertz, [](double j) { return kUnit.YOfJ(j); }},
        {"rates", PlotMode::Rates, false, kMegahertz, rate},
        {"rates in array mode", PlotMode::Rates, true, kMegahertz, rate},
        {"NOE", PlotMode::Noe, false, kMegahertz, [](double n) { return kUnit.YOfNoe(n); }},
        // The curve's time axis spans 10000 ps.
        {"C(t)", PlotMode::Ct, false, [](double t) { return t / 10000.0; },
         [](double c) { return kUnit.YOfLogC(std::log(c)); }},
    };
    for (const AxesRow& row : rows) {
        const FigureLayout figure =
            Figure(TwoLorentzianRun(row.mode, row.arrayOn, ArrayParameter::T1));
        const FigureRect& plot = figure.plot;
        int labelled = 0;
        double lastEnd = -1e9;
        for (const FigureTick& tick : figure.xTicks) {
            if (!tick.major) continue;
            ++labelled;
            EXPECT_NEAR(tick.at, plot.left + row.x(ValueOf(tick.label)) * plot.width, 1e-3)
                << row.name << " " << tick.label;
            const double half = TextWidthOf(tick.label, FigureStyle::kTickPoints) / 2.0;
            EXPECT_LT(lastEnd, tick.at - half) << row.name << " " << tick.label;
            lastEnd = tick.at + half;
        }
        EXPECT_GE(labelled, 3) << row.name;
        labelled = 0;
        for (const FigureTick& tick : figure.yTicks) {
            if (!tick.major) continue;
            ++labelled;
            EXPECT_NEAR(tick.at, plot.top + row.y(ValueOf(tick.label)) * plot.height, 1e-3)
                << row.name << " " << tick.label;
        }
        EXPECT_GE(labelled, 2) << row.name;
        ASSERT_FALSE(figure.curves.empty()) << row.name;
        for (const FigureLegendEntry& entry : figure.legend) {
            EXPECT_GT(entry.at.y, plot.bottom()) << row.name << " " << entry.text;
            EXPECT_LT(entry.textLeft + TextWidthOf(entry.text, FigureStyle::kLegendPoints),
                      figure.width)
                << row.name << " " << entry.text;
        }
    }
}

// The legend names each curve (in array mode each quantity as a colour scale of its
// passes, from the parameter's first value to its last), then each field or correlation
// time that has a marker.
TEST(FigureLayout, LegendNamesTheCurvesThenTheMarkers) {
    struct Row {
        const char* name;
        PlotMode mode;
        bool arrayOn;
        std::vector<std::string> neighbours;
        std::vector<std::string> curveTexts;
        std::size_t markerEntries;
    };
    const Row rows[] = {
        {"rates", PlotMode::Rates, false, {"1H"}, {"R2", "R1"}, 6},
        {"rates in array mode",
         PlotMode::Rates,
         true,
         {"1H"},
         {"R2, c1 = 0.6 … 0", "R1, c1 = 0.6 … 0"},
         6},
        {"J in array mode", PlotMode::J, true, {"1H"}, {"c1 = 0.6 … 0"}, 6},
        {"J without neighbours", PlotMode::J, false, {}, {"J"}, 0},
        {"C(t): the two times", PlotMode::Ct, false, {"1H"}, {"C"}, 2},
    };
    for (const Row& row : rows) {
        const BothPhases run =
            TwoLorentzianRun(row.mode, row.arrayOn, ArrayParameter::C1, row.neighbours);
        const auto& curves = run.curves.samples.curves;
        const FigureLayout figure = Figure(run);
        const std::size_t curveEntries = row.curveTexts.size();
        ASSERT_EQ(figure.legend.size(), curveEntries + row.markerEntries) << row.name;
        for (std::size_t i = 0; i < curveEntries; ++i) {
            const FigureLegendEntry& entry = figure.legend[i];
            EXPECT_EQ(entry.text, row.curveTexts[i]) << row.name;
            // Each entry's colours are those of its curves in the figure, pass by pass.
            ASSERT_EQ(entry.swatches.size(), curves.size() / curveEntries) << row.name;
            for (std::size_t k = 0; k < entry.swatches.size(); ++k) {
                EXPECT_EQ(entry.swatches[k], figure.curves[k * curveEntries + i].colour)
                    << row.name << " " << k;
            }
        }
        for (std::size_t i = 0; i < row.markerEntries && row.mode != PlotMode::Ct; ++i) {
            const FigureLegendEntry& entry = figure.legend[curveEntries + i];
            EXPECT_EQ(entry.swatches.front(), kFieldTable[i].colour) << row.name;
            EXPECT_NE(entry.text.find(FormatSingle(kFieldTable[i].frequencyMHz)), std::string::npos)
                << row.name << " " << entry.text;
        }
    }
}

// A family of curves stays readable at a journal column's sizes: the legend takes at
// most a quarter of the figure's height, the passes' colours are told apart, and every
// marker line spans the plot.
TEST(FigureLayout, ArrayModeFiguresStayReadable) {
    const auto distance = [](Rgb a, Rgb b) {
        return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
    };
    for (const PlotMode mode :
         {PlotMode::F, PlotMode::J, PlotMode::Rates, PlotMode::Noe, PlotMode::Ct}) {
        const BothPhases run = TwoLorentzianRun(mode, true, ArrayParameter::T1);
        for (const auto& [width, height] : {std::pair{85.0, 75.0}, {85.0, 60.0}, {180.0, 90.0}}) {
            const FigureLayout figure =
                LayOutFigure(run.curves.samples, run.table.commands, width, height, TextWidthOf);
            std::set<double> rows;
            for (const FigureLegendEntry& entry : figure.legend) rows.insert(entry.at.y);
            const double line = *std::next(rows.begin()) - *rows.begin();
            EXPECT_LE(static_cast<double>(rows.size()) * line, height / 4.0)
                << static_cast<int>(mode) << " " << height;
            for (const FigureMarker& marker : figure.markers) {
                EXPECT_EQ(marker.top, figure.plot.top);
                EXPECT_EQ(marker.bottom, figure.plot.bottom());
            }
        }
        const FigureLayout figure = Figure(run);
        const FigureLegendEntry& scale = figure.legend.front();
        ASSERT_EQ(scale.mark, LegendMark::Scale);
        for (std::size_t k = 1; k < scale.swatches.size(); ++k) {
            EXPECT_GE(distance(scale.swatches[k - 1], scale.swatches[k]), 30) << k;
        }
    }
}

// Rows as a measurements table holds them: every quantity, a time, a row that does not read.
const std::vector<std::optional<Measurement>> kMeasured = {
    Measurement{600.0, Quantity::R1, 2.0, 0.1},   Measurement{800.0, Quantity::T2, 0.1, 0.005},
    Measurement{500.0, Quantity::Noe, 0.8, 0.05}, std::nullopt,
    Measurement{500.0, Quantity::R2, 6.7, 0.2},
};

FigureLayout MeasuredFigure(PlotMode mode, const std::vector<std::optional<Measurement>>& rows,
                            const FigureOptions& options) {
    GraphSettings settings = Settings(mode, false, std::nullopt);
    settings.measurements = rows;
    const BothPhases run = RunBoth(Model("15N", {"1H"}), settings);
    return LayOutFigure(run.curves.samples, run.table.commands, 85.0, 75.0, TextWidthOf, options);
}

// Each plot shows only the measurements of its quantities, where its axes put them: rates
// as rates (a time as its rate), the NOE as η or, as asked, as the measured ratio. The
// legend names the fields measured in the plot; without, or when asked, all six.
TEST(FigureLayout, EachPlotShowsTheMeasurementsOfItsQuantitiesAndTheirFields) {
    struct Row {
        const char* name;
        PlotMode mode;
        FigureOptions options;
        std::vector<std::array<double, 3>> shown;  // field, value, error
        std::vector<std::size_t> fields;           // indices into the field table
    };
    const std::vector<std::array<double, 3>> rates = {
        {600.0, 2.0, 0.1}, {800.0, 10.0, 0.5}, {500.0, 6.7, 0.2}};
    const std::vector<std::size_t> all = {0, 1, 2, 3, 4, 5};
    const Row rows[] = {
        {"rates", PlotMode::Rates, {}, rates, {3, 4, 5}},
        {"rates, ratio and all fields", PlotMode::Rates, {true, true}, rates, all},
        {"NOE as η", PlotMode::Noe, {}, {{500.0, -0.2, 0.05}}, {3}},
        {"NOE as the ratio", PlotMode::Noe, {.noeAsRatio = true}, {{500.0, 0.8, 0.05}}, {3}},
        {"J", PlotMode::J, {}, {}, all},
    };
    for (const Row& row : rows) {
        const FigureLayout f = MeasuredFigure(row.mode, kMeasured, row.options);
        const auto y = [&](double v) {
            return f.plot.bottom() - *f.yAxis.Fraction(v) * f.plot.height;
        };
        ASSERT_EQ(f.points.size(), row.shown.size()) << row.name;
        for (std::size_t i = 0; i < row.shown.size(); ++i) {
            const auto [field, value, error] = row.shown[i];
            const FigurePointMark& mark = f.points[i];
            EXPECT_NEAR(mark.at.x, f.plot.left + *f.xAxis.Fraction(field) * f.plot.width, 1e-9)
                << row.name << " " << i;
            EXPECT_NEAR(mark.at.y, y(value), 1e-9) << row.name << " " << i;
            EXPECT_NEAR(mark.low, y(value - error), 1e-9) << row.name << " " << i;
        }
        std::vector<std::string> expected;
        for (const std::size_t field : row.fields) {
            expected.push_back(FormatSingle(kFieldTable[field].frequencyMHz) + " MHz");
        }
        std::vector<std::string> listed;
        for (const FigureLegendEntry& entry : f.legend) {
            if (entry.mark == LegendMark::Marker) listed.push_back(entry.text);
        }
        EXPECT_EQ(listed, expected) << row.name;
    }
}

// The ratio renumbers the NOE axis: the curve stays where it was, as the points do.
TEST(FigureLayout, TheNoeRatioLeavesTheCurveInPlace) {
    const FigureLayout eta = MeasuredFigure(PlotMode::Noe, kMeasured, {});
    const FigureLayout ratio = MeasuredFigure(PlotMode::Noe, kMeasured, {.noeAsRatio = true});
    ASSERT_EQ(ratio.curves.size(), 1u);
    EXPECT_NEAR(ratio.curves[0].points.back().y, eta.curves[0].points.back().y, 1e-9);
}

}  // namespace
}  // namespace veldorin
