// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/figure_layout.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cmath>
#include <functional>
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

// The legend names each curve (in array mode each pass, by its value), then each field
// or correlation time that has a marker.
TEST(FigureLayout, LegendNamesTheCurvesThenTheMarkers) {
    struct Row {
        const char* name;
        PlotMode mode;
        bool arrayOn;
        std::vector<std::string> neighbours;
        std::size_t quantityEntries;  // entries that name a quantity before the passes
        std::size_t markerEntries;
    };
    const Row rows[] = {
        {"rates", PlotMode::Rates, false, {"1H"}, 0, 6},
        {"rates in array mode", PlotMode::Rates, true, {"1H"}, 2, 6},
        {"J in array mode", PlotMode::J, true, {"1H"}, 0, 6},
        {"J without neighbours", PlotMode::J, false, {}, 0, 0},
        {"C(t): the two times", PlotMode::Ct, false, {"1H"}, 0, 2},
    };
    for (const Row& row : rows) {
        const BothPhases run =
            TwoLorentzianRun(row.mode, row.arrayOn, ArrayParameter::C1, row.neighbours);
        const auto& curves = run.curves.samples.curves;
        const FigureLayout figure = Figure(run);
        const std::size_t perPass = row.arrayOn ? curves.size() / kArrayPassCount : 1;
        const std::size_t curveEntries = row.quantityEntries + curves.size() / perPass;
        ASSERT_EQ(figure.legend.size(), curveEntries + row.markerEntries) << row.name;
        for (std::size_t i = 0; i < row.quantityEntries; ++i) {
            EXPECT_EQ(figure.legend[i].text, curves[i].quantity) << row.name;
        }
        for (std::size_t k = 0; k < curves.size(); k += perPass) {
            const FigureLegendEntry& entry = figure.legend[row.quantityEntries + k / perPass];
            EXPECT_EQ(entry.text, row.arrayOn ? curves[k].parameter : curves[k].quantity)
                << row.name << " " << k;
            ASSERT_EQ(entry.swatches.size(), perPass) << row.name;
            for (std::size_t j = 0; j < perPass; ++j) {
                EXPECT_EQ(entry.swatches[j], curves[k + j].colour) << row.name << " " << k;
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

// Measurements stand in the figure where its axes put their field and value: rates as
// rates, the NOE ratio as the enhancement; none in a plot without points.
TEST(FigureLayout, MeasurementsStandWhereTheAxesPutThem) {
    const Measurement r1{600.0, Quantity::R1, 2.0, 0.1};
    const Measurement noe{500.0, Quantity::Noe, 0.8, 0.05};
    for (const auto& [mode, measurement, value] :
         {std::tuple{PlotMode::Rates, r1, 2.0}, std::tuple{PlotMode::Noe, noe, -0.2},
          std::tuple{PlotMode::J, r1, 0.0}}) {
        GraphSettings settings = Settings(mode, false, std::nullopt);
        settings.measurements = {measurement, std::nullopt};
        const FigureLayout figure = Figure(RunBoth(
            Model("13C", {"1H"}, {"1", "0", "0", "0", "0", "0"}, {"1000", "0", "0", "0", "0", "0"}),
            settings));
        if (mode == PlotMode::J) {
            EXPECT_TRUE(figure.points.empty());
            continue;
        }
        ASSERT_EQ(figure.points.size(), 1u) << static_cast<int>(mode);
        const FigurePointMark& mark = figure.points.front();
        const FigureRect& plot = figure.plot;
        EXPECT_NEAR(mark.at.x,
                    plot.left + *figure.xAxis.Fraction(measurement.fieldMHz) * plot.width, 1e-9);
        EXPECT_NEAR(mark.at.y, plot.bottom() - *figure.yAxis.Fraction(value) * plot.height, 1e-9);
        EXPECT_GT(mark.low, mark.at.y);
        EXPECT_LT(mark.high, mark.at.y);
    }
}

}  // namespace
}  // namespace veldorin
