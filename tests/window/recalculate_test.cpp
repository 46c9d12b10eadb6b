// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "engine/results_table.h"
#include "results/results_list.h"
#include "spins/spin_diagram.h"
#include "storage/model_file.h"
#include "tests/support/paint_counter.h"
#include "tests/support/window_fixture.h"
#include "window/layout.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

using Recalculating = WindowTest;

struct KindRow {
    const char* name;
    int slot;
    const char* nucleus;
    SlotKind kind;
};

// Only the empty text is Empty and only exactly "Like" is Like.
const KindRow kKindRows[] = {
    {"emptied neighbour", 0, "", SlotKind::Empty},
    {"like", 3, "Like", SlotKind::Like},
    {"lower-case like", 4, "like", SlotKind::Unlike},
    {"lower-case proton", 5, "1h", SlotKind::Unlike},
    {"nitrogen", 7, "15N", SlotKind::Unlike},
};

TEST_F(Recalculating, HiddenWindowOnlyDerivesTheKinds) {
    Constructed();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    SpinDiagram& spins = *window_->controls().spinDiagram;
    for (const auto& row : kKindRows) spins.nucleusBox(row.slot)->setText(row.nucleus);

    window_->Recalculate();

    for (const auto& row : kKindRows) {
        const bool present = row.kind != SlotKind::Empty;
        EXPECT_EQ(spins.kinds()[row.slot], row.kind) << row.name;
        EXPECT_EQ(spins.distanceLabel(row.slot)->isVisibleTo(&spins), present) << row.name;
        EXPECT_EQ(spins.abundanceLabel(row.slot)->isVisibleTo(&spins), present) << row.name;
        EXPECT_EQ(spins.bondVisible(row.slot), present) << row.name;
    }
    EXPECT_EQ(runs.count(), 0);
    EXPECT_EQ(ListLines(), QStringList());
    EXPECT_EQ(controls().normalisedWeightBoxes[0]->text(), "0.25");
    EXPECT_EQ(controls().axisCaption->text(), "log(w/2pi)  ");
}

TEST_F(Recalculating, AnEmptiedSlotKeepsItsCaptionsForWhenItReturns) {
    Started();
    SpinDiagram& spins = *window_->controls().spinDiagram;
    spins.nucleusBox(2)->setText("");
    window_->Recalculate();
    EXPECT_FALSE(spins.distanceLabel(2)->isVisible());
    spins.nucleusBox(2)->setText("13C");
    window_->Recalculate();
    EXPECT_TRUE(spins.distanceLabel(2)->isVisible());
    EXPECT_EQ(spins.distanceLabel(2)->text(), "1.5");
}

// A key anywhere recalculates; the diagram is drawn again only when a bond came or went.
TEST_F(Recalculating, TheDiagramIsDrawnAgainOnlyWhenItsBondsChange) {
    Started();
    SpinDiagram& spins = *window_->controls().spinDiagram;
    const PaintCounter counter(&spins);
    const auto paintsOfRun = [&] {
        QCoreApplication::processEvents();
        const int before = counter.paints;
        window_->Recalculate();
        QCoreApplication::processEvents();
        return counter.paints - before;
    };
    EXPECT_EQ(paintsOfRun(), 0);
    spins.nucleusBox(2)->setText("");
    EXPECT_GT(paintsOfRun(), 0);
    EXPECT_EQ(paintsOfRun(), 0);
}

TEST_F(Recalculating, PressingTheTableButtonTwiceRestoresCaptionAndLines) {
    Started();
    auto* button = controls().tableModeButton;
    const QStringList rates = ListLines();

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), "T-->R");
    EXPECT_EQ(ListLines(), DefaultTable(TableMode::Times));
    EXPECT_EQ(ListLines().front(), "f, MHz\tNOE\t1/CRR,s\tT1, s\tT2, s");
    EXPECT_EQ(TableFileBytes(), ListLines().join("\r\n").toLatin1() + "\r\n");

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), "R-->T");
    EXPECT_EQ(ListLines(), rates);
    EXPECT_EQ(TableFileBytes(), rates.join("\r\n").toLatin1() + "\r\n");
}

TEST_F(Recalculating, ARunNestedInTheEventProcessingEndsTheOuterRun) {
    Started();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    QSignalSpy curves(window_.get(), &MainWindow::curvesStarted);
    // A press of the table button waiting in the queue runs while the outer run lets
    // events through, with the then current inputs.
    QMetaObject::invokeMethod(
        window_.get(), [this] { window_->OnTableModeClicked(); }, Qt::QueuedConnection);
    window_->Recalculate();

    EXPECT_EQ(runs.count(), 2);
    EXPECT_EQ(curves.count(), 1) << "the outer run drew curves over the nested run's picture";
    EXPECT_EQ(ListLines(), DefaultTable(TableMode::Times));
}

// An input that makes the table phase fail, and how to mend it.
struct FailureRow {
    const char* name;
    ControlOf control;  // a line edit or label whose text breaks the run
    const char* bad;
    const char* good;
    FailureReason reason;
};

using C = WindowControls;
QWidget* FirstDistance(const C& c) { return c.spinDiagram->distanceLabel(0); }

const FailureRow kFailureRows[] = {
    {"weight not a number", Of<&C::weightBoxes, 0>, "x", "0.25", FailureReason::NotNumeric},
    {"time not a number", Of<&C::timeBoxes, 3>, "", "109.37", FailureReason::NotNumeric},
    {"distance of zero", FirstDistance, "0", "2", FailureReason::DivisionByZero},
};

// The tooltips of the list's lines, header first.
QStringList LineTooltips(const ResultsList& list) {
    QStringList tooltips;
    for (int row = 0; row < list.count(); ++row) tooltips.append(list.item(row)->toolTip());
    return tooltips;
}

// A table that is not current shows no breakdown of its rows.
bool NoTooltips(const ResultsList& list) { return LineTooltips(list).join(QString()).isEmpty(); }

TEST_F(Recalculating, AFailedRunGreysTheOldTableAndSaysWhyUntilARunCompletes) {
    Started();
    auto* list = controls().resultsList;
    auto* status = controls().failureLine;
    const QStringList table = ListLines();
    const QStringList tooltips = LineTooltips(*list);
    ASSERT_EQ(tooltips.size(), 7);
    // A box takes a paste; a distance its editor refuses comes from a model file.
    const auto SetText = [this](QWidget* control, const char* text) {
        if (auto* box = qobject_cast<QLineEdit*>(control)) Paste(box, text);
        if (control != FirstDistance(controls())) return;
        ModelDocument document = window_->document();
        document.texts.slots[0].distance = text;
        const QString path = programDirectory() + "/distance.veldorin";
        ASSERT_EQ(WriteModelFile(path, document), std::nullopt);
        ASSERT_EQ(window_->modelFiles().Open(path), std::nullopt);
    };
    EXPECT_EQ(tooltips[0], "");
    EXPECT_TRUE(tooltips[5].startsWith("Rates at 600 MHz, 1/s\nslot 1 (1H, 2 A, abundance 1)"));
    for (const auto& row : kFailureRows) {
        QWidget* control = Reached(row.control);
        SetText(control, row.bad);
        window_->Recalculate();
        const QString expected = "not recalculated: " + QString::fromLatin1(Describe(row.reason));
        EXPECT_TRUE(list->stale()) << row.name;
        EXPECT_EQ(status->toolTip(), expected) << row.name;
        EXPECT_TRUE(status->text().startsWith("not recalc")) << row.name;
        EXPECT_EQ(ListLines(), table) << row.name;
        EXPECT_TRUE(NoTooltips(*list)) << row.name;

        SetText(control, row.good);
        window_->Recalculate();
        EXPECT_FALSE(list->stale()) << row.name;
        EXPECT_EQ(status->text(), "") << row.name;
        EXPECT_EQ(ListLines(), table) << row.name;
        EXPECT_EQ(LineTooltips(*list), tooltips) << row.name;
    }
}

TEST_F(Recalculating, AnUnwritableTableFileKeepsTheListAndIsReported) {
    Started();
    QFile plainFile(programDirectory() + "/plain");
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    auto* workingDirectory = controls().optionsPanel->directoryBox();
    const QString good = workingDirectory->text();
    const QStringList rates = ListLines();

    workingDirectory->setText(plainFile.fileName() + "/below/");
    QTest::mouseClick(controls().tableModeButton, Qt::LeftButton);
    EXPECT_EQ(ListLines(), rates);
    EXPECT_TRUE(controls().resultsList->stale());
    EXPECT_TRUE(NoTooltips(*controls().resultsList));
    EXPECT_EQ(controls().failureLine->toolTip(), "not recalculated: table.dat cannot be written");

    workingDirectory->setText(good);
    QTest::mouseClick(controls().tableModeButton, Qt::LeftButton);
    EXPECT_EQ(ListLines(), rates);
    EXPECT_FALSE(controls().resultsList->stale());
    EXPECT_EQ(controls().failureLine->text(), "");
    EXPECT_EQ(TableFileBytes(), rates.join("\r\n").toLatin1() + "\r\n");
}

TEST_F(Recalculating, WeightsSummingToZeroStopWithoutAFailure) {
    Started();
    const QStringList table = ListLines();
    for (int i = 0; i < 6; ++i) Paste(controls().weightBoxes[i], "0");
    window_->Recalculate();
    EXPECT_EQ(controls().normalisedWeightBoxes[0]->text(), "0.25");
    EXPECT_EQ(ListLines(), table);
    EXPECT_FALSE(controls().resultsList->stale());
    EXPECT_EQ(controls().failureLine->text(), "");
}

TEST_F(Recalculating, NormalisedWeightsAreCutToThreeDecimals) {
    Started();
    const char* weights[] = {"1", "1", "1", "0", "0", "0"};
    for (int i = 0; i < 6; ++i) Paste(controls().weightBoxes[i], weights[i]);
    window_->Recalculate();
    const char* shown[] = {"0.333", "0.333", "0.333", "0", "0", "0"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(controls().normalisedWeightBoxes[i]->text(), shown[i]);
}

}  // namespace
}  // namespace veldorin::test
