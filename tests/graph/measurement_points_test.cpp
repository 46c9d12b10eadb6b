// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/measurement_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/curve_pass.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using graph_test::All;
using graph_test::kHeight;
using graph_test::kWidth;

const std::vector<std::optional<Measurement>> kRows = {
    Measurement{600.0, Quantity::R1, 1.5, 0.1},
    Measurement{800.0, Quantity::T2, 0.1, 0.01},
    std::nullopt,
    Measurement{500.0, Quantity::Noe, 0.8, 0.05},
    Measurement{1e5, Quantity::R1, 1.5, 0.1},
    Measurement{600.0, Quantity::R2, -1.0, 0.1},
    Measurement{250.0, Quantity::R1, 0.05, 0.1},
};

struct PlotCase {
    const char* name;
    PlotMode mode;
    std::vector<std::size_t> drawn;  // rows of kRows with a point, in order
};

TEST(MeasurementPoints, EachPlotShowsItsQuantitiesWhereTheAxesCanPlaceThem) {
    const std::vector<PlotCase> cases = {
        // The 1e5 MHz row lies off the axis, the negative rate below it.
        {"rates", PlotMode::Rates, {0, 1, 6}},
        {"NOE", PlotMode::Noe, {3}},
        {"J", PlotMode::J, {}},
        {"F", PlotMode::F, {}},
        {"C(t)", PlotMode::Ct, {}},
    };
    const GraphScale scale(kWidth, kHeight);
    for (const PlotCase& c : cases) {
        DrawCommands out;
        DrawMeasurementPoints(c.mode, scale, kRows, out);
        const auto lines = All<draw::LineInColour>(out);
        ASSERT_EQ(out.size(), lines.size()) << c.name;
        ASSERT_EQ(lines.size(), 5 * c.drawn.size()) << c.name;
        for (std::size_t k = 0; k < c.drawn.size(); ++k) {
            const Measurement& m = *kRows[c.drawn[k]];
            const draw::LineInColour& bar = lines[5 * k];
            EXPECT_EQ(bar.colour, PointColour(m.quantity)) << c.name;
            EXPECT_EQ(bar.x1, scale.XOfFrequency(2.0 * kPi * m.fieldMHz)) << c.name;
            const bool noe = c.mode == PlotMode::Noe;
            const auto y = [&](double v) {
                if (noe) return scale.CurveY(scale.YOfNoe(v - 1.0));
                return v > 0.0 ? scale.CurveY(scale.YOfLogRate(std::log(v))) : kHeight;
            };
            EXPECT_EQ(bar.y1, y(m.ComparedValue() + m.ComparedError())) << c.name;
            EXPECT_EQ(bar.y2, y(m.ComparedValue() - m.ComparedError())) << c.name;
            // The cross is centred on the value.
            const draw::LineInColour& arm = lines[5 * k + 3];
            EXPECT_FLOAT_EQ((arm.y1 + arm.y2) / 2.0f, y(m.ComparedValue())) << c.name;
        }
    }
    EXPECT_EQ(PointColour(Quantity::T1), R1CurveColour(1));
    EXPECT_EQ(PointColour(Quantity::Noe), R2CurveColour(1));
}

TEST(MeasurementPoints, NoMeasurementsNoCommands) {
    DrawCommands out;
    DrawMeasurementPoints(PlotMode::Rates, GraphScale(kWidth, kHeight), {}, out);
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace veldorin
