// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

#include "engine/calculation.h"
#include "graph/measurement_points.h"
#include "measurements/measurements_window.h"
#include "tests/support/window_fixture.h"
#include "window/graph_canvas.h"

namespace veldorin::test {
namespace {

using MeasurementsInWindow = WindowTest;

int PointLinesIn(const DrawCommands& commands) {
    int lines = 0;
    for (const DrawCommand& command : commands) {
        const auto* line = std::get_if<draw::LineInColour>(&command);
        lines += line && line->colour == PointColour(Quantity::R1);
    }
    return lines;
}

// Rows typed in the window are compared with the model after every recalculation, drawn
// in the rates plot, and the pair frequencies chosen there change the table.
TEST_F(MeasurementsInWindow, typed_rows_are_compared_drawn_and_follow_the_setting) {
    Started();
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    QTableWidget& table = *measurements.table();
    const char* row[] = {"600", "R1", "2.5", "0.1"};
    for (int column = 0; column < kMeasurementColumnCount; ++column) {
        table.item(0, column)->setText(row[column]);
    }
    ASSERT_EQ(table.rowCount(), 2) << "the row, and an empty one for the next";
    ModelTexts model = DefaultModel();
    const WorkingValues values = Calculation().Prepare(model).values;
    const double calculated = CalculatedValue(values, {600.0, Quantity::R1, 2.5, 0.1});
    EXPECT_EQ(table.item(0, kMeasurementColumnCount)->text(), QString::number(calculated, 'g', 6));
    const auto& commands = window_->controls().graphCanvas->picture().recording.commands();
    EXPECT_GT(PointLinesIn(commands), 0);

    table.item(0, 2)->setText("x");
    EXPECT_EQ(table.item(0, 2)->background().color(), QColor(255, 200, 200));
    EXPECT_EQ(table.item(0, kMeasurementColumnCount)->text(), "");

    QComboBox& signs = *measurements.pairFrequencyList();
    signs.setCurrentIndex(1);
    Q_EMIT signs.activated(1);
    model.pairFrequencies = PairFrequencySigns::Signed;
    EXPECT_EQ(ListLines(), EngineTableOf(model));
}

}  // namespace
}  // namespace veldorin::test
