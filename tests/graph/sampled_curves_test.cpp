// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/failure.h"
#include "graph/graph_scale.h"
#include "graph/sampled_curves.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using namespace veldorin::graph_test;

const GraphScale kScale(kWidth, kHeight);

// Where a curve's value is drawn, as the curve pass maps it.
using Mapping = std::function<double(double)>;

// One curve's segments, joined end to start: those of its colour.
std::vector<draw::LineInColour> SegmentsInColour(const DrawCommands& commands, Rgb colour) {
    std::vector<draw::LineInColour> found;
    for (const auto& line : All<draw::LineInColour>(commands)) {
        if (line.colour == colour) found.push_back(line);
    }
    return found;
}

// The curves' colours in the order they are first drawn, which is the order of the curves.
std::vector<Rgb> ColoursInOrder(const DrawCommands& commands) {
    std::vector<Rgb> colours;
    for (const auto& line : All<draw::LineInColour>(commands)) {
        if (std::find(colours.begin(), colours.end(), line.colour) == colours.end()) {
            colours.push_back(line.colour);
        }
    }
    return colours;
}

struct SamplesRow {
    const char* name;
    PlotMode mode;
    bool arrayOn;
    int curves;
    Mapping y;
    bool time;  // the horizontal value is a time in ps, not a frequency in MHz
};

// The values kept beside each curve are those its vertices were drawn from, at the
// horizontal values of the vertices' x.
TEST(SampledCurves, EveryCurveKeepsTheValuesItsVerticesWereDrawnFrom) {
    const Mapping rate = [](double r) { return kScale.YOfLogRate(LogOf(r + 1e-12)); };
    const SamplesRow rows[] = {
        {"F", PlotMode::F, false, 1, [](double f) { return kScale.YOfF(f); }, false},
        {"J", PlotMode::J, false, 1, [](double j) { return kScale.YOfJ(j); }, false},
        {"R2 and R1", PlotMode::Rates, false, 2, rate, false},
        {"R2 and R1 in array mode", PlotMode::Rates, true, 2 * kArrayPassCount, rate, false},
        {"NOE", PlotMode::Noe, false, 1, [](double n) { return kScale.YOfNoe(n); }, false},
        {"C(t)", PlotMode::Ct, false, 1, [](double c) { return kScale.YOfLogC(LogOf(c + 1e-15)); },
         true},
    };
    for (const auto& row : rows) {
        const BothPhases run =
            RunBoth(Model("13C", {"1H"}), Settings(row.mode, row.arrayOn, ArrayParameter::T1));
        ASSERT_EQ(run.curves.outcome.status, RunOutcome::Status::Completed) << row.name;
        const SampledCurves& samples = run.curves.samples;
        ASSERT_EQ(static_cast<int>(samples.curves.size()), row.curves) << row.name;
        const std::vector<Rgb> colours = ColoursInOrder(run.curves.commands);
        ASSERT_EQ(colours.size(), samples.curves.size()) << row.name;
        for (std::size_t k = 0; k < colours.size(); ++k) {
            const auto segments = SegmentsInColour(run.curves.commands, colours[k]);
            const std::vector<double>& values = samples.curves[k].values;
            ASSERT_EQ(values.size(), segments.size() + 1) << row.name;
            for (std::size_t i = 0; i < values.size(); ++i) {
                const float x = i == 0 ? segments[0].x1 : segments[i - 1].x2;
                const float y = i == 0 ? segments[0].y1 : segments[i - 1].y2;
                EXPECT_EQ(kScale.CurveY(row.y(values[i])), y) << row.name << " " << i;
                // The curves' time axis spans 10000 ps; the readout's, 10200 ps.
                const double at =
                    row.time ? x / kWidth * 10000.0 : kScale.FrequencyAtX(x) / 2.0 / kPi;
                EXPECT_NEAR(samples.horizontal[i], at, 1e-3 * at + 1e-3) << row.name << " " << i;
            }
        }
    }
}

TEST(SampledCurves, CsvHasAHeadingLineAndALinePerSampleWithACellPerCurve) {
    struct Row {
        const char* name;
        SampledCurves samples;
        const char* csv;
    };
    const Row rows[] = {
        {"no curve", {PlotMode::Ct, "t (ps)", {0.0, 200.0}, {}, {}}, "t (ps)\n0\n200\n"},
        {"two curves, the second ended early",
         {PlotMode::J,
          "frequency (MHz)",
          {1.5, 2.25},
          {{"R2", "1/s", "", {}, {0.125, -3e-20}}, {"J", "ps", "", {}, {1e5}}},
          {}},
         "frequency (MHz),R2 (1/s),J (ps)\n1.5,0.125,1e+05\n2.25,-3e-20,\n"},
        {"headings with a comma or a quote are quoted",
         {PlotMode::Noe, "frequency (MHz)", {1.5}, {{"NOE", "", "a \"b\", c", {}, {2.0}}}, {}},
         "frequency (MHz),\"NOE, a \"\"b\"\", c\"\n1.5,2\n"},
    };
    for (const auto& row : rows) EXPECT_EQ(CurvesCsv(row.samples), row.csv) << row.name;
}

TEST(SampledCurves, NoPlotModeKeepsNoSamples) {
    GraphSettings settings = Settings(PlotMode::J);
    settings.plotMode.reset();
    const BothPhases run = RunBoth(Model("13C", {"1H"}), settings);
    EXPECT_TRUE(run.curves.samples.horizontal.empty());
    EXPECT_TRUE(run.curves.samples.curves.empty());
}

}  // namespace
}  // namespace veldorin
