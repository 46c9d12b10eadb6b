// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"
#include "window/layout.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

using Layout = WindowTest;

struct ConversionRow {
    double twips;
    int pixels;
};

TEST(TwipScale, ConvertsAtFifteenTwipsPerPixelAt96Dpi) {
    const TwipScale scale(96.0);
    for (const auto& row :
         {ConversionRow{15, 1}, ConversionRow{7965, 531}, ConversionRow{7785, 519},
          ConversionRow{610, 41}, ConversionRow{7, 0}, ConversionRow{8, 1}, ConversionRow{0, 0}}) {
        EXPECT_EQ(scale.ToPixels(row.twips), row.pixels) << row.twips;
    }
    EXPECT_DOUBLE_EQ(scale.ToTwips(257), 3855.0);
    EXPECT_EQ(TwipScale(144.0).ToPixels(7965), 797);
}

QRect InClientArea(const QWidget* widget, const QWidget* clientArea) {
    return {widget->mapTo(clientArea, QPoint(0, 0)), widget->size()};
}

// The one test that finds controls by their design names, as automation does: every row
// of the layout table, at its place in its parent converted at 96 DPI, in its face.
TEST_F(Layout, AutomationFindsEveryControlOfTheTableAtItsPlaceInItsFace) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    Started();
    EXPECT_EQ(window_->centralWidget()->size(), QSize(531, 519));
    const TwipScale scale(96.0);
    for (const ControlSpec& entry : ControlTable()) {
        const QWidget* control = Control(entry.objectName);
        ASSERT_NE(control, nullptr) << entry.objectName;
        EXPECT_EQ(control->geometry(), scale.Rect(entry.place)) << entry.objectName;
        EXPECT_TRUE(control->font().bold()) << entry.objectName;
        EXPECT_EQ(control->font().pointSizeF(), entry.look.points) << entry.objectName;
        EXPECT_EQ(control->font().italic(), entry.look.italic) << entry.objectName;
    }
    const SpinDiagram& spins = *controls().spinDiagram;
    const QWidget* clientArea = window_->centralWidget();
    EXPECT_EQ(InClientArea(spins.nucleusBox(8), clientArea), QRect(96, 72, 33, 21));
    EXPECT_EQ(InClientArea(spins.distanceLabel(1), clientArea), QRect(120, 40, 25, 11));
    EXPECT_EQ(InClientArea(spins.abundanceLabel(6), clientArea), QRect(8, 99, 25, 11));
    EXPECT_EQ(spins.nucleusBox(8)->font().pointSizeF(), 9.75);
}

// The parts that are not rows of the table keep their design names too.
TEST_F(Layout, AutomationFindsThePartsOutsideTheTableByTheirNames) {
    Started();
    const OptionsPanel& options = *controls().optionsPanel;
    const SpinDiagram& spins = *controls().spinDiagram;
    EXPECT_EQ(Control("Form"), window_->centralWidget());
    EXPECT_EQ(Control("Frame1(0)"), static_cast<const QWidget*>(&options));
    EXPECT_EQ(Control("Label3(25)"), options.directoryCaption());
    EXPECT_EQ(Control("Text3"), options.directoryBox());
    EXPECT_EQ(Control("Dir1"), static_cast<QWidget*>(options.directoryList()));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(Control(Element("Text1", slot)), spins.nucleusBox(slot)) << slot;
        EXPECT_EQ(Control(Element("Label1", slot)), spins.abundanceLabel(slot)) << slot;
        if (slot < kNeighbourCount) {
            EXPECT_EQ(Control(Element("Label2", slot)), spins.distanceLabel(slot)) << slot;
        }
    }
    for (int letter = 0; letter < WordMark::kLetterCount; ++letter) {
        EXPECT_EQ(Control(Element("Label16", letter)), window_->wordMark().letter(letter));
    }
    EXPECT_EQ(window_->objectName(), "Modeling");
}

TEST_F(Layout, SpinDiagramColoursAndTooltips) {
    Started();
    const SpinDiagram& spins = *controls().spinDiagram;
    EXPECT_EQ(spins.nucleusBox(8)->palette().color(QPalette::Base), QColor(255, 255, 128));
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        EXPECT_EQ(spins.nucleusBox(slot)->palette().color(QPalette::Base), QColor(255, 192, 255));
        EXPECT_EQ(spins.abundanceLabel(slot)->palette().color(QPalette::WindowText), Qt::red);
        EXPECT_EQ(spins.distanceLabel(slot)->palette().color(QPalette::WindowText), Qt::black);
        EXPECT_EQ(spins.distanceLabel(slot)->toolTip(), "distance, A");
        EXPECT_EQ(spins.abundanceLabel(slot)->toolTip(), "Abundance");
        const bool leftHalf = slot == 0 || slot >= 5;
        EXPECT_EQ(spins.abundanceLabel(slot)->alignment().testFlag(Qt::AlignRight), leftHalf)
            << slot;
    }
}

TEST_F(Layout, TabGoesThroughTheGraphListButtonsAndLorentzianRowsPairwise) {
    Started();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    const WindowControls& c = controls();
    c.plotList->setFocus();
    // The array parameter list is hidden at start and so is skipped.
    std::vector<QWidget*> expected = {c.tableModeButton, c.arrayButton};
    for (int row = 0; row < kLorentzianCount; ++row) {
        expected.push_back(c.weightBoxes[row]);
        expected.push_back(c.timeBoxes[row]);
    }
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->accessibleName().toStdString();
    }
    const SpinDiagram& spins = *c.spinDiagram;
    for (int press = 0; press < 20; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        EXPECT_NE(focus, c.arrayFromBox);
        EXPECT_NE(focus, c.arrayStepBox);
        for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_NE(focus, spins.nucleusBox(slot));
    }
}

}  // namespace
}  // namespace veldorin::test
