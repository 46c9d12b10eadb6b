// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/constants.h"
#include "tests/graph/graph_test_support.h"

namespace veldorin {
namespace {

using namespace veldorin::graph_test;

constexpr double kProton = 2.6751e-11;
constexpr double kCarbon = 6.7263e-12;

double XOf(double w) { return std::log(w / 9.0) / std::log(1000.0) * kWidth; }

DrawCommands TableCommands(const ModelTexts& model, PlotMode mode) {
    RunPhases phases;
    test::RecordingSink sink;
    const TablePhase phase = phases.RunTable(model, Settings(mode), sink);
    EXPECT_EQ(phase.outcome.status, RunOutcome::Status::Completed);
    return phase.commands;
}

// The vertical marker lines with the foreground colour each was drawn in.
struct Marker {
    draw::Line line;
    Rgb colour;
};

std::vector<Marker> Markers(const DrawCommands& commands) {
    std::vector<Marker> markers;
    const Rgb* colour = nullptr;
    for (const auto& command : commands) {
        if (const auto* set = std::get_if<draw::SetColour>(&command)) colour = &set->colour;
        if (const auto* line = std::get_if<draw::Line>(&command)) {
            EXPECT_NE(colour, nullptr) << "a marker drawn before any colour was set";
            markers.push_back({*line, colour ? *colour : Rgb{}});
        }
    }
    return markers;
}

struct ReferenceRow {
    const char* name;
    PlotMode mode;
    std::vector<double> fractionsOfHeight;  // in the order drawn
    int linesPerPair;
};

TEST(ReferenceLines, AreBlackFullWidthLinesAtTheModesValues) {
    const ReferenceRow rows[] = {
        {"J 100 and 1000 ps", PlotMode::J, {2.0 / 3.0, 1.0 / 3.0}, 2},
        {"F 0.11", PlotMode::F, {-std::log10(0.11) / 2.0}, 1},
        {"R 1 and 10 1/s after each field marker",
         PlotMode::Rates,
         {0.7, (1.0 - std::log(10.0) / 4.38) * 0.7},
         12},
        {"NOE 0, 2, -2, -4 after each field marker",
         PlotMode::Noe,
         {5.0 / 16, 1.0 / 16, 9.0 / 16, 13.0 / 16},
         24},
        {"C 0.1", PlotMode::Ct, {std::log(0.1) / -3.0}, 1},
    };
    const ModelTexts model = Model("13C", {"1H"});
    for (const auto& row : rows) {
        const auto lines = All<draw::LineInColour>(TableCommands(model, row.mode));
        ASSERT_EQ(lines.size(), row.linesPerPair * 6u) << row.name;  // one neighbour, six fields
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& line = lines[i];
            const double expected =
                row.fractionsOfHeight[i % row.fractionsOfHeight.size()] * kHeight;
            EXPECT_NEAR(line.y1, expected, 1e-3) << row.name << " line " << i;
            EXPECT_EQ(line.y2, line.y1) << row.name;
            EXPECT_EQ(line.x1, 0.0f) << row.name;
            EXPECT_EQ(line.x2, kWidth) << row.name;
            EXPECT_EQ(line.colour, (Rgb{0, 0, 0})) << row.name;
        }
    }
}

TEST(FrequencyMarkers, UnlikeNeighbourMarksFourFrequenciesInEachFieldBand) {
    const auto markers = Markers(TableCommands(Model("13C", {"1H"}), PlotMode::J));
    ASSERT_EQ(markers.size(), 24u);
    for (int field = 1; field <= 6; ++field) {
        const double wH = 2.0 * kPi * kFieldTable[field - 1].frequencyMHz;
        const double wI = wH * kCarbon / kProton;
        const double expected[] = {wI, wH - wI, wH, wI + wH};
        for (int m = 0; m < 4; ++m) {
            const Marker& marker = markers[(field - 1) * 4 + m];
            EXPECT_NEAR(marker.line.x1, XOf(expected[m]), 0.05) << field << ' ' << m;
            EXPECT_EQ(marker.line.x2, marker.line.x1);
            EXPECT_NEAR(marker.line.y1, (field - 1) * kHeight / 6.0, 1e-3);
            EXPECT_NEAR(marker.line.y2, field * kHeight / 6.0, 1e-3);
            EXPECT_EQ(marker.colour, kFieldTable[field - 1].colour);
        }
    }
}

TEST(FrequencyMarkers, LikeNeighbourMarksTwoDistinctPositionsInEachBand) {
    const auto markers = Markers(TableCommands(Model("1H", {"Like"}), PlotMode::F));
    ASSERT_EQ(markers.size(), 24u);  // wI, wS, wI + wS, 2 wI; the difference 0 is skipped
    for (int field = 1; field <= 6; ++field) {
        const double wI = 2.0 * kPi * kFieldTable[field - 1].frequencyMHz;
        std::set<float> positions;
        for (int m = 0; m < 4; ++m) positions.insert(markers[(field - 1) * 4 + m].line.x1);
        ASSERT_EQ(positions.size(), 2u) << field;
        EXPECT_NEAR(*positions.begin(), XOf(wI), 0.05);
        EXPECT_NEAR(*positions.rbegin(), XOf(2.0 * wI), 0.05);
    }
}

TEST(FieldMarkers, SixFullHeightMarkersThatDoNotDependOnTheSpinSystem) {
    const auto first = Markers(TableCommands(Model("13C", {"1H"}), PlotMode::Rates));
    const auto other = Markers(TableCommands(Model("15N", {"1H", "", "13C"}), PlotMode::Noe));
    ASSERT_EQ(first.size(), 36u);  // six per field
    ASSERT_EQ(other.size(), 72u);  // two neighbours: drawn once per pair
    for (std::size_t i = 0; i < other.size(); ++i) {
        const Marker& marker = other[i];
        const auto& field = kFieldTable[i % 6];
        EXPECT_NEAR(marker.line.x1, XOf(2.0 * kPi * field.frequencyMHz), 1e-3);
        EXPECT_EQ(marker.line.x1, first[i % first.size()].line.x1);
        EXPECT_EQ(marker.line.y1, 0.0f);
        EXPECT_EQ(marker.line.y2, kHeight);
        EXPECT_EQ(marker.colour, field.colour);
    }
}

TEST(TimeMarkers, StandAtWidthTimesTOver10200InLorentzianColours) {
    const ModelTexts model = Model("13C", {"1H"}, {"1", "1", "1", "1", "1", "1"},
                                   {"0", "1000", "5100", "10200", "20400", "300"});
    const auto markers = Markers(TableCommands(model, PlotMode::Ct));
    ASSERT_EQ(markers.size(), 36u);
    const double times[] = {0, 1000, 5100, 10200, 20400, 300};
    for (int p = 0; p < 6; ++p) {
        EXPECT_NEAR(markers[p].line.x1, kWidth * times[p] / 10200.0, 1e-3) << p;
        EXPECT_EQ(markers[p].line.y1, 0.0f);
        EXPECT_EQ(markers[p].line.y2, kHeight);
        EXPECT_EQ(markers[p].colour, (p == 0 ? Rgb{0, 0, 0} : kFieldTable[p - 1].colour)) << p;
    }
}

TEST(Decorations, NothingIsDrawnWithoutANeighbourButTheCurvesStillAre) {
    for (const PlotMode mode :
         {PlotMode::F, PlotMode::J, PlotMode::Rates, PlotMode::Ct, PlotMode::Noe}) {
        const BothPhases run = RunBoth(Model("13C", {}), Settings(mode));
        EXPECT_EQ(CountOf<draw::Line>(run.table.commands), 0) << static_cast<int>(mode);
        EXPECT_EQ(CountOf<draw::LineInColour>(run.table.commands), 0) << static_cast<int>(mode);
        EXPECT_GT(CountOf<draw::LineInColour>(run.curves.commands), 0) << static_cast<int>(mode);
    }
}

}  // namespace
}  // namespace veldorin
