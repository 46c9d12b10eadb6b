// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include "graph_panel/graph_canvas.h"
#include "graph_panel/graph_interaction.h"
#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

class GraphPanel : public WindowTest {
protected:
    GraphCanvas* Canvas() const { return controls().graphCanvas; }
    QString Vertical() const { return controls().verticalReadout->text(); }
    QString Horizontal() const { return controls().horizontalReadout->text(); }

    void ChoosePlot(int index) {
        controls().plotList->setCurrentIndex(index);
        window_->Recalculate();
    }

    // A move to a point given as fractions of the panel's size. Pixels alone cannot reach
    // the bottom and right edges nor land between two readout steps, so the move carries
    // the exact position, as a high-resolution pointer would.
    void PointAt(double xFraction, double yFraction) {
        QWidget* panel = Canvas();
        const QPointF at(xFraction * panel->width(), yFraction * panel->height());
        QMouseEvent move(QEvent::MouseMove, at, panel->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
    }

    static constexpr QRect kStandard{248, 184, 257, 201};
    static constexpr QRect kEnlarged{0, 0, 531, 386};
};

enum Plot { F, J, Rates, Ct, Noe };

struct ReadoutRow {
    const char* name;
    int plot;
    double x, y;  // fractions of the panel's width and height
    const char* vertical;
    const char* horizontal;
};

const ReadoutRow kReadouts[] = {
    {"NOE at the bottom left corner", Noe, 0, 1, "-5.5", "1.4 MHz"},
    {"NOE at the top edge", Noe, 0.5, 0, "2.5", "45.2 MHz"},
    {"NOE between -2.35 and -2.34 cuts down", Noe, 0.5, 0.605625, "-2.35", "45.2 MHz"},
    {"NOE between 2.34 and 2.35 cuts down", Noe, 0.5, 0.019375, "2.34", "45.2 MHz"},
    {"C(t) at the left edge", Ct, 0, 0, "1", "0 ps"},
    {"C(t) at the right edge", Ct, 1, 1, "0.049", "10200 ps"},
    {"rates at the top, just under 80", Rates, 1, 0, "79.9 1/s", "1432.3 MHz"},
    {"J at the top, just under 10000 ps", J, 0, 0, "9999.9 ps", "1.4 MHz"},
    {"F at the bottom, just under 0.01", F, 0, 1, "0.009", "1.4 MHz"},
};

TEST_F(GraphPanel, ReadoutShowsThePointerInTheUnitsOfThePlot) {
    Started();
    for (const auto& row : kReadouts) {
        ChoosePlot(row.plot);
        PointAt(row.x, row.y);
        EXPECT_EQ(Vertical(), row.vertical) << row.name;
        EXPECT_EQ(Horizontal(), row.horizontal) << row.name;
    }
}

TEST_F(GraphPanel, ARealMoveReadsOutAndShowsThePlotHelp) {
    Started();
    ChoosePlot(Noe);
    QTest::mouseMove(Canvas(), QPoint(0, 100));
    EXPECT_EQ(Horizontal(), "1.4 MHz");
    // 100 of 201 pixels down: 8 * 101 / 201 - 5.5 = -1.4801, cut to -1.49.
    EXPECT_EQ(Vertical(), "-1.49");
    const auto* help = controls().helpList;
    EXPECT_EQ(help->item(help->indexAt(QPoint(1, 1)).row() - 2)->text(), "Plot");
}

TEST_F(GraphPanel, ADragReadsOutAndReachesTheBackgroundLikeAnyMove) {
    Started();
    ChoosePlot(Noe);
    QTest::mousePress(Canvas(), Qt::MiddleButton, {}, QPoint(10, 10));
    QTest::mouseMove(Canvas(), QPoint(0, 100));
    EXPECT_EQ(Vertical(), "-1.49");
    EXPECT_EQ(Horizontal(), "1.4 MHz");

    controls().aboutList->show();
    controls().aboutList->lower();
    QTest::mouseMove(window_->centralWidget(), QPoint(300, 420));  // bare background
    EXPECT_EQ(Vertical(), "");
    EXPECT_FALSE(controls().aboutList->isVisible());

    QTest::mouseMove(controls().resultsList, QPoint(50, 50));
    const auto* help = controls().helpList;
    EXPECT_EQ(help->item(help->indexAt(QPoint(1, 1)).row() - 2)->text(), "Table");
    QTest::mouseRelease(controls().resultsList, Qt::MiddleButton, {}, QPoint(50, 50));
}

TEST_F(GraphPanel, WithNoPlotChosenTheVerticalReadoutKeepsItsCaption) {
    Started();
    ChoosePlot(Noe);
    PointAt(0, 0);
    controls().plotList->setCurrentIndex(-1);
    PointAt(0, 1);
    EXPECT_EQ(Vertical(), "2.5");
    EXPECT_EQ(Horizontal(), "1.4 MHz");
}

TEST_F(GraphPanel, AClickEnlargesTheGraphAndASecondRestoresIt) {
    Started();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);

    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(100, 100));

    EXPECT_TRUE(window_->state().graphEnlarged);
    EXPECT_EQ(Canvas()->geometry(), kEnlarged);
    EXPECT_EQ(controls().plotList->pos(), QPoint(0, 0));
    EXPECT_EQ(runs.count(), 1);
    EXPECT_EQ(Canvas()->image().size(), kEnlarged.size());
    // The readout labels keep their place from the panel's corner.
    EXPECT_EQ(controls().verticalReadout->pos(), QPoint(8, 160));
    const QPoint onLetter = window_->wordMark().letter(0)->geometry().center();
    EXPECT_EQ(window_->centralWidget()->childAt(onLetter), Canvas());

    // Moves over the enlarged panel leave it as it is.
    QTest::mouseMove(Canvas(), QPoint(300, 300));
    EXPECT_TRUE(window_->state().graphEnlarged);
    EXPECT_EQ(Canvas()->geometry(), kEnlarged);

    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(300, 300));

    EXPECT_FALSE(window_->state().graphEnlarged);
    EXPECT_EQ(Canvas()->geometry(), kStandard);
    EXPECT_EQ(controls().plotList->pos(), QPoint(248, 168));
    EXPECT_EQ(runs.count(), 2);
    EXPECT_EQ(Canvas()->image().size(), kStandard.size());
}

TEST_F(GraphPanel, TheBackgroundRestoresTheEnlargedGraph) {
    Started();
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(Canvas(), QPoint(200, 200));
    ASSERT_FALSE(Vertical().isEmpty());

    QTest::mouseMove(window_->centralWidget(), QPoint(5, 450));

    EXPECT_FALSE(window_->state().graphEnlarged);
    EXPECT_EQ(Canvas()->geometry(), kStandard);
    EXPECT_EQ(runs.count(), 2);
    EXPECT_EQ(Vertical(), "");
    EXPECT_EQ(Horizontal(), "");
}

TEST_F(GraphPanel, OnlyALeftPressAndReleaseOverThePanelIsAClick) {
    Started();
    ExpectPopups(true);
    QTest::mouseClick(Canvas(), Qt::RightButton, {}, QPoint(100, 100));
    // The window system follows a right press with a request for the panel's menu.
    const QPoint at(100, 100);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, Canvas()->mapToGlobal(at));
    QApplication::sendEvent(Canvas(), &request);
    auto* menu = Canvas()->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    EXPECT_FALSE(window_->state().graphEnlarged);

    QTest::mousePress(Canvas(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, QPoint(100, 250));
    EXPECT_FALSE(window_->state().graphEnlarged);
    EXPECT_EQ(Canvas()->geometry(), kStandard);
}

struct PlaceRow {
    const char* name;
    int clientHeight;
    std::optional<int> height;
};

TEST(EnlargedGraphPlace, CoversAllBut2000TwipsOfATallEnoughWindow) {
    const PlaceRow rows[] = {
        {"the designed window", 7785, 5785},
        {"a twip taller than the uncovered strip", 2001, 1},
        {"as tall as the strip", 2000, std::nullopt},
        {"lower than the strip", 1500, std::nullopt},
    };
    for (const auto& row : rows) {
        const std::optional<TwipRect> place = EnlargedGraphPlace(7965, row.clientHeight);
        ASSERT_EQ(place.has_value(), row.height.has_value()) << row.name;
        if (!place) continue;
        EXPECT_EQ(place->left, 0) << row.name;
        EXPECT_EQ(place->top, 0) << row.name;
        EXPECT_EQ(place->width, 7965) << row.name;
        EXPECT_EQ(place->height, *row.height) << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
