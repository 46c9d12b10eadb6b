// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "measurements/measurements_window.h"
#include "protein_window/protein_controller.h"
#include "protein_window/protein_fit_run.h"
#include "protein_window/protein_window.h"
#include "tests/support/three_residues.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

class ProteinInWindow : public WindowTest {
protected:
    // The Protein window, opened with Ctrl+P, on the three residues, settings as they
    // come but with `sets` Monte Carlo sets.
    ProteinController& Opened(int sets) {
        MainWindow& window = Started();
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(window.proteinWindow().isVisible());
        const QString path = folder_.filePath(QStringLiteral("rates.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kThreeResidues);
        file.close();
        ProteinController& controller = window.proteinController();
        controller.OpenData({path});
        ProteinSettings settings = controller.project().settings;
        settings.fit.monteCarloSets = sets;
        Q_EMIT window.proteinWindow().settingsEdited(settings);
        return controller;
    }

    // Fit pressed, and its result taken.
    void Fitted(ProteinController& controller) {
        QSignalSpy finished(&controller.fitRun(), &ProteinFitRun::finished);
        window_->proteinWindow().fitButton()->click();
        ASSERT_TRUE(finished.wait(30000));
    }

    QTemporaryDir folder_;
};

TEST_F(ProteinInWindow, FitsAsTheCommandLineDoesAndSendsAResidueToTheModelAndBack) {
    ProteinController& controller = Opened(0);
    Fitted(controller);
    const ProteinProject& project = controller.project();
    ASSERT_TRUE(project.fit);
    EXPECT_EQ(window_->proteinWindow().table()->model()->rowCount(), 3);
    // The same engine and the same defaults as --fit.
    ProteinFitOptions options = DefaultProteinFitOptions();
    options.monteCarloSets = 0;
    EXPECT_EQ(ProteinFitCsv(*project.fit), ProteinFitCsv(FitProtein(project.data, options)));

    // The second residue in sequence order, "7", chosen in the table.
    QTableView& table = *window_->proteinWindow().table();
    table.selectRow(1);
    EXPECT_EQ(window_->document().measurements.size(), 9u);
    ASSERT_TRUE(window_->document().motion);
    EXPECT_TRUE(window_->measurementsWindow().isVisible());

    // A row removed in the Measurements window: the residue is fitted again without it.
    std::vector<MeasurementTexts> rows = window_->document().measurements;
    rows.pop_back();
    QSignalSpy refitted(&controller.fitRun(), &ProteinFitRun::finished);
    Q_EMIT window_->measurementsWindow().rowsEdited(rows);
    ASSERT_TRUE(refitted.wait(30000));
    EXPECT_EQ(project.data.residues[1].measurements.size(), 8u);
    EXPECT_EQ(project.fit->residues[1].calculated.size(), 8u);
    EXPECT_TRUE(project.choices.at("7").rowsEdited);

    // Another model opened in the main window: its edits are not the residue's.
    ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
    EXPECT_EQ(project.data.residues[1].measurements.size(), 8u);
}

TEST_F(ProteinInWindow, ACancelledFitLeavesTheResultsAsTheyWere) {
    ProteinController& controller = Opened(500);
    QSignalSpy finished(&controller.fitRun(), &ProteinFitRun::finished);
    window_->proteinWindow().fitButton()->click();
    // A second press while it runs does nothing; Cancel ends it.
    window_->proteinWindow().fitButton()->click();
    FindControl<QPushButton>(window_->proteinWindow(), "proteinCancel")->click();
    QTest::qWait(500);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_FALSE(controller.project().fit);
    EXPECT_TRUE(window_->proteinWindow().fitButton()->isEnabled());
}

}  // namespace
}  // namespace veldorin::test
