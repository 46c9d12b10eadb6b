// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "graph_panel/graph_canvas.h"
#include "graph_panel/picture_export.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using PictureExport = WindowTest;

bool Drawn(const QImage& image, int x, int y, const QColor& background) {
    const QColor colour = image.pixelColor(x, y);
    return std::abs(colour.red() - background.red()) +
               std::abs(colour.green() - background.green()) +
               std::abs(colour.blue() - background.blue()) >
           96;
}

// Whether every pixel drawn in `drawn` has a pixel drawn in `other` at most one pixel away:
// the same lines, smoothed differently.
bool DrawnNear(const QImage& drawn, const QImage& other, const QColor& background) {
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (!Drawn(drawn, x, y, background)) continue;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint at(x + dx, y + dy);
                    near = near ||
                           (other.rect().contains(at) && Drawn(other, at.x(), at.y(), background));
                }
            }
            if (!near) return false;
        }
    }
    return true;
}

// The drawing shows what the panel shows, in the panel's proportions; the PNG is the
// panel's image itself.
TEST_F(PictureExport, PicturesShowThePanelAtItsSize) {
    Started();
    const GraphCanvas* canvas = controls().graphCanvas;
    const testing::TempFolder folder;
    for (const char* name : {"graph.png", "graph.svg", "graph.SVG"}) {
        const QString path = folder.Path(name);
        ASSERT_EQ(SavePicture(canvas->picture(), canvas->image(), path), std::nullopt) << name;
        QImage saved;
        if (path.endsWith("png")) {
            ASSERT_TRUE(saved.load(path)) << name;
        } else {
            QSvgRenderer drawing(path);
            ASSERT_TRUE(drawing.isValid()) << name;
            EXPECT_EQ(drawing.viewBoxF(), QRectF(canvas->rect())) << name;
            const QSizeF size = drawing.defaultSize();
            EXPECT_NEAR(size.width() / size.height(),
                        static_cast<double>(canvas->width()) / canvas->height(), 0.01)
                << name;
            saved = QImage(canvas->image().size(), QImage::Format_ARGB32_Premultiplied);
            saved.fill(canvas->picture().background);
            QPainter painter(&saved);
            drawing.render(&painter, QRectF(canvas->rect()));
        }
        ASSERT_EQ(saved.size(), canvas->image().size()) << name;
        const QColor background = canvas->picture().background;
        EXPECT_TRUE(DrawnNear(saved, canvas->image(), background)) << name;
        EXPECT_TRUE(DrawnNear(canvas->image(), saved, background)) << name;
    }
    EXPECT_NE(SavePicture(canvas->picture(), canvas->image(), folder.Path("none/graph.svg")),
              std::nullopt);
}

TEST_F(PictureExport, CurvesHaveAHeadingLineAndALinePerSample) {
    Started();
    auto* canvas = controls().graphCanvas;
    const SampledCurves& curves = canvas->curves();
    ASSERT_FALSE(curves.curves.empty());
    const testing::TempFolder folder;
    ASSERT_EQ(SaveCurves(curves, folder.Path("curves.csv")), std::nullopt);
    const QList<QByteArray> lines = testing::ReadBytes(folder.Path("curves.csv")).split('\n');
    // The text ends with a line break: the last piece is empty.
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(curves.horizontal.size()) + 2);
    EXPECT_TRUE(lines.front().startsWith(QByteArray::fromStdString(curves.horizontalHeading)));
    for (qsizetype line = 0; line + 1 < lines.size(); ++line) {
        EXPECT_EQ(lines[line].count(',') + 1, static_cast<qsizetype>(curves.curves.size()) + 1)
            << line;
    }

    // A new picture forgets the curves of the last one.
    canvas->Replay({draw::Clear{}});
    EXPECT_TRUE(canvas->curves().curves.empty());
}

}  // namespace
}  // namespace veldorin::test
