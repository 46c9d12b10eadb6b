// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/decay_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace veldorin {
namespace {

constexpr double kNoError = std::numeric_limits<double>::quiet_NaN();

double TextWidthOf(const std::string& text, double points) {
    return static_cast<double>(text.size()) * points * kMillimetresPerPoint * 0.6;
}

DecayCurve Curve(Rgb colour, std::vector<DecayMeasurement> points, double i0, double rate,
                 double offset) {
    return {"R1, 600 MHz", colour, std::move(points), i0, rate, 0.05 * rate, offset};
}

// Each measured intensity stands at its delay and value with its bar, and each curve
// starts at I0 + offset at the delay 0 and follows the decay to the axis' end.
TEST(DecayPlot, PointsStandAtTheirValuesAndCurvesStartAtI0) {
    struct Row {
        const char* name;
        std::vector<DecayCurve> curves;
    };
    const Row rows[] = {
        {"one series",
         {Curve({230, 159, 0}, {{0.02, 7.8e5, 4e3}, {0.4, 4.3e5, 4e3}, {1.2, 1.1e5, 4e3}}, 8.0e5,
                1.52, 0.0)}},
        {"two series, an offset, a point without a bar",
         {Curve({230, 159, 0}, {{0.1, 0.9, 0.02}, {1.0, 0.4, kNoError}}, 1.0, 1.0, 0.05),
          Curve({86, 180, 233}, {{0.01, 0.8, 0.02}, {0.1, 0.2, 0.02}}, 1.0, 12.0, -0.02)}},
        {"negative intensities",
         {Curve({0, 0, 0}, {{0.0, -50.0, 3.0}, {0.05, -8.0, 3.0}}, -52.0, 30.0, 0.0)}},
    };
    for (const Row& row : rows) {
        const FigureLayout f = LayOutDecayPlot({"Intensity", row.curves}, 85.0, 75.0, TextWidthOf);
        const auto x = [&](double v) { return f.plot.left + *f.xAxis.Fraction(v) * f.plot.width; };
        const auto y = [&](double v) {
            return f.plot.bottom() - *f.yAxis.Fraction(v) * f.plot.height;
        };
        ASSERT_EQ(f.curves.size(), row.curves.size()) << row.name;
        ASSERT_EQ(f.legend.size(), row.curves.size()) << row.name;
        std::size_t mark = 0;
        for (std::size_t c = 0; c < row.curves.size(); ++c) {
            const DecayCurve& curve = row.curves[c];
            const FigurePolyline& line = f.curves[c];
            EXPECT_NEAR(line.points.front().x, x(0.0), 1e-9) << row.name;
            EXPECT_NEAR(line.points.front().y, y(curve.i0 + curve.offset), 1e-9) << row.name;
            EXPECT_NEAR(line.points.back().x, f.plot.right(), 1e-9) << row.name;
            EXPECT_GT(line.points.size(), 50u) << row.name;
            for (const DecayMeasurement& point : curve.points) {
                ASSERT_LT(mark, f.points.size()) << row.name;
                const FigurePointMark& m = f.points[mark++];
                EXPECT_EQ(m.colour, curve.colour) << row.name;
                EXPECT_NEAR(m.at.x, x(point.delayS), 1e-9) << row.name;
                EXPECT_NEAR(m.at.y, y(point.intensity), 1e-9) << row.name;
                if (std::isnan(point.error)) {
                    EXPECT_TRUE(std::isnan(m.low)) << row.name;
                    continue;
                }
                EXPECT_NEAR(m.low, y(point.intensity - point.error), 1e-9) << row.name;
                EXPECT_NEAR(m.high, y(point.intensity + point.error), 1e-9) << row.name;
                EXPECT_GE(m.high, f.plot.top) << row.name;
                EXPECT_LE(m.low, f.plot.bottom()) << row.name;
            }
        }
        EXPECT_EQ(mark, f.points.size()) << row.name;
    }
}

}  // namespace
}  // namespace veldorin
