// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "engine/input_preparation.h"
#include "engine/results_table.h"
#include "graph/plot_mode.h"
#include "run_phases/array_mode.h"
#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

using StartState = WindowTest;

TEST_F(StartState, BoxesHoldTheDefaultModelAndItsNormalisedWeights) {
    Started();
    const ModelTexts model = DefaultModel();
    const WeightTexts normalised = *InputPreparation().Prepare(model).weightTexts;
    const WindowControls& c = controls();
    for (int row = 0; row < kLorentzianCount; ++row) {
        EXPECT_EQ(c.weightBoxes[row]->text().toStdString(), model.weights[row]) << row;
        EXPECT_EQ(c.timeBoxes[row]->text().toStdString(), model.times[row]) << row;
        EXPECT_EQ(c.normalisedWeightBoxes[row]->text().toStdString(), normalised[row]) << row;
    }
}

TEST_F(StartState, CaptionsAndListSelectionsAreTheStartValues) {
    Started();
    const WindowControls& c = controls();
    EXPECT_EQ(c.tableModeButton->text(), "R-->T");
    EXPECT_EQ(c.arrayButton->text(), "on");
    EXPECT_EQ(c.axisCaption->text(), "Log(w/2pi)");
    EXPECT_EQ(c.failureLine->text(), "");
    EXPECT_EQ(c.rexBox->currentText().toStdString(), DefaultModel().rex);
    EXPECT_EQ(c.csaBox->currentText().toStdString(), DefaultModel().csa);
    EXPECT_EQ(c.plotList->currentText(), RowOf(PlotMode::Rates).listText);
    EXPECT_EQ(c.arrayParameterList->currentText(), RowOf(ArrayParameter::C1).name);
}

TEST_F(StartState, SpinDiagramShowsTheThreeDefaultNeighbours) {
    Started();
    const SpinDiagram& spins = *window_->controls().spinDiagram;
    const char* nuclei[] = {"1H", "1H", "13C", "", "", "", "", "", "13C"};
    const char* distances[] = {"2", "1.09", "1.5", "1.09", "1.09", "1.09", "1.09", "1.09"};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(spins.nucleusBox(slot)->text(), nuclei[slot]) << slot;
        EXPECT_EQ(spins.abundanceLabel(slot)->text(), "1") << slot;
    }
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const bool present = slot < 3;
        EXPECT_EQ(spins.distanceLabel(slot)->text(), distances[slot]) << slot;
        EXPECT_EQ(spins.distanceLabel(slot)->isVisible(), present) << slot;
        EXPECT_EQ(spins.abundanceLabel(slot)->isVisible(), present) << slot;
        EXPECT_EQ(spins.bondVisible(slot), present) << slot;
        EXPECT_EQ(spins.kinds()[slot], present ? SlotKind::Unlike : SlotKind::Empty) << slot;
    }
    EXPECT_FALSE(spins.abundanceLabel(kCentralSlot)->isVisible());
}

TEST_F(StartState, ResultsListHoldsTheDefaultTable) {
    Started();
    const QStringList lines = ListLines();
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.front(), "f, MHz\tNOE\tCRR,1/s\tR1,1/s\tR2,1/s");
    EXPECT_EQ(lines, DefaultTable(TableMode::Rates));
    EXPECT_TRUE(lines[1].startsWith("100\t"));
    EXPECT_TRUE(lines[6].startsWith("800\t"));
}

TEST_F(StartState, TableFileIsWrittenInTheProgramFolderAsTheListLinesWithCrlf) {
    Started();
    EXPECT_EQ(controls().optionsPanel->directoryBox()->text(),
              programDirectory() + "/Lumen_Forge/");
    EXPECT_EQ(TableFileBytes(), ListLines().join("\r\n").toLatin1() + "\r\n");
}

TEST_F(StartState, OnlyTheSelectionAfterShowingTheWindowComputes) {
    Constructed();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    QSignalSpy curves(window_.get(), &MainWindow::curvesStarted);
    window_->Start({programDirectory(), {}});
    EXPECT_EQ(runs.count(), 1);
    EXPECT_EQ(curves.count(), 1);
}

TEST_F(StartState, WindowHasItsCaptionAndFourPlainMenuItems) {
    Started();
    EXPECT_EQ(window_->windowTitle(),
              "VELDORIN - Calculating Spectral Density Functions & NMR Relaxation Parameters");
    QStringList items;
    for (const QAction* action : window_->menuBar()->actions()) {
        items.append(action->text());
        EXPECT_EQ(action->menu(), nullptr) << action->text().toStdString();
    }
    EXPECT_EQ(items, QStringList({"&Options", "&Theory", "Help", "About"}));
}

TEST_F(StartState, WordMarkTimerRunsAtItsStartInterval) {
    Started();
    const WordMark& mark = window_->wordMark();
    EXPECT_TRUE(mark.timer().isActive());
    EXPECT_EQ(mark.timer().interval(), 1000);
}

TEST_F(StartState, PanelsAndEditorsAreHiddenAtStart) {
    Started();
    const WindowControls& c = controls();
    for (const QWidget* hidden : std::initializer_list<const QWidget*>{
             c.optionsPanel, c.theoryPage, c.aboutList, c.optionsPanel->directoryList(),
             c.nucleusMenu, c.distanceEditor, c.abundanceEditor, c.arrayParameterList,
             c.arrayRangeCaption, c.arrayStepBox, c.arrayFromBox}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->accessibleName().toStdString();
    }
}

}  // namespace
}  // namespace veldorin::test
