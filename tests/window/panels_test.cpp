// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

class Panels : public WindowTest {
protected:
    // Opens every panel and editor and moves the graph, its list and the help list.
    void Disarrange() {
        for (const char* name :
             {"Form", "Frame1(0)", "Picture2", "List2", "Combo3", "Text42(0)", "Text42(8)"}) {
            Control(name)->show();
        }
        controls().graphCanvas->setGeometry(0, 0, 531, 385);
        controls().plotList->move(0, 0);
        controls().helpList->setGeometry(16, 0, 499, 500);
    }

    void ExpectStandardArrangement() {
        for (const char* name :
             {"Frame1(0)", "Picture2", "List2", "Combo3", "Text42(0)", "Text42(8)"}) {
            EXPECT_FALSE(Control(name)->isVisible()) << name;
        }
        EXPECT_EQ(controls().graphCanvas->geometry(), QRect(248, 184, 257, 201));
        EXPECT_EQ(controls().plotList->pos(), QPoint(248, 168));
        EXPECT_EQ(controls().helpList->geometry(), QRect(16, 432, 499, 69));
    }
};

TEST_F(Panels, ResetWithTheGraphInPlaceClosesPanelsWithoutRecalculating) {
    Started();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    Disarrange();
    window_->panels().Reset();
    ExpectStandardArrangement();
    EXPECT_EQ(runs.count(), 0);
    EXPECT_FALSE(window_->state().graphEnlarged);
}

TEST_F(Panels, ResetWithTheGraphEnlargedRecalculatesOnceAndClearsTheFlag) {
    Started();
    Disarrange();
    window_->panels().ToggleGraphEnlarged();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    window_->panels().Reset();
    ExpectStandardArrangement();
    EXPECT_EQ(runs.count(), 1);
    EXPECT_FALSE(window_->state().graphEnlarged);
}

TEST_F(Panels, ResetLeavesTheArrayControlsAsTheyAre) {
    Started();
    QTest::mouseClick(controls().arrayButton, Qt::LeftButton);
    window_->panels().Reset();
    EXPECT_EQ(controls().arrayButton->text(), "off");
    for (const char* name : {"Combo2", "Text4(0)", "Text4(1)", "Label3(6)"}) {
        EXPECT_TRUE(Control(name)->isVisible()) << name;
    }
    QTest::mouseClick(controls().arrayButton, Qt::LeftButton);
    EXPECT_EQ(controls().arrayButton->text(), "on");
    EXPECT_FALSE(controls().arrayParameterList->isVisible());
}

struct HoverRow {
    const char* name;
    const char* control;  // empty: the client area itself
    QPoint at;            // in the control
    bool resets;
};

// Bare background, frames, disabled controls and the graph panel reset the panels;
// other enabled controls keep the pointer moves over them to themselves.
const HoverRow kHoverRows[] = {
    {"bare background", "", {300, 420}, true},
    {"spin frame background", "Frame1(1)", {20, 150}, true},
    {"disabled column heading", "Label3(11)", {5, 5}, true},
    {"disabled row numbers", "Label3(9)", {5, 40}, true},
    {"disabled axis caption", "Label3(14)", {40, 8}, true},
    {"enabled heading", "Label3(12)", {10, 5}, false},
    {"results list", "List3", {100, 40}, false},
    {"weight box", "Text7(2)", {10, 5}, false},
    {"array button", "Command3", {10, 5}, false},
    {"graph panel", "Picture1", {100, 100}, true},
    {"help list", "List1", {100, 30}, false},
};

TEST_F(Panels, PointerMovesResetThePanelsOnlyOverTheBackground) {
    Started();
    for (const auto& row : kHoverRows) {
        // An open panel, kept behind everything so that it does not catch the pointer.
        controls().aboutList->show();
        controls().aboutList->lower();
        QWidget* target = *row.control ? Control(row.control) : window_->centralWidget();
        // A move elsewhere first, so that the move under test is a real change of place.
        QTest::mouseMove(controls().tableModeButton, QPoint(5, 5));
        QTest::mouseMove(target, row.at);
        EXPECT_EQ(!controls().aboutList->isVisible(), row.resets) << row.name;
    }
}

TEST_F(Panels, AMoveOverASpinLabelStaysWithTheLabel) {
    Started();
    controls().aboutList->show();
    controls().aboutList->lower();
    QTest::mouseMove(window_->controls().spinDiagram->distanceLabel(0), QPoint(3, 3));
    EXPECT_TRUE(controls().aboutList->isVisible());
    QTest::mouseMove(window_->controls().spinDiagram->nucleusBox(8), QPoint(5, 5));
    EXPECT_TRUE(controls().aboutList->isVisible());
}

// A part opened first (a menu item, or a control clicked; empty: none), a key, and the
// pointer's way to what the key does: a move onto the bare margin, Help, or close().
enum class Way { Background, HelpItem, CloseButton };
const std::tuple<const char*, QKeyCombination, Way> kKeyRows[] = {
    {"About_", Qt::Key_Escape, Way::Background},   {"Label2(0)", Qt::Key_Escape, Way::Background},
    {"Picture1", Qt::Key_Escape, Way::Background}, {"", Qt::Key_F1, Way::HelpItem},
    {"", Qt::CTRL | Qt::Key_Q, Way::CloseButton},
};

TEST_F(Panels, EachKeyDoesWhatItsPointerWayDoes) {
    Started();
    const auto open = [this](const char* part) {
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->panels().Reset();
        QTest::mouseMove(controls().graphCanvas, QPoint(100, 100));  // the readout shows
        if (auto* item = window_->findChild<QAction*>(part))
            item->trigger();
        else if (*part)
            QTest::mouseClick(Control(part), Qt::LeftButton, {}, QPoint(3, 3));
    };
    const auto now = [this] {
        QString shown;
        QDebug out(&shown);
        for (const char* name : {"Frame1(0)", "Picture2", "List2", "Combo3", "Text42(0)",
                                 "Text42(8)", "Picture1", "Combo4", "List1"}) {
            out << name << Control(name)->isVisible() << Control(name)->geometry();
        }
        return shown + controls().verticalReadout->text() + controls().horizontalReadout->text();
    };
    for (const auto& [part, key, way] : kKeyRows) {
        open(part);
        if (way == Way::Background) QTest::mouseMove(window_->centralWidget(), QPoint(4, 420));
        if (way == Way::HelpItem) window_->findChild<QAction*>("h")->trigger();
        if (way == Way::CloseButton) window_->close();
        const QString expected = now();
        open(part);
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(now(), expected) << part << " " << QKeySequence(key).toString().toStdString();
    }
}

}  // namespace
}  // namespace veldorin::test
