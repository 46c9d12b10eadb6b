// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/graph_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/failure.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using graph_test::kHeight;
using graph_test::kWidth;

struct EdgeRow {
    const char* name;
    std::function<double(const GraphScale&)> map;
    double expected;
};

TEST(GraphScale, MapsTheEdgeValuesOfEveryModeToThePanelEdges) {
    const GraphScale scale(kWidth, kHeight);
    const EdgeRow rows[] = {
        {"J 10 ps at the bottom", [](const GraphScale& s) { return s.YOfJ(10.0); }, kHeight},
        {"J 10000 ps at the top", [](const GraphScale& s) { return s.YOfJ(10000.0); }, 0.0},
        {"F 1 at the top", [](const GraphScale& s) { return s.YOfF(1.0); }, 0.0},
        {"F -0.01 by its magnitude", [](const GraphScale& s) { return s.YOfF(-0.01); }, kHeight},
        {"R 1 1/s at 0.7 H", [](const GraphScale& s) { return s.YOfLogRate(0.0); }, 0.7 * kHeight},
        {"R e^4.38 at the top", [](const GraphScale& s) { return s.YOfLogRate(4.38); }, 0.0},
        {"NOE 2.5 at the top", [](const GraphScale& s) { return s.YOfNoe(2.5); }, 0.0},
        {"NOE -5.5 at the bottom", [](const GraphScale& s) { return s.YOfNoe(-5.5); }, kHeight},
        {"C 1 at the top", [](const GraphScale& s) { return s.YOfLogC(0.0); }, 0.0},
        {"C e^-3 at the bottom", [](const GraphScale& s) { return s.YOfLogC(-3.0); }, kHeight},
        {"w 9 at the left", [](const GraphScale& s) { return s.XOfFrequency(9.0); }, 0.0},
        {"w 9000 at the right", [](const GraphScale& s) { return s.XOfFrequency(9000.0); }, kWidth},
        {"marker time 10200 ps at the right",
         [](const GraphScale& s) { return s.XOfMarkerTime(10200.0); }, kWidth},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(row.map(scale), row.expected, 1e-3) << row.name;
    }
}

struct InverseRow {
    const char* name;
    std::function<double(const GraphScale&)> roundTrip;
    double value;
};

TEST(GraphScale, EachInverseGivesBackTheValueItsMappingPlaced) {
    const GraphScale scale(kWidth, kHeight);
    const InverseRow rows[] = {
        {"frequency", [](const GraphScale& s) { return s.FrequencyAtX(s.XOfFrequency(500.0)); },
         500.0},
        {"time", [](const GraphScale& s) { return s.TimeAtX(s.XOfMarkerTime(4000.0)); }, 4000.0},
        {"J", [](const GraphScale& s) { return s.JAtY(s.YOfJ(250.0)); }, 250.0},
        {"F", [](const GraphScale& s) { return s.FAtY(s.YOfF(0.2)); }, 0.2},
        {"NOE", [](const GraphScale& s) { return s.NoeAtY(s.YOfNoe(-1.5)); }, -1.5},
        {"C", [](const GraphScale& s) { return s.CAtY(s.YOfLogC(std::log(0.3))); }, 0.3},
        // The rate axis is drawn with 4.38 and read with ln 80: R = 1 1/s, at 0.7 H,
        // reads back exactly, the top edge reads 80 1/s where e^4.38 was drawn.
        {"rate 1 1/s", [](const GraphScale& s) { return s.RateAtY(s.YOfLogRate(0.0)); }, 1.0},
        {"rate at the top", [](const GraphScale& s) { return s.RateAtY(s.YOfLogRate(4.38)); },
         80.0},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(row.roundTrip(scale), row.value, std::abs(row.value) * 1e-4) << row.name;
    }
}

TEST(GraphScale, LogarithmOfANonPositiveValueIsARunTimeError) {
    const GraphScale scale(kWidth, kHeight);
    for (const auto& map : std::initializer_list<std::function<void()>>{
             [&] { scale.YOfF(0.0); }, [&] { scale.YOfJ(0.0); }, [&] { scale.YOfJ(-5.0); },
             [&] { scale.XOfFrequency(0.0); }}) {
        try {
            map();
            ADD_FAILURE() << "no error";
        } catch (const CalculationError& error) {
            EXPECT_EQ(error.reason, FailureReason::LogOfNonPositive);
        }
    }
}

TEST(GraphScale, CurveCoordinatesAreClampedToThePanelHeight) {
    const GraphScale scale(kWidth, kHeight);
    EXPECT_EQ(scale.CurveY(-12.5), 0.0f);
    EXPECT_EQ(scale.CurveY(kHeight + 1.0), kHeight);
    EXPECT_EQ(scale.CurveY(1e300), kHeight);  // no overflow of the single coordinate
    EXPECT_EQ(scale.CurveY(1000.25), 1000.25f);
}

TEST(SampleGrid, FrequencyGridIsASinglePrecisionRunningProductFromNine) {
    const auto grid = FrequencyGrid(kWidth);
    ASSERT_EQ(grid.size(), 50u);
    const float step = kWidth / 50.0f;
    EXPECT_EQ(grid.front().x, step);  // the first point is not on the left edge
    EXPECT_EQ(grid.back().x, kWidth);
    EXPECT_NEAR(grid.front().value, 10.3, 0.05);
    EXPECT_NEAR(grid.back().value, 9000.0, 1.0);

    // The running product in single precision drifts from 9 m^s in double.
    const float m = static_cast<float>(std::pow(1000.0, 0.02));
    float w = 9.0f;
    for (int s = 1; s <= 50; ++s) w *= m;
    EXPECT_EQ(grid.back().value, w);
    EXPECT_EQ(grid[24].x, step * 25.0f);
}

TEST(SampleGrid, TimeGridStartsAtTheLeftEdgeInStepsOf200Ps) {
    const auto grid = TimeGrid(kWidth);
    ASSERT_EQ(grid.size(), 51u);
    EXPECT_EQ(grid.front().value, 0.0f);
    EXPECT_EQ(grid.front().x, 0.0f);
    EXPECT_EQ(grid[1].value, 200.0f);
    EXPECT_EQ(grid.back().value, 10000.0f);
    EXPECT_EQ(grid.back().x, kWidth);
}

}  // namespace
}  // namespace veldorin
