// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "measurements/measurements_window.h"
#include "motion/motion_window.h"
#include "protein_window/protein_window.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

// Claims every key before the shortcuts see it, as a line edit claims Ctrl+E, the end of
// the line, on Linux desktops.
class ClaimsKeys : public QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return false;
    }
};

class Keyboard : public WindowTest {
protected:
    SpinDiagram& Spins() const { return *controls().spinDiagram; }
    // A key pressed where the keyboard is, as the user presses it.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
};

TEST_F(Keyboard, TheToolWindowKeysWinOverTheControlWithTheKeyboard) {
    MainWindow& w = Started();
    QWidget* tools[] = {&w.motionWindow(), &w.measurementsWindow(), &w.proteinWindow()};
    const auto motionWindow = [&]() -> QWidget* {
        w.OpenMotionWindow();
        return w.motionWindow().findChild<QComboBox*>();
    };
    const std::tuple<const char*, std::function<QWidget*()>, Qt::Key, QWidget*> rows[] = {
        {"Ctrl+M in a weight box", [&] { return controls().weightBoxes[0]; }, Qt::Key_M, tools[0]},
        {"Ctrl+E in the CSA box", [&] { return controls().csaBox->lineEdit(); }, Qt::Key_E,
         tools[1]},
        {"Ctrl+P in the Motion window", motionWindow, Qt::Key_P, tools[2]},
    };
    ClaimsKeys claims;
    for (const auto& [name, box, key, opened] : rows) {
        for (QWidget* tool : tools) tool->hide();
        QWidget* control = box();
        control->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(control->window())) << name;
        control->setFocus();
        control->installEventFilter(&claims);
        Press(key, Qt::ControlModifier);
        EXPECT_TRUE(opened->isVisible()) << name;
    }
}

// README's first steps, the centre and the proton at 1.02 Å, by Tab, the arrows, Enter
// and typing: after the Lorentzians and the graph, Tab reaches the first label, and the
// arrows go on from there to the boxes, which are not tab stops.
TEST_F(Keyboard, TheSpinSystemIsEditedWithoutAPointer) {
    Started();
    ExpectPopups(true);
    controls().timeBoxes[kLorentzianCount - 1]->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), controls().graphCanvas);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Spins().ringed(), Spins().distanceLabel(0));
    Press(Qt::Key_Up);
    Press(Qt::Key_Left);
    ASSERT_EQ(Spins().ringed(), Spins().nucleusBox(kCentralSlot));
    Press(Qt::Key_Return);
    ASSERT_TRUE(controls().nucleusMenu->view()->isVisible());
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_EQ(window_->focusWidget(), Spins().nucleusBox(kCentralSlot));
    // The offscreen platform leaves the window inactive when a pop-up closes.
    QApplication::setActiveWindow(window_.get());
    Press(Qt::Key_Down);
    ASSERT_EQ(Spins().ringed(), Spins().nucleusBox(0));
    // Typed into the text the editor opens with, selected; a click selects it too.
    const std::tuple<QLineEdit*, QLabel*, Qt::Key, const char*> edits[] = {
        {controls().distanceEditor, Spins().distanceLabel(0), Qt::Key_Return, "1.02"},
        {controls().abundanceEditor, Spins().abundanceLabel(0), Qt::Key_Space, "2"}};
    for (const auto& [editor, label, opens, typed] : edits) {
        Press(Qt::Key_Tab);
        ASSERT_EQ(Spins().ringed(), label) << typed;
        Press(opens);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        Press(Qt::Key_Return);
        EXPECT_EQ(Spins().ringed(), label) << typed;
    }
    ModelTexts model = DefaultModel();
    model.slots[kCentralSlot].nucleus = "15N";
    model.slots[0] = {"1H", "1.02", "2"};
    EXPECT_EQ(ListLines(), EngineTableOf(model));
    for (const auto& [editor, label, opens, typed] : edits) {
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(editor->selectedText(), typed) << "after a click";
    }
}

// With every neighbour removed no label is shown: Tab then reaches the centre's box, and
// the arrows go on to an empty neighbour's.
TEST_F(Keyboard, ASpinSystemWithoutNeighboursIsReachedAtItsCentre) {
    Started();
    for (int slot = 0; slot < kNeighbourCount; ++slot) Spins().SetNucleus(slot, {});
    Spins().ShowNeighbours();
    controls().timeBoxes[kLorentzianCount - 1]->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Spins().ringed(), Spins().nucleusBox(kCentralSlot));
    Press(Qt::Key_Down);
    EXPECT_EQ(Spins().ringed(), Spins().nucleusBox(0));
}

TEST_F(Keyboard, TheMenuKeyOrShiftF10OpensTheGraphMenu) {
    Started();
    ExpectPopups(true);
    for (QKeyCombination key : {QKeyCombination(Qt::Key_Menu), Qt::SHIFT | Qt::Key_F10}) {
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        controls().timeBoxes[kLorentzianCount - 1]->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Tab);
        Press(key.key(), key.keyboardModifiers());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->parentWidget(), controls().graphCanvas);
        menu->hide();
    }
}

}  // namespace
}  // namespace veldorin::test
