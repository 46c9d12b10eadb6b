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
#include "window/layout.h"

namespace veldorin::test {
namespace {

using C = WindowControls;

class Panels : public WindowTest {
protected:
    // The panels of the menu and the spin system's editors.
    std::vector<QWidget*> PanelsAndEditors() const {
        const C& c = controls();
        return {c.optionsPanel, c.theoryPage,     c.aboutList,
                c.nucleusMenu,  c.distanceEditor, c.abundanceEditor};
    }

    // Opens every panel and editor and moves the graph, its list and the help list.
    void Disarrange() {
        for (QWidget* part : PanelsAndEditors()) part->show();
        controls().graphCanvas->setGeometry(0, 0, 531, 385);
        controls().plotList->move(0, 0);
        controls().helpList->setGeometry(16, 0, 499, 500);
    }

    void ExpectStandardArrangement() {
        for (const QWidget* part : PanelsAndEditors()) {
            EXPECT_FALSE(part->isVisible()) << part->accessibleName().toStdString();
        }
        const TwipScale scale(96.0);
        EXPECT_EQ(controls().graphCanvas->geometry(), scale.Rect(kGraphPlace));
        EXPECT_EQ(controls().plotList->geometry(), scale.Rect(kGraphOptionPlace));
        EXPECT_EQ(controls().helpList->geometry(), scale.Rect(kHelpListPlace));
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
    const C& c = controls();
    for (const QWidget* part : std::initializer_list<const QWidget*>{
             c.arrayParameterList, c.arrayStepBox, c.arrayFromBox, c.arrayRangeCaption}) {
        EXPECT_TRUE(part->isVisible()) << part->accessibleName().toStdString();
    }
    QTest::mouseClick(controls().arrayButton, Qt::LeftButton);
    EXPECT_EQ(controls().arrayButton->text(), "on");
    EXPECT_FALSE(controls().arrayParameterList->isVisible());
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

// A part opened first (a menu item or a control clicked; neither: none), a key, and the
// pointer's way to what the key does: a move onto the bare margin, Help, or close().
enum class Way { Background, HelpItem, CloseButton };
QWidget* FirstDistance(const C& c) { return c.spinDiagram->distanceLabel(0); }
const std::tuple<std::optional<Panel>, ControlOf, QKeyCombination, Way> kKeyRows[] = {
    {Panel::About, nullptr, Qt::Key_Escape, Way::Background},
    {std::nullopt, FirstDistance, Qt::Key_Escape, Way::Background},
    {std::nullopt, Of<&C::graphCanvas>, Qt::Key_Escape, Way::Background},
    {std::nullopt, nullptr, Qt::Key_F1, Way::HelpItem},
    {std::nullopt, nullptr, Qt::CTRL | Qt::Key_Q, Way::CloseButton},
};

TEST_F(Panels, EachKeyDoesWhatItsPointerWayDoes) {
    Started();
    const auto item = [this](Panel panel) {
        for (const MenuItemSpec& entry : MenuTable()) {
            if (entry.panel == panel) return window_->findChild<QAction*>(entry.objectName);
        }
        return static_cast<QAction*>(nullptr);
    };
    const auto open = [&](std::optional<Panel> menu, ControlOf clicked) {
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->panels().Reset();
        QTest::mouseMove(controls().graphCanvas, QPoint(100, 100));  // the readout shows
        if (menu) item(*menu)->trigger();
        if (clicked) QTest::mouseClick(Reached(clicked), Qt::LeftButton, {}, QPoint(3, 3));
    };
    const auto now = [this] {
        QString shown;
        QDebug out(&shown);
        std::vector<QWidget*> parts = PanelsAndEditors();
        parts.insert(parts.end(),
                     {controls().graphCanvas, controls().plotList, controls().helpList});
        for (const QWidget* part : parts) out << part->isVisible() << part->geometry();
        return shown + controls().verticalReadout->text() + controls().horizontalReadout->text();
    };
    for (const auto& [menu, clicked, key, way] : kKeyRows) {
        open(menu, clicked);
        if (way == Way::Background) QTest::mouseMove(window_->centralWidget(), QPoint(4, 420));
        if (way == Way::HelpItem) item(Panel::Help)->trigger();
        if (way == Way::CloseButton) window_->close();
        const QString expected = now();
        open(menu, clicked);
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(now(), expected) << QKeySequence(key).toString().toStdString();
    }
}

}  // namespace
}  // namespace veldorin::test
