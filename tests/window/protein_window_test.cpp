// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "app/fit_command.h"
#include "graph_panel/figure_view.h"
#include "measurements/measurements_window.h"
#include "protein/residue_document.h"
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
    ProteinController& Opened(int sets, const QByteArray& data = kThreeResidues) {
        MainWindow& window = Started();
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(window.proteinWindow().isVisible());
        const QString path = folder_.filePath(QStringLiteral("rates.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
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
    // A residue shown before the fit shows its fit after it.
    window_->proteinWindow().table()->selectRow(1);
    Fitted(controller);
    const ProteinProject& project = controller.project();
    ASSERT_TRUE(project.fit);
    EXPECT_TRUE(
        SameModel(window_->document(), ResidueDocument(project, 1, window_->document()).document));
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
    // The main window shows the residue's new fit.
    EXPECT_TRUE(
        SameModel(window_->document(), ResidueDocument(project, 1, window_->document()).document));

    // Another model opened in the main window: its edits are not the residue's.
    ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
    EXPECT_EQ(project.data.residues[1].measurements.size(), 8u);
}

TEST_F(ProteinInWindow, PlotsTheIntensityDecaysOfTheSelectedResidue) {
    MainWindow& window = Started();
    const QString noe = folder_.filePath(QStringLiteral("noe.csv"));
    QFile file(noe);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "residue,field_mhz,quantity,value,error\n1,600,NOE,0.71,0.03\n2,600,NOE,0.74,0.03\n"
        "3,600,NOE,0.69,0.03\n4,600,NOE,0.77,0.03\n");
    file.close();
    ProteinController& controller = window.proteinController();
    controller.OpenData({QStringLiteral(VELDORIN_RELAXATION_SERIES), noe});
    const ProteinProject& project = controller.project();
    ASSERT_EQ(project.data.residues.size(), 4u);

    ProteinWindow& protein = window.proteinWindow();
    QComboBox& plots = *protein.plotList();
    // The decays listed, not the bonds' angles without a structure.
    ASSERT_EQ(plots.count(), kSequenceQuantityCount);
    plots.setCurrentIndex(plots.count() - 1);
    std::vector<std::string> legends;  // the first entry of each residue's, with its rate
    for (const int row : {1, 3}) {
        protein.table()->selectRow(row);
        const std::string& residue = project.data.residues[static_cast<std::size_t>(row)].residue;
        const auto decays =
            std::count_if(project.decays.begin(), project.decays.end(),
                          [&](const DecayFit& d) { return d.series.residue == residue; });
        ASSERT_GT(decays, 0) << residue;
        EXPECT_TRUE(protein.decayPlot()->isVisible()) << residue;
        const FigureLayout& figure = protein.decayPlot()->figure();
        ASSERT_EQ(figure.legend.size(), static_cast<std::size_t>(decays)) << residue;
        legends.push_back(figure.legend.front().text);
    }
    EXPECT_NE(legends[0], legends[1]);
}

TEST_F(ProteinInWindow, TheSpinSystemIsSetAsTheCommandLineSetsIt) {
    ProteinController& controller = Opened(0);
    ProteinWindow& protein = window_->proteinWindow();
    FindControl<QComboBox>(protein, "proteinNucleus")->setCurrentText(QStringLiteral("13C"));
    FindControl<QDoubleSpinBox>(protein, "proteinDistance")->setValue(1.09);
    FindControl<QDoubleSpinBox>(protein, "proteinCsa")->setValue(-160.0);
    FindControl<QComboBox>(protein, "proteinPairFrequencies")->setCurrentIndex(1);
    const FitCommandParse parsed =
        ParseFitCommand({"data.csv", "--nucleus", "13C", "--distance", "1.09", "--csa", "-160",
                         "--frequencies", "magnitudes"});
    ASSERT_TRUE(parsed.command);
    const FitSpinSystem& expected = parsed.command->options.residue.system;
    const ProteinSettings& settings = controller.project().settings;
    const FitSpinSystem& system = settings.fit.residue.system;
    EXPECT_EQ(settings.nucleus, "13C");
    EXPECT_EQ(system.centralGamma, expected.centralGamma);
    EXPECT_EQ(system.neighbours.front().gamma, expected.neighbours.front().gamma);
    EXPECT_EQ(system.neighbours.front().distance, expected.neighbours.front().distance);
    EXPECT_EQ(system.csaPpm, expected.csaPpm);
    EXPECT_EQ(system.pairFrequencies, expected.pairFrequencies);
}

TEST_F(ProteinInWindow, AFitWithAStructureSavesItWithItsValuesAndTheViewersScripts) {
    // The three residues named as those of the peptide with an amide H.
    QByteArray data(kThreeResidues);
    data.replace("\n12,", "\n2,").replace("\n3,", "\n4,").replace("\n7,", "\n4A,");
    ProteinController& controller = Opened(0, data);
    ProteinWindow& protein = window_->proteinWindow();
    QPushButton& save = *FindControl<QPushButton>(protein, "proteinSaveStructure");
    controller.OpenStructure(QStringLiteral(VELDORIN_STRUCTURE_DATA "/peptide.cif"));
    ASSERT_TRUE(controller.project().structure);
    FindControl<QComboBox>(protein, "proteinDiffusion")
        ->setCurrentIndex(static_cast<int>(DiffusionChoice::Sphere));
    EXPECT_FALSE(save.isEnabled());
    Fitted(controller);
    ASSERT_TRUE(controller.project().fit->diffusion);
    EXPECT_TRUE(save.isEnabled());
    EXPECT_TRUE(protein.tensorLabel()->isVisible());
    controller.SaveStructure(folder_.filePath(QStringLiteral("fitted.cif")), ResultQuantity::S2);
    for (const char* name : {"fitted.cif", "fitted.pml", "fitted.cxc"})
        EXPECT_TRUE(QFile::exists(folder_.filePath(QLatin1String(name)))) << name;
}

// Residue 3 alone in two models, its N-H along x in the first and along y in the second.
constexpr char kTwoModels[] =
    "MODEL        1\n"
    "ATOM      1  N   ALA A   3       0.000   0.000   0.000  1.00  0.00           N\n"
    "ATOM      2  H   ALA A   3       1.010   0.000   0.000  1.00  0.00           H\n"
    "ENDMDL\nMODEL        2\n"
    "ATOM      1  N   ALA A   3       0.000   0.000   0.000  1.00  0.00           N\n"
    "ATOM      2  H   ALA A   3       0.000   1.010   0.000  1.00  0.00           H\n"
    "ENDMDL\nEND\n";

TEST_F(ProteinInWindow, TheEnsembleListChoosesTheModelWhoseBondsTheFitTakes) {
    ProteinController& controller = Opened(0);
    ProteinWindow& protein = window_->proteinWindow();
    QComboBox& ensemble = *FindControl<QComboBox>(protein, "proteinEnsemble");
    EXPECT_FALSE(ensemble.isEnabled());
    QFile file(folder_.filePath(QStringLiteral("ensemble.pdb")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(kTwoModels) > 0);
    file.close();
    controller.OpenStructure(file.fileName());
    ASSERT_TRUE(controller.project().structure);
    // The average after the models; each choice reads the bonds again for the fit.
    const double half = std::sqrt(0.5);
    const std::tuple<int, double, double> rows[] = {{2, half, half}, {1, 0, 1}, {0, 1, 0}};
    for (const auto& [item, x, y] : rows) {
        ensemble.setCurrentIndex(item);
        const Vector3 bond = controller.project().FitOptions().diffusion->bonds.at("3");
        EXPECT_NEAR(bond[0], x, 1e-12) << item;
        EXPECT_NEAR(bond[1], y, 1e-12) << item;
    }
    // Its label's key, shared with no other, reaches it.
    protein.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &protein; }));
    FindControl<QWidget>(protein, "proteinBond")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), &ensemble);
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
