// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/readout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using graph_test::kHeight;
using graph_test::kWidth;

struct ReadoutRow {
    const char* name;
    PlotMode mode;
    float position;  // y for the vertical readout, x for the horizontal one
    const char* expected;
};

TEST(VerticalReadout, ShowsTheValueCutTowardsMinusInfinity) {
    const ReadoutRow rows[] = {
        {"NOE bottom edge", PlotMode::Noe, kHeight, "-5.5"},
        {"NOE top edge", PlotMode::Noe, 0.0f, "2.5"},
        {"NOE -2.345 cut down", PlotMode::Noe, kHeight * (1.0f - 3.155f / 8.0f), "-2.35"},
        {"NOE 2.345 cut down", PlotMode::Noe, kHeight * (1.0f - 7.845f / 8.0f), "2.34"},
        {"J top edge, exp(ln 1000) just below 1000", PlotMode::J, 0.0f, "9999.9 ps"},
        {"J bottom edge", PlotMode::J, kHeight, "10 ps"},
        {"F top edge", PlotMode::F, 0.0f, "1"},
        {"F middle, just below 0.1", PlotMode::F, kHeight / 2.0f, "0.099"},
        {"C(t) top edge", PlotMode::Ct, 0.0f, "1"},
        {"C(t) bottom edge e^-3", PlotMode::Ct, kHeight, "0.049"},
        {"rates top edge, just below 80", PlotMode::Rates, 0.0f, "79.9 1/s"},
        {"rates bottom edge", PlotMode::Rates, kHeight, "0.1 1/s"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(VerticalReadout(row.mode, row.position, kHeight), row.expected) << row.name;
    }
}

TEST(HorizontalReadout, ShowsFrequencyInMHzOrTimeInPs) {
    const ReadoutRow rows[] = {
        {"left edge frequency", PlotMode::Rates, 0.0f, "1.4 MHz"},
        {"right edge frequency", PlotMode::J, kWidth, "1432.3 MHz"},
        {"left edge time", PlotMode::Ct, 0.0f, "0 ps"},
        {"right edge time spans 10200 ps", PlotMode::Ct, kWidth, "10200 ps"},
        {"time cut to a tenth", PlotMode::Ct, 1.0f, "2.6 ps"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HorizontalReadout(row.mode, row.position, kWidth), row.expected) << row.name;
    }
}

TEST(Readout, KeepsTheCaptionWithoutAPlotModeOrAPanelSize) {
    EXPECT_EQ(VerticalReadout(std::nullopt, 100.0f, kHeight), std::nullopt);
    EXPECT_EQ(VerticalReadout(PlotMode::J, 100.0f, 0.0f), std::nullopt);
    EXPECT_EQ(HorizontalReadout(PlotMode::Ct, 100.0f, 0.0f), std::nullopt);
    EXPECT_EQ(HorizontalReadout(std::nullopt, 0.0f, kWidth), "1.4 MHz");
}

}  // namespace
}  // namespace veldorin
