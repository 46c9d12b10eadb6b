// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QImage>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>

#include "graph_panel/figure_saver.h"
#include "graph_panel/graph_canvas.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using FigureExport = WindowTest;

// The size of a saved figure: pixels for PNG and SVG, the page in points for PDF.
QSizeF SavedSize(const QString& path) {
    if (path.endsWith(".png")) return QImage(path).size();
    if (path.endsWith(".svg")) return QSvgRenderer(path).viewBoxF().size();
    const QRegularExpression mediaBox(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])");
    const auto match = mediaBox.match(QString::fromLatin1(testing::ReadBytes(path)));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
}

// "Save figure…" asks for the size, then for the file: a name typed without an extension
// gets that of the chosen format, and the figure has the size asked for, in pixels at the
// chosen resolution (a PDF page in millimetres). The panel stays as it was.
TEST_F(FigureExport, SaveFigureWritesTheChosenFormatAtTheChosenSize) {
    struct Row {
        const char* name;
        int filter;  // the format's place in the dialog's list
        const char* suffix;
    };
    const Row rows[] = {{"PNG", 0, ".png"}, {"SVG", 1, ".svg"}, {"PDF", 2, ".pdf"}};
    Started();
    auto* canvas = controls().graphCanvas;
    const testing::TempFolder folder;
    const FigureSize size{60.0, 40.0, 300};
    const QImage panel = canvas->image();
    for (const Row& row : rows) {
        canvas->findChild<QAction*>("saveFigure")->trigger();
        auto* sizes = canvas->findChild<FigureSizeDialog*>();
        ASSERT_NE(sizes, nullptr) << row.name;
        sizes->findChild<QDoubleSpinBox*>("figureWidth")->setValue(size.width);
        sizes->findChild<QDoubleSpinBox*>("figureHeight")->setValue(size.height);
        sizes->findChild<QSpinBox*>("figureDotsPerInch")->setValue(size.dotsPerInch);
        // Each dialog goes on as it is accepted; no event runs while one is open.
        sizes->accept();
        auto* files = canvas->findChild<QFileDialog*>();
        ASSERT_NE(files, nullptr) << row.name;
        auto* formats = files->findChild<QComboBox*>("fileTypeCombo");
        for (int step = 0; step < row.filter; ++step) QTest::keyClick(formats, Qt::Key_Down);
        const QString name = QString("figure-") + row.name;
        files->selectFile(folder.Path(name));
        static_cast<QDialog*>(files)->accept();  // as the Save button does
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QString path = folder.Path(name + row.suffix);
        ASSERT_TRUE(QFile::exists(path)) << row.name;
        const QSizeF expected =
            row.filter == 2 ? QSizeF(size.width, size.height) / 25.4 * 72.0 : QSizeF(size.Pixels());
        const QSizeF saved = SavedSize(path);
        EXPECT_NEAR(saved.width(), expected.width(), 0.5) << row.name;
        EXPECT_NEAR(saved.height(), expected.height(), 0.5) << row.name;
    }
    EXPECT_EQ(canvas->image(), panel);
}

// A measurement's cross, as the saved picture shows it, is at least 1.5 mm across at any
// resolution: the width of the pixels in the R1 points' blue, in millimetres.
TEST(FigureMarks, MeasurementMarksAreLegibleAtAColumnsWidth) {
    SampledCurves curves;
    curves.mode = PlotMode::Rates;
    curves.points = {{Quantity::R1, 500.0, 2.0, 0.01}};
    const DrawCommands noPanel;
    for (const int dotsPerInch : {150, 600}) {
        const FigureSize size{85.0, 75.0, dotsPerInch};
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WriteFigurePng({curves, noPanel}, size, png));
        const QImage image = QImage::fromData(png.data()).convertToFormat(QImage::Format_RGB32);
        int left = image.width();
        int right = -1;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qBlue(line[x]) - qRed(line[x]) < 40) continue;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        const double millimetres = (right - left + 1) * 25.4 / dotsPerInch;
        EXPECT_GE(millimetres, 1.5) << dotsPerInch;
        EXPECT_LE(millimetres, 3.0) << dotsPerInch;
    }
}

// The largest size and resolution the dialog offers: the PNG would need tens of
// gigabytes, and is refused before any file is touched, naming its pixels.
TEST(FigureLimits, APngTooLargeToDrawIsRefusedBeforeAnyFileIsTouched) {
    const SampledCurves curves;
    const DrawCommands noPanel;
    const FigureSize largest{1000.0, 1000.0, 2400};
    const testing::TempFolder folder;

    const std::optional<QString> failure =
        SaveFigure({curves, noPanel}, largest, folder.Path("figure.png"));

    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains(QString::number(largest.Pixels().width())));
    EXPECT_TRUE(
        QDir(folder.Path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

}  // namespace
}  // namespace veldorin::test
