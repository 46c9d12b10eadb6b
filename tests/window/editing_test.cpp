// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "graph_panel/graph_canvas.h"
#include "run_phases/run_phases.h"
#include "spins/spin_diagram.h"
#include "spins/spin_editors.h"
#include "tests/support/window_fixture.h"
#include "window/layout.h"

namespace veldorin::test {
namespace {

constexpr Rgb kYellow{255, 255, 128};
constexpr Rgb kPink{255, 192, 255};

// The table the engine computes for a model, in rates.
QStringList TableOf(ModelTexts model) {
    model.tableMode = TableMode::Rates;
    return EngineTableOf(model);
}

class Editing : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Started();
        runs_.emplace(window_.get(), &MainWindow::runStarted);
    }

    SpinDiagram& Spins() const { return *window_->controls().spinDiagram; }
    QComboBox* Menu() const { return controls().nucleusMenu; }
    QLineEdit* DistanceBox() const { return controls().distanceEditor; }
    QLineEdit* AbundanceBox() const { return controls().abundanceEditor; }
    QComboBox* Rex() const { return controls().rexBox; }
    QComboBox* Csa() const { return controls().csaBox; }
    QLineEdit* Weight(int i) const { return controls().weightBoxes[i]; }
    QLineEdit* Time(int i) const { return controls().timeBoxes[i]; }
    int Runs() const { return static_cast<int>(runs_->count()); }

    // Opens the list of a drop-down with the keyboard and chooses the row.
    static void Choose(QComboBox* list, int row) {
        QTest::keyPress(list, Qt::Key_F4);
        ASSERT_TRUE(list->view()->isVisible());
        QTest::keyClick(list->view(), Qt::Key_Home);
        for (int i = 0; i < row; ++i) QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Return);
    }

    void ChooseNucleus(int slot, const QString& nucleus) {
        QTest::mouseClick(Spins().nucleusBox(slot), Qt::LeftButton);
        const int row = Menu()->findText(nucleus);
        ASSERT_GE(row, 0) << nucleus.toStdString();
        Choose(Menu(), row);
    }

    // Clears a box with the keyboard, releasing nothing until the last key.
    static void SelectAllAndType(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // The list shows the engine's table of the model and "table.dat" holds it, line by
    // line with CR LF.
    void ExpectTableOf(const ModelTexts& model) {
        const QStringList lines = ListLines();
        EXPECT_EQ(lines, TableOf(model));
        EXPECT_EQ(TableFileBytes(), lines.join("\r\n").toLatin1() + "\r\n");
    }

    std::optional<QSignalSpy> runs_;
};

// Opening the nucleus menu

TEST_F(Editing, TheMenuOffersWhatThePressedSlotMayHoldAndShowsItsNucleus) {
    struct Row {
        const char* name;
        int slot;
        Qt::MouseButton button;
        QStringList items;
        QString shown;
    };
    const QStringList neighbour{"", "Like", "1H", "13C", "15N"};
    const Row rows[] = {
        {"central nucleus", 8, Qt::LeftButton, {"1H", "13C", "15N"}, "13C"},
        {"proton neighbour", 1, Qt::RightButton, neighbour, "1H"},
        {"empty neighbour", 6, Qt::MiddleButton, neighbour, ""},
    };
    for (const auto& row : rows) {
        QLineEdit* box = Spins().nucleusBox(row.slot);
        QTest::mousePress(box, row.button, {}, QPoint(2, 2));
        QTest::mouseRelease(box, row.button, {}, QPoint(2, 2));
        QStringList items;
        for (int i = 0; i < Menu()->count(); ++i) items << Menu()->itemText(i);
        EXPECT_EQ(items, row.items) << row.name;
        EXPECT_TRUE(Menu()->isVisible()) << row.name;
        EXPECT_EQ(Menu()->currentIndex(), -1) << row.name;
        EXPECT_EQ(Menu()->placeholderText(), row.shown) << row.name;
        EXPECT_EQ(Menu()->mapToGlobal(QPoint(0, 0)), box->mapToGlobal(QPoint(0, 0))) << row.name;
        EXPECT_EQ(window_->spinEditors().editedSlot(), row.slot) << row.name;
        EXPECT_EQ(box->text(), row.shown) << row.name;
    }
    EXPECT_EQ(Runs(), 0) << "opening the menu only redraws the diagram";
}

TEST_F(Editing, OpeningOneEditorHidesTheOthers) {
    QTest::mouseClick(Spins().distanceLabel(0), Qt::LeftButton);
    EXPECT_TRUE(DistanceBox()->isVisible());
    QTest::mouseClick(Spins().abundanceLabel(1), Qt::LeftButton);
    EXPECT_TRUE(AbundanceBox()->isVisible());
    EXPECT_FALSE(DistanceBox()->isVisible());
    QTest::mouseClick(Spins().nucleusBox(2), Qt::LeftButton);
    EXPECT_TRUE(Menu()->isVisible());
    EXPECT_FALSE(AbundanceBox()->isVisible());
    QTest::mouseClick(Spins().distanceLabel(2), Qt::LeftButton);
    EXPECT_TRUE(DistanceBox()->isVisible());
    EXPECT_FALSE(Menu()->isVisible());

    window_->panels().Reset();
    for (QWidget* editor : {static_cast<QWidget*>(Menu()), static_cast<QWidget*>(DistanceBox()),
                            static_cast<QWidget*>(AbundanceBox())}) {
        EXPECT_FALSE(editor->isVisible()) << editor->objectName().toStdString();
    }
    EXPECT_EQ(window_->spinEditors().editedSlot(), 2) << "the editors keep their last slot";
    EXPECT_EQ(Runs(), 0);
}

TEST_F(Editing, TheNucleusBoxesIgnoreTyping) {
    QLineEdit* box = Spins().nucleusBox(3);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "1H");
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(Runs(), 0);
}

// Choosing from the nucleus menu

TEST_F(Editing, LikeForAnEmptyNeighbourShowsItInTheCentralColour) {
    ChooseNucleus(3, "Like");
    EXPECT_EQ(Spins().nucleusBox(3)->text(), "Like");
    EXPECT_EQ(Spins().nucleusBack(3), kYellow);
    EXPECT_TRUE(Spins().bondVisible(3));
    EXPECT_TRUE(Spins().distanceLabel(3)->isVisible());
    EXPECT_TRUE(Spins().abundanceLabel(3)->isVisible());
    EXPECT_EQ(Spins().distanceLabel(3)->text(), "1.09");
    EXPECT_EQ(Spins().abundanceLabel(3)->text(), "1");
    EXPECT_EQ(Spins().kinds()[3], SlotKind::Like);
    EXPECT_FALSE(Menu()->isVisible());
    EXPECT_EQ(Runs(), 1);
    ModelTexts model = DefaultModel();
    model.slots[3].nucleus = "Like";
    ExpectTableOf(model);
}

TEST_F(Editing, ANewCentralNucleusStaysYellowAndKeepsLikeNeighboursYellow) {
    ChooseNucleus(3, "Like");
    ChooseNucleus(8, "15N");
    EXPECT_EQ(Spins().nucleusBox(8)->text(), "15N");
    EXPECT_EQ(Spins().nucleusBack(8), kYellow);
    EXPECT_EQ(Spins().nucleusBack(3), kYellow);
    EXPECT_EQ(Spins().kinds()[3], SlotKind::Like);
    EXPECT_EQ(Runs(), 2);
    ModelTexts model = DefaultModel();
    model.slots[3].nucleus = "Like";
    model.slots[8].nucleus = "15N";
    ExpectTableOf(model);
}

TEST_F(Editing, ChoosingTheNucleusAlreadySetStillRecalculates) {
    ChooseNucleus(8, "13C");
    EXPECT_EQ(Runs(), 1);
    ExpectTableOf(DefaultModel());
}

TEST_F(Editing, TheEmptyItemRemovesANeighbourAndAChoiceBackRestoresIt) {
    ChooseNucleus(1, "Like");
    ChooseNucleus(1, "");
    EXPECT_EQ(Spins().nucleusBox(1)->text(), "");
    EXPECT_EQ(Spins().nucleusBack(1), kPink);
    EXPECT_TRUE(Spins().nucleusBox(1)->isVisible());
    EXPECT_FALSE(Spins().distanceLabel(1)->isVisible());
    EXPECT_FALSE(Spins().bondVisible(1));
    ModelTexts model = DefaultModel();
    model.slots[1].nucleus = "";
    ExpectTableOf(model);

    ChooseNucleus(1, "1H");
    EXPECT_EQ(Spins().nucleusBack(1), kPink);
    EXPECT_EQ(Spins().distanceLabel(1)->text(), "1.09");
    ExpectTableOf(DefaultModel());
    EXPECT_EQ(Runs(), 3);
}

// The distance and abundance boxes

TEST_F(Editing, TheDistanceBoxOpensOverItsLabelWithTheFocus) {
    QLabel* label = Spins().distanceLabel(2);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(DistanceBox()->isVisible());
    EXPECT_TRUE(DistanceBox()->hasFocus());
    EXPECT_EQ(DistanceBox()->text(), "1.5");
    EXPECT_EQ(DistanceBox()->mapToGlobal(QPoint(0, 0)), label->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(window_->spinEditors().editedSlot(), 2);
    EXPECT_EQ(Runs(), 0);
}

TEST_F(Editing, TheAbundanceBoxOpensOverItsLabelAndWaitsForAClick) {
    QLabel* label = Spins().abundanceLabel(0);
    QTest::mouseClick(Weight(0), Qt::LeftButton);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(AbundanceBox()->isVisible());
    EXPECT_FALSE(AbundanceBox()->hasFocus());
    EXPECT_TRUE(Weight(0)->hasFocus());
    EXPECT_EQ(AbundanceBox()->text(), "1");
    EXPECT_EQ(AbundanceBox()->mapToGlobal(QPoint(0, 0)), label->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(window_->spinEditors().editedSlot(), 0);
}

// The keys of the distance box closing under them do not pass to the abundance box.
TEST_F(Editing, TheAbundanceBoxDoesNotInheritTheKeysOfTheDistanceBox) {
    QTest::mouseClick(Spins().distanceLabel(0), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(Spins().abundanceLabel(1), Qt::LeftButton, {}, QPoint(3, 3));
    const QString abundance = Spins().abundanceLabel(1)->text();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
    EXPECT_FALSE(AbundanceBox()->hasFocus());
    EXPECT_EQ(Spins().abundanceLabel(1)->text(), abundance);
}

TEST_F(Editing, APressWithoutReleaseOverALabelOpensNothing) {
    QTest::mousePress(Spins().distanceLabel(0), Qt::LeftButton);
    EXPECT_FALSE(DistanceBox()->isVisible());
    QTest::mouseRelease(Spins().distanceLabel(0), Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_FALSE(DistanceBox()->isVisible());
    QTest::mouseClick(Spins().abundanceLabel(0), Qt::RightButton);
    EXPECT_FALSE(AbundanceBox()->isVisible());
}

TEST_F(Editing, BackspacingToEmptyGivesTheDefaultAtThatRelease) {
    QTest::mouseClick(Spins().distanceLabel(0), Qt::LeftButton);
    QTest::keyClick(DistanceBox(), Qt::Key_Backspace);
    EXPECT_EQ(Spins().distanceLabel(0)->text(), "1.09");
    EXPECT_EQ(DistanceBox()->text(), "1.09");
    EXPECT_EQ(DistanceBox()->cursorPosition(), 4);

    QTest::mouseClick(Spins().abundanceLabel(2), Qt::LeftButton);
    QTest::mouseClick(AbundanceBox(), Qt::LeftButton);
    QTest::keyClick(AbundanceBox(), Qt::Key_End);
    QTest::keyClick(AbundanceBox(), Qt::Key_Backspace);
    EXPECT_EQ(AbundanceBox()->text(), "1");
    EXPECT_EQ(Spins().abundanceLabel(2)->text(), "1");
    EXPECT_EQ(Runs(), 3) << "one run per key release";
    ModelTexts model = DefaultModel();
    model.slots[0].distance = "1.09";
    ExpectTableOf(model);
}

TEST_F(Editing, TypedDistancesAndAbundancesAreCheckedAtEveryRelease) {
    struct Row {
        const char* name;
        bool distance;       // else the abundance
        const char* before;  // the box's text before the last key
        char key;
        const char* kept;
    };
    const Row rows[] = {
        {"distance zero", true, "", '0', "1.09"},
        {"distance zero with point", true, "0.", '0', "0.0"},
        {"distance double zero", true, "0", '0', "00"},
        {"distance letter", true, "1.5", 'x', "1.09"},
        {"abundance zero", false, "", '0', "1"},
        {"abundance half", false, "0.", '5', "0.5"},
        {"abundance above one", false, "", '2', "2"},
    };
    for (const auto& row : rows) {
        QLabel* label = row.distance ? Spins().distanceLabel(1) : Spins().abundanceLabel(1);
        QLineEdit* box = row.distance ? DistanceBox() : AbundanceBox();
        QTest::mouseClick(label, Qt::LeftButton);
        box->setText(row.before);
        QTest::keyClick(box, row.key);
        EXPECT_EQ(box->text(), row.kept) << row.name;
        EXPECT_EQ(label->text(), row.kept) << row.name;
        EXPECT_TRUE(box->isVisible()) << row.name << ": the box stays open";
    }
}

TEST_F(Editing, ADistanceTypedForSlotTwoChangesOnlyItsLabel) {
    QTest::mouseClick(Spins().distanceLabel(2), Qt::LeftButton);
    SelectAllAndType(DistanceBox(), "1.4");
    const ModelTexts defaults = DefaultModel();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SpinSlot shown = Spins().Slot(slot);
        EXPECT_EQ(shown.abundance, defaults.slots[slot].abundance) << slot;
        if (slot != 2) {
            EXPECT_EQ(shown.distance, defaults.slots[slot].distance) << slot;
        }
    }
    EXPECT_EQ(Spins().distanceLabel(2)->text(), "1.4");
    EXPECT_EQ(Runs(), 3);
    ModelTexts model = DefaultModel();
    model.slots[2].distance = "1.4";
    ExpectTableOf(model);
}

TEST_F(Editing, TheDistanceBoxAfterTheCentralMenuCommitsToNoLabel) {
    QTest::mouseClick(Spins().distanceLabel(0), Qt::LeftButton);
    window_->spinEditors().OpenNucleusMenu(kCentralSlot);
    window_->spinEditors().CommitDistance();
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        EXPECT_EQ(Spins().Slot(slot).distance, DefaultModel().slots[slot].distance) << slot;
    }
    EXPECT_EQ(Runs(), 1);
}

// The Rex and CSA boxes

TEST_F(Editing, ALoneMinusInTheCsaBoxBecomesZeroAtOnce) {
    Csa()->setFocus();
    Csa()->lineEdit()->selectAll();
    QTest::keyClick(Csa(), Qt::Key_Minus);
    EXPECT_EQ(Csa()->currentText(), "0");
    EXPECT_EQ(Csa()->lineEdit()->cursorPosition(), 1);
    QTest::keyClicks(Csa(), "50");
    EXPECT_EQ(Csa()->currentText(), "050");
    QTest::keyClick(Csa(), Qt::Key_Return);
    EXPECT_EQ(Csa()->count(), 3) << "typed values do not become items";
    EXPECT_EQ(Runs(), 4);
    ModelTexts model = DefaultModel();
    model.csa = "050";
    ExpectTableOf(model);
}

TEST_F(Editing, FiveChosenFromTheRexListRecalculatesWithRexFive) {
    Rex()->setFocus();
    Choose(Rex(), 6);
    EXPECT_EQ(Rex()->currentText(), "5");
    EXPECT_EQ(Runs(), 1);
    ModelTexts model = DefaultModel();
    model.rex = "5";
    ExpectTableOf(model);
}

TEST_F(Editing, AReleasedKeyLeavesTheCursorOfANumberWhereItWas) {
    Rex()->setFocus();
    Rex()->lineEdit()->selectAll();
    QTest::keyClicks(Rex(), "123");
    QTest::keyClick(Rex(), Qt::Key_Left);
    QTest::keyClick(Rex(), Qt::Key_Left);
    EXPECT_EQ(Rex()->lineEdit()->cursorPosition(), 1);
    EXPECT_EQ(Rex()->currentText(), "123");
    EXPECT_EQ(Runs(), 5);
}

// The Lorentzian columns

TEST_F(Editing, EmptyingAWeightBoxTurnsItIntoZero) {
    Weight(1)->setFocus();
    QTest::keyClick(Weight(1), Qt::Key_End);
    for (int i = 0; i < 4; ++i) QTest::keyClick(Weight(1), Qt::Key_Backspace);
    EXPECT_EQ(Weight(1)->text(), "0");
    EXPECT_EQ(controls().normalisedWeightBoxes[0]->text(), "0.333");
    EXPECT_EQ(Runs(), 5);
    ModelTexts model = DefaultModel();
    model.weights[1] = "0";
    ExpectTableOf(model);
}

TEST_F(Editing, OneReleaseCleansTheWholeColumnAndOnlyThatColumn) {
    Weight(5)->setText("-1");
    Time(4)->setText("bad");
    Weight(2)->setFocus();
    Weight(2)->end(false);
    QTest::keyClick(Weight(2), Qt::Key_Q);
    EXPECT_EQ(Weight(2)->text(), "0");
    EXPECT_EQ(Weight(5)->text(), "0");
    EXPECT_EQ(Time(4)->text(), "bad");
    EXPECT_EQ(Runs(), 1);

    QTest::keyClick(Time(0), Qt::Key_Right);
    EXPECT_EQ(Time(4)->text(), "0");
    EXPECT_EQ(Runs(), 2);
    ModelTexts model = DefaultModel();
    model.weights[2] = "0";
    model.times[4] = "0";
    ExpectTableOf(model);
}

TEST_F(Editing, AnExponentInATimeBoxStaysAndReadsAsThatManyPs) {
    // A lone "1e" is no number: the exponent goes in last.
    SelectAllAndType(Time(0), "13");
    QTest::keyClick(Time(0), Qt::Key_Left);
    QTest::keyClick(Time(0), Qt::Key_E);
    EXPECT_EQ(Time(0)->text(), "1e3");
    EXPECT_EQ(Runs(), 4);
    ModelTexts model = DefaultModel();
    model.times[0] = "1000";
    ExpectTableOf(model);
}

TEST_F(Editing, ATimeBeyondAnyNumberIsRefused) {
    SelectAllAndType(Time(3), "199");
    QTest::keyClick(Time(3), Qt::Key_Left);
    QTest::keyClick(Time(3), Qt::Key_Left);
    QTest::keyClick(Time(3), Qt::Key_E);
    EXPECT_EQ(Time(3)->text(), "1e99");
    QTest::keyClick(Time(3), Qt::Key_End);
    QTest::keyClick(Time(3), Qt::Key_9);
    EXPECT_EQ(Time(3)->text(), "0");
}

TEST_F(Editing, AnArrowKeyReleaseCleansAndRecalculates) {
    Weight(0)->setText("");
    QTest::keyClick(Weight(0), Qt::Key_Left);
    EXPECT_EQ(Weight(0)->text(), "0");
    EXPECT_EQ(Runs(), 1);
    ModelTexts model = DefaultModel();
    model.weights[0] = "0";
    ExpectTableOf(model);
}

TEST_F(Editing, ATextThatStandsKeepsItsCursorAndAReplacedOneEndsAtTheEnd) {
    Time(2)->setFocus();
    Time(2)->setCursorPosition(2);
    QTest::keyClick(Time(2), Qt::Key_Right);
    EXPECT_EQ(Time(2)->cursorPosition(), 3);
    Time(2)->setText("-437.5");
    Time(2)->setCursorPosition(4);
    QTest::keyClick(Time(2), Qt::Key_Shift);
    EXPECT_EQ(Time(2)->text(), "0");
    EXPECT_EQ(Time(2)->cursorPosition(), 1);
}

TEST_F(Editing, WeightsAllZeroLeaveTheShownResultsAsTheyWere) {
    for (int i = 0; i < 3; ++i) SelectAllAndType(Weight(i), "0");
    const QStringList normalised = [this] {
        QStringList texts;
        for (int i = 0; i < kLorentzianCount; ++i) {
            texts << controls().normalisedWeightBoxes[i]->text();
        }
        return texts;
    }();
    const QStringList table = ListLines();
    const QByteArray file = TableFileBytes();
    const QImage picture = controls().graphCanvas->image();
    EXPECT_EQ(normalised.at(3), "1");

    SelectAllAndType(Weight(3), "0");
    for (int i = 0; i < kLorentzianCount; ++i) {
        EXPECT_EQ(controls().normalisedWeightBoxes[i]->text(), normalised.at(i)) << i;
    }
    EXPECT_EQ(ListLines(), table);
    EXPECT_EQ(TableFileBytes(), file);
    EXPECT_EQ(controls().graphCanvas->image(), picture);
}

// Held keys

TEST_F(Editing, RepeatedReleasesOfAHeldKeyDoNotRecalculate) {
    struct Row {
        const char* name;
        QWidget* box;
    };
    const Row rows[] = {
        {"weight", Weight(4)},
        {"time", Time(4)},
        {"csa", Csa()},
        {"distance", DistanceBox()},
    };
    QTest::mouseClick(Spins().distanceLabel(0), Qt::LeftButton);
    for (const auto& row : rows) {
        for (int repeat = 0; repeat < 3; ++repeat) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x", repeat > 0);
            QApplication::sendEvent(row.box, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x", true);
            QApplication::sendEvent(row.box, &release);
        }
        EXPECT_EQ(Runs(), 0) << row.name;
    }
    EXPECT_TRUE(Weight(4)->text().endsWith("xxx")) << "held letters not yet checked";

    QKeyEvent last(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x", false);
    QApplication::sendEvent(Weight(4), &last);
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(Weight(4)->text(), "0");
}

}  // namespace
}  // namespace veldorin::test
