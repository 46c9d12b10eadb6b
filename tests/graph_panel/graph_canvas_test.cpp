// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>

#include "graph/graph_scale.h"
#include "graph_panel/graph_canvas.h"
#include "graph_panel/picture_painter.h"
#include "run_phases/run_phases.h"
#include "tests/support/paint_counter.h"
#include "tests/support/recording_sink.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using Canvas = WindowTest;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

QColor PixelAt(const GraphCanvas& canvas, QPoint logical) {
    const qreal ratio = canvas.image().devicePixelRatio();
    return canvas.image().pixelColor((QPointF(logical) * ratio).toPoint());
}

TEST_F(Canvas, ImageMatchesThePanelInDevicePixels) {
    Started();
    const auto* canvas = controls().graphCanvas;
    EXPECT_EQ(canvas->image().size(), canvas->size() * canvas->devicePixelRatioF());
    EXPECT_EQ(canvas->sizeInTwips(), QSizeF(kGraphWidthTwips, kGraphHeightTwips));
}

TEST_F(Canvas, ReplaysLinesInTheUserScaleAndKeepsThemUntilCleared) {
    Started();
    auto* canvas = controls().graphCanvas;
    const QColor background = canvas->palette().color(QPalette::Window);
    canvas->Replay({draw::SetScale{100.0f, 100.0f}, draw::Clear{}, draw::SetLineWidth{3},
                    draw::SetColour{kBlue}, draw::LineInColour{0.0f, 50.0f, 100.0f, 50.0f, kRed},
                    // The foreground is still blue after a line in a colour of its own.
                    draw::Line{25.0f, 0.0f, 25.0f, 40.0f}});
    const int middle = canvas->height() / 2;
    EXPECT_EQ(PixelAt(*canvas, {10, middle}), QColor(255, 0, 0));
    EXPECT_EQ(PixelAt(*canvas, {canvas->width() / 4, 10}), QColor(0, 0, 255));
    EXPECT_EQ(PixelAt(*canvas, {10, 10}), background);

    canvas->Replay({draw::Refresh{}});
    EXPECT_EQ(PixelAt(*canvas, {10, middle}), QColor(255, 0, 0));
    canvas->Replay({draw::Clear{}});
    EXPECT_EQ(PixelAt(*canvas, {10, middle}), background);
}

// The table phase's picture is not shown on its own: the panel is painted once per
// run, after the curves, also when a second run starts inside the first one's events.
TEST_F(Canvas, ARecalculationPaintsThePanelOnceWithItsFinalPicture) {
    Started();
    auto* canvas = controls().graphCanvas;
    auto* weight = controls().weightBoxes[0];
    const PaintCounter counter(canvas);
    for (const bool nested : {false, true}) {
        QCoreApplication::processEvents();
        const int before = counter.paints;
        if (nested) {
            // A key typed while the first run lets events through starts a second one.
            QKeyEvent inner(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5");
            QCoreApplication::postEvent(weight, inner.clone());
        }
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5");
        QCoreApplication::sendEvent(weight, &release);
        EXPECT_EQ(counter.paints, before) << nested;
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints, before + 1) << nested;
    }
}

TEST_F(Canvas, AxisCaptionGoesToTheLabelUnderThePanel) {
    Started();
    controls().graphCanvas->Replay({draw::SetAxisCaption{"t , ps"}});
    EXPECT_EQ(controls().axisCaption->text(), "t , ps");
}

TEST_F(Canvas, BackgroundIsTheSystemCaptionTextColour) {
    Started();
    const auto* canvas = controls().graphCanvas;
    EXPECT_EQ(canvas->palette().color(QPalette::Window),
              window_->palette().color(QPalette::BrightText));
    EXPECT_EQ(PixelAt(*canvas, {5, 5}), canvas->palette().color(QPalette::Window));
}

}  // namespace
}  // namespace veldorin::test

namespace veldorin::test {
namespace {

// The default model's rate plot: the last R2 segment, right of every field marker, is
// drawn in the curve's red where the calculation puts it.
TEST_F(Canvas, ADrawnCurveSegmentCarriesTheCurveColour) {
    Started();
    auto* canvas = controls().graphCanvas;
    RunPhases phases;
    RecordingSink sink;
    GraphSettings settings;
    settings.width = static_cast<float>(canvas->sizeInTwips().width());
    settings.height = static_cast<float>(canvas->sizeInTwips().height());
    ModelTexts model = DefaultModel();
    model.workingDirectory = programDirectory().toStdString() + "/";
    ASSERT_EQ(phases.RunTable(model, settings, sink).outcome.status, RunOutcome::Status::Completed);
    const CurvePhase curves = phases.RunCurves(model, settings);
    const Rgb r2{250, 0, 0};
    const draw::LineInColour* last = nullptr;
    for (const DrawCommand& command : curves.commands) {
        const auto* line = std::get_if<draw::LineInColour>(&command);
        if (line != nullptr && line->colour == r2) last = line;
    }
    ASSERT_NE(last, nullptr);

    const QPoint middle(
        static_cast<int>((last->x1 + last->x2) / 2 / settings.width * canvas->width()),
        static_cast<int>((last->y1 + last->y2) / 2 / settings.height * canvas->height()));
    const QColor pixel = PixelAt(*canvas, middle);
    EXPECT_GT(pixel.red(), 180) << pixel.name().toStdString();
    EXPECT_LT(pixel.green(), 90) << pixel.name().toStdString();
    EXPECT_LT(pixel.blue(), 90) << pixel.name().toStdString();
}

}  // namespace
}  // namespace veldorin::test

namespace veldorin::test {
namespace {

struct PlotCase {
    PlotMode mode;
    bool arrayOn;
};

// The commands of one run of the default model, table and curves, in the given plot mode.
DrawCommands RunCommands(const PlotCase& run, QSizeF twips, const QString& directory) {
    RunPhases phases;
    RecordingSink sink;
    GraphSettings settings;
    settings.plotMode = run.mode;
    settings.arrayOn = run.arrayOn;
    settings.width = static_cast<float>(twips.width());
    settings.height = static_cast<float>(twips.height());
    ModelTexts model = DefaultModel();
    model.slots[1] = {"13C", "1.5", "1"};
    model.slots[2] = {"Like", "1.8", "1"};
    model.workingDirectory = directory.toStdString() + "/";
    DrawCommands commands = phases.RunTable(model, settings, sink).commands;
    const DrawCommands curves = phases.RunCurves(model, settings).commands;
    commands.insert(commands.end(), curves.begin(), curves.end());
    return commands;
}

QImage Played(const DrawCommands& commands, QSize pixels, QSizeF twips,
              PicturePainter::Surface target) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PictureState state;
    QPainter painter(&image);
    PicturePainter(painter, QSizeF(pixels), twips, Qt::white, state, target).Play(commands);
    return image;
}

// On an image, leaving out the crisp lines that later ones cover must not change any
// pixel against the drawing played in full, in every plot mode, with the markers drawn
// once per neighbour and field and array mode's curves clamped to the same edges.
TEST_F(Canvas, SkippingCoveredCrispLinesLeavesEveryPixelAsItWas) {
    Started();
    const QSizeF twips(kGraphWidthTwips, kGraphHeightTwips);
    const QSize pixels(257, 201);
    for (const PlotCase& run : {PlotCase{PlotMode::F, false}, PlotCase{PlotMode::J, true},
                                PlotCase{PlotMode::Rates, true}, PlotCase{PlotMode::Ct, false},
                                PlotCase{PlotMode::Noe, true}}) {
        const DrawCommands commands = RunCommands(run, twips, programDirectory());
        EXPECT_EQ(Played(commands, pixels, twips, PicturePainter::Surface::Image),
                  Played(commands, pixels, twips, PicturePainter::Surface::DrawingFile))
            << "plot mode " << static_cast<int>(run.mode);
    }
}

}  // namespace
}  // namespace veldorin::test
