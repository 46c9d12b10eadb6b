// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QImage>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "graph_panel/figure_saver.h"
#include "graph_panel/sequence_plot_view.h"
#include "tests/support/temp_folder.h"

namespace veldorin::test {
namespace {

// A logarithmic plot that leaves out its first point.
SequencePlot ThreeResidues() {
    return {"R1", true, {{"1", 0.0, 0.1, {}}, {"2", 1.5, 0.1, {}}, {"3", 2.0, 0.1, {}}}, {}};
}

// The pointer over a mark, placed by the layout in millimetres at the widget's resolution,
// points it out and a click chooses it, both by its index among all the plot's points.
TEST(SequencePlotView, ThePointerFindsThePointItIsOver) {
    SequencePlotView view;
    view.resize(300, 120);
    view.setPlot(ThreeResidues());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const double scale = view.logicalDpiX() / 25.4;
    const SequenceLayout layout = LayOutSequencePlot(view.plot(), view.width() / scale,
                                                     view.height() / scale, FigureTextWidth(view));
    const FigurePoint mark = layout.figure.points.back().at;
    const QPoint pixel(qRound(mark.x * scale), qRound(mark.y * scale));
    QSignalSpy pointed(&view, &SequencePlotView::pointed);
    QSignalSpy chosen(&view, &SequencePlotView::chosen);

    QTest::mouseMove(&view, pixel);
    QTest::mouseClick(&view, Qt::LeftButton, {}, pixel);

    ASSERT_EQ(pointed.count(), 1);
    EXPECT_EQ(pointed.front().front().toInt(), 2);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.front().front().toInt(), 2);
}

// "Save figure…" asks for the size without the graph's options and writes the plot at it.
TEST(SequencePlotView, SavesItsFigureAtTheChosenSize) {
    SequencePlotView view;
    view.setPlot(ThreeResidues());
    const testing::TempFolder folder;
    const FigureSize size{60.0, 40.0, 300};

    view.findChild<QAction*>("saveFigure")->trigger();
    auto* sizes = view.findChild<FigureSizeDialog*>();
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes->findChild<QCheckBox*>("figureNoeAsRatio"), nullptr);
    sizes->findChild<QDoubleSpinBox*>("figureWidth")->setValue(size.width);
    sizes->findChild<QDoubleSpinBox*>("figureHeight")->setValue(size.height);
    sizes->findChild<QSpinBox*>("figureDotsPerInch")->setValue(size.dotsPerInch);
    sizes->accept();
    auto* files = view.findChild<QFileDialog*>();
    ASSERT_NE(files, nullptr);
    files->selectFile(folder.Path("plot.png"));
    static_cast<QDialog*>(files)->accept();  // as the Save button does

    EXPECT_EQ(QImage(folder.Path("plot.png")).size(), size.Pixels());
}

}  // namespace
}  // namespace veldorin::test
