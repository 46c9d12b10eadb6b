// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "engine/results_table.h"
#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

using StartState = WindowTest;

struct TextRow {
    const char* control;
    const char* text;
};

// Start contents of the design, and what the first computing run writes.
constexpr TextRow kStartTexts[] = {
    {"Text7(0)", "0.25"},  {"Text7(1)", "0.25"},   {"Text7(2)", "0.25"},  {"Text7(3)", "0.25"},
    {"Text7(4)", "0"},     {"Text7(5)", "0"},      {"Text8(0)", "7000"},  {"Text8(1)", "1750"},
    {"Text8(2)", "437.5"}, {"Text8(3)", "109.37"}, {"Text8(4)", "437.5"}, {"Text8(5)", "437.5"},
    {"Text5(0)", "0.25"},  {"Text5(1)", "0.25"},   {"Text5(2)", "0.25"},  {"Text5(3)", "0.25"},
    {"Text5(4)", "0"},     {"Text5(5)", "0"},      {"Text4(1)", "0.5"},   {"Text4(0)", "0.05"},
};

constexpr TextRow kStartCaptions[] = {
    {"Command1", "R-->T"},  {"Command3", "on"},        {"Label3(14)", "Log(w/2pi)"},
    {"Label3(8)", "Array"}, {"Label3(13)", "Results"}, {"Label3(12)", "Lorentzians"},
    {"RunStatus", ""},
};

constexpr TextRow kStartSelections[] = {
    {"Combo1(1)", "0"},
    {"Combo1(2)", "-25"},
    {"Combo4", "log[R1,R2 1/s]"},
    {"Combo2", "c1"},
};

TEST_F(StartState, BoxesHoldTheDesignValuesAndTheNormalisedWeights) {
    Started();
    for (const auto& row : kStartTexts) {
        EXPECT_EQ(Control<QLineEdit>(row.control)->text(), row.text) << row.control;
    }
}

TEST_F(StartState, CaptionsAndListSelectionsAreTheStartValues) {
    Started();
    for (const auto& row : kStartCaptions) {
        const QWidget* control = Control(row.control);
        const QString text = qobject_cast<const QLabel*>(control)
                                 ? qobject_cast<const QLabel*>(control)->text()
                                 : qobject_cast<const QPushButton*>(control)->text();
        EXPECT_EQ(text, row.text) << row.control;
    }
    for (const auto& row : kStartSelections) {
        EXPECT_EQ(Control<QComboBox>(row.control)->currentText(), row.text) << row.control;
    }
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
    EXPECT_EQ(Control<QLineEdit>("Text3")->text(), programDirectory() + "/Lumen_Forge/");
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
    for (const char* name : {"Frame1(0)", "Picture2", "List2", "Dir1", "Combo3", "Text42(0)",
                             "Text42(8)", "Combo2", "Label3(6)", "Text4(0)", "Text4(1)"}) {
        EXPECT_FALSE(Control(name)->isVisible()) << name;
    }
}

}  // namespace
}  // namespace veldorin::test
