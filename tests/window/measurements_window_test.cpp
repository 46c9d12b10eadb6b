// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "engine/input_preparation.h"
#include "graph/measurement_points.h"
#include "graph_panel/graph_canvas.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "motion/motion_window.h"
#include "tests/support/window_fixture.h"
#include "window/main_window_side.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

class MeasurementsInWindow : public WindowTest {
protected:
    // The Measurements window on the model-free example and its nine rows.
    MeasurementsWindow& OpenedOnExample() {
        Started();
        EXPECT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
        window_->OpenMeasurementsWindow();
        return window_->measurementsWindow();
    }
};

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
    MeasurementsWindow& measurements = OpenedOnExample();
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

// What the fit frees and whether it is live is kept with the model; a motion of another
// kind frees only what it has, so that the model still saves and opens.
TEST_F(MeasurementsInWindow, TheFitSetupIsKeptWithTheModelAndFollowsTheMotion) {
    MeasurementsWindow& measurements = OpenedOnExample();
    FitPanel& fit = *measurements.fitPanel();
    fit.freeBox(MotionParameter::S2)->setChecked(true);
    fit.liveBox()->setChecked(true);
    const QTemporaryDir folder;
    const QString path = folder.filePath("fit.veldorin");
    ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
    fit.freeBox(MotionParameter::S2)->setChecked(false);
    fit.liveBox()->setChecked(false);
    ASSERT_EQ(window_->modelFiles().Open(path), std::nullopt);
    EXPECT_TRUE(fit.freeBox(MotionParameter::S2)->isChecked());
    EXPECT_TRUE(fit.liveBox()->isChecked());
    EXPECT_FALSE(window_->isWindowModified()) << "the live refit at opening changes nothing";

    Q_EMIT window_->motionWindow().motionEdited(DefaultMotionTexts(MotionKind::Rigid));
    EXPECT_TRUE(window_->state().fitChoice.free.empty());
    ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
    EXPECT_EQ(window_->modelFiles().Open(path), std::nullopt);
}

// Ranking the family applies the best model as the motion, with the choice that frees
// its parameters; another model applies on request, its Rex included; changed rows clear
// the ranking.
TEST_F(MeasurementsInWindow, TheRankedBestModelAppliesAndAnotherOnRequest) {
    MeasurementsWindow& measurements = OpenedOnExample();
    measurements.fitPanel()->freeBox(MotionParameter::TauM)->setChecked(true);
    ModelRankingPanel& ranking = *measurements.rankingPanel();
    const WindowState& state = window_->state();
    const std::vector<MeasurementTexts> rows = state.measurements;
    Q_EMIT measurements.rowsEdited({});
    ranking.rankButton()->click();
    EXPECT_EQ(state.motion->kind, MotionKind::ModelFree) << "nothing to rank by: m0 no winner";
    Q_EMIT measurements.rowsEdited(rows);
    ranking.rankButton()->click();
    QTreeWidget& list = *ranking.rankingList();
    ASSERT_EQ(list.topLevelItemCount(), kModelFreeModelCount);
    const QTreeWidgetItem& best = *list.topLevelItem(0);
    EXPECT_TRUE(best.font(0).bold());
    const int number = best.data(0, Qt::UserRole).toInt();
    const MotionKind kind = number == 0                  ? MotionKind::Rigid
                            : number >= 5 && number <= 8 ? MotionKind::ExtendedModelFree
                                                         : MotionKind::ModelFree;
    EXPECT_EQ(state.motion->kind, kind) << "m" << number;
    EXPECT_EQ(state.fitChoice.free.front(), MotionParameter::TauM);
    EXPECT_EQ(ListLines(), EngineTableOf(ModelTextsOf(window_->controls(), state)));

    measurements.fitPanel()->liveBox()->setChecked(true);
    window_->Recalculate();
    EXPECT_EQ(list.topLevelItemCount(), kModelFreeModelCount) << "a live refit keeps it";

    const QList<QTreeWidgetItem*> rigid = list.findItems("m0", Qt::MatchExactly);
    ASSERT_EQ(rigid.size(), 1);
    list.setCurrentItem(rigid.front());
    ranking.applyButton()->click();
    EXPECT_EQ(state.motion->kind, MotionKind::Rigid);
    EXPECT_EQ(window_->controls().rexBox->currentText(), "0");
    EXPECT_FALSE(state.fitChoice.rex);
    EXPECT_EQ(list.topLevelItemCount(), kModelFreeModelCount) << "applying keeps the ranking";

    measurements.table()->item(0, 2)->setText("2.6");
    EXPECT_EQ(list.topLevelItemCount(), 0) << "a ranking of other rows";
    EXPECT_FALSE(ranking.applyButton()->isEnabled());
}

// The Monte Carlo runs in the background: the same seed gives the same errors, Cancel
// and a changed measurement stop it, and closing the window mid-run waits for it.
TEST_F(MeasurementsInWindow, MonteCarloErrorsRunAsideAndStopWhenAsked) {
    MeasurementsWindow& measurements = OpenedOnExample();
    measurements.fitPanel()->freeBox(MotionParameter::S2)->setChecked(true);
    MonteCarloPanel& panel = *measurements.monteCarloPanel();
    const auto run = [&panel](int sets) {
        panel.setsBox()->setValue(sets);
        panel.runButton()->click();
    };
    const auto finished = [&panel] {
        return QTest::qWaitFor([&panel] { return panel.runButton()->isEnabled(); }, 20000);
    };
    const QString converged = QStringLiteral("synthetic fits converged");
    run(50);
    EXPECT_FALSE(panel.runButton()->isEnabled());
    ASSERT_TRUE(finished());
    const QString first = panel.resultLabel()->text();
    EXPECT_TRUE(first.contains(converged)) << first.toStdString();
    run(50);
    ASSERT_TRUE(finished());
    EXPECT_EQ(panel.resultLabel()->text(), first);

    const struct {
        const char* name;
        std::function<void()> stop;
    } stops[] = {
        {"cancel", [&panel] { panel.cancelButton()->click(); }},
        {"edit", [&measurements] { measurements.table()->item(0, 2)->setText("2.6"); }},
    };
    for (const auto& stop : stops) {
        run(panel.setsBox()->maximum());
        stop.stop();
        ASSERT_TRUE(finished()) << stop.name;
        EXPECT_FALSE(panel.resultLabel()->text().contains(converged)) << stop.name;
        EXPECT_FALSE(panel.progressBar()->isVisible()) << stop.name;
    }
    run(panel.setsBox()->maximum());  // still running when the window goes
}

}  // namespace
}  // namespace veldorin::test
