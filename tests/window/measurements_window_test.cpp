// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "engine/input_preparation.h"
#include "graph/measurement_points.h"
#include "graph_panel/graph_canvas.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"

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
TEST_F(MeasurementsInWindow, TypedRowsAreComparedDrawnAndFollowTheSetting) {
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
    const WorkingValues values = InputPreparation().Prepare(model).values;
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

// With the fit at every change, an edited measurement moves the freed parameters of the
// motion, and the Lorentzians and table follow it in the same recalculation.
TEST_F(MeasurementsInWindow, TheLiveFitFollowsAnEditedMeasurement) {
    Started();
    ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    FitPanel& fit = *measurements.fitPanel();
    fit.freeBox(MotionParameter::S2)->setChecked(true);
    fit.freeBox(MotionParameter::TauE)->setChecked(true);
    fit.liveBox()->setChecked(true);
    const std::string fitted = (*window_->state().motion)[MotionParameter::S2];
    EXPECT_NE(fitted, "0.85") << "the example's S2, fitted to its rows";
    EXPECT_TRUE(fit.resultLabel()->text().contains("χ²"))
        << fit.resultLabel()->text().toStdString();

    measurements.table()->item(1, 2)->setText("8.5");  // R2 at 500 MHz, far higher
    EXPECT_NE((*window_->state().motion)[MotionParameter::S2], fitted);
    const auto& controls = window_->controls();
    const LorentzianTexts texts =
        TextsOf(ToLorentzians(*ReadMotion(*window_->state().motion).motion));
    EXPECT_EQ(controls.weightBoxes[0]->text().toStdString(), texts.weights[0]);
}

}  // namespace
}  // namespace veldorin::test
